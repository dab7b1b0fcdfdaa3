// Small reads from the browser's document model that the page content
// commands share.
#pragma once

#include <string>

#include "platform/browser/mshtml_document.h"

// A string the browser handed over; null counts as empty.
std::u16string TextOf(const CComBSTR& text);

// The element's document as IHTMLDocument2; null when it has none.
CComPtr<IHTMLDocument2> DocumentOf(IHTMLElement* element);

// Whether the element's tag name equals tagName exactly (case included);
// false when the name cannot be read.
bool HasTagName(IHTMLElement* element, const char16_t* tagName);

// The full address of the page (IHTMLLocation::get_href of the document's
// location); false when it cannot be read or is empty.
bool ReadPageUrl(IHTMLDocument2* document, std::u16string& url);
