// The item or table under the mouse: the nearest element with a tag name
// that encloses an element, found by walking the document's markup.
#pragma once

#include "platform/browser/mshtml_element.h"

// On success *found is the nearest enclosing element whose tag name equals
// tagName exactly, the element itself when it has that tag name, or the
// element itself when nothing encloses it (also when the document or its
// markup services cannot be had). Fails, with *found the element, only
// when the element's document cannot be read.
HRESULT FindEnclosingElement(IHTMLElement* element, const char16_t* tagName, IHTMLElement** found);
