// Climbing the element tree by tag name.
#pragma once

#include "platform/browser/mshtml_element.h"

// The nearest ancestor of element (its parent first, the element itself
// never) whose tag name equals tagName exactly; null at the top or when a
// read fails.
CComPtr<IHTMLElement> FindAncestorByTag(IHTMLElement* element, const char16_t* tagName);
