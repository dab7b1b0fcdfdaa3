// The main text block of a page: the table cell or body that holds the
// page's longest run of text, as the text of linked pages is saved.
#pragma once

#include <string>

#include "platform/browser/mshtml_document.h"

// The parent of the longest non-empty text node found in a depth-first
// walk from root in document order (the root's following siblings
// included); among equally long ones the first. False when there is none.
bool FindLongestTextNode(IHTMLDOMNode* root, CComPtr<IHTMLDOMNode>& parent);

// The text of the nearest "TD" or "BODY" at or above the longest text's
// parent, followed, with appendUrl, by the link-page URL footer. False
// when no block was found or a read failed (the page is then left out).
bool GetArticleText(IHTMLDocument2* document, bool appendUrl, std::u16string& text);
