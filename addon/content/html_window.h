// New browser windows the add-on opens from a page's document, and markup
// written into them.
#pragma once

#include <string>

#include "platform/browser/mshtml_document.h"

class CEditHtml;

// The features of every window the add-on opens.
inline constexpr char16_t kNewWindowFeatures[] =
    u"scrollbars=yes, resizable=yes, toolbar=no, menubar=yes, status=no, location=no";

// IHTMLDocument2::open of url on the source document with the name
// "_blank", the features and replace; the new window, or null when the
// call failed or opened nothing.
CComPtr<IDispatch> OpenNewWindow(IHTMLDocument2* source, const std::u16string& url);

// The document of a window open gave.
CComPtr<IHTMLDocument2> DocumentOfWindow(IDispatch* window);

// Writes the markup into the document as one string and closes it.
HRESULT WriteAndClose(IHTMLDocument2* document, const std::u16string& html);

// Shows markup alone in a new blank window opened from the source
// document, with its character set and, with "Append URL", a link to the
// source page; with print the browser's print dialog follows for it. The
// pop-up blocker is off only while the window is opened and written.
// Failures are silent.
void ShowHtmlInNewWindow(CEditHtml& addOn, IHTMLDocument2* source, std::u16string html, bool print);
