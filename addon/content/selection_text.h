// The text of a page's selection.
#pragma once

#include "platform/browser/mshtml_document.h"

// S_OK with a null text when the page has no text selection (nothing
// selected, or a selected image or control); otherwise the result of
// reading the selected text.
HRESULT GetSelectionText(IHTMLDocument2* document, BSTR* text);
