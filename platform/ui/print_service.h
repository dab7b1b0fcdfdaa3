// Printing: a document's rich text laid out on pages and written as a PDF
// file. Declared without Qt so any part of the system can print; defined in
// the Qt library (kestro_ui_qt). The caller journals the file's path.
#pragma once

#include <string>

#include "platform/com/hresult.h"

// Lays `html` (rich text: HTML with simple CSS) out on A4 pages titled
// `title` and writes them to `pdfPath`, replacing the file. Works with no
// display. S_OK; E_INVALIDARG for an empty path; the file error as
// HRESULT_FROM_WIN32 when it cannot be written; E_FAIL when nothing could
// be drawn.
HRESULT PrintHtmlToPdf(const std::u16string& html, const std::u16string& title,
                       const std::u16string& pdfPath);
