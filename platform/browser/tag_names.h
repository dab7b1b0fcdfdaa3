// Tag numbers and the names the interfaces report for elements.
#pragma once

#include <gumbo.h>

#include <string>
#include <string_view>

#include "platform/browser/dom_node.h"

namespace browser {

inline constexpr TagId kUnknownTag = GUMBO_TAG_UNKNOWN;

// The tag number of an HTML tag name (any case); kUnknownTag when unknown.
TagId TagFromName(std::u16string_view name);
// The element's name as parsed: lower case for HTML elements.
std::u16string LocalName(const Node& element);
// tagName/nodeName: upper case for HTML elements, as parsed for others.
std::u16string TagNameOf(const Node& element);
// Elements that never hold content (<br>, <input>...).
bool IsVoidElement(const Node& element);

}  // namespace browser
