// innerHTML/outerHTML of the live tree. Tag names are upper case as the
// classic browser writes them, attribute values always quoted. The live
// state of form controls is written as attributes (value, CHECKED,
// SELECTED; a text area's value as its content), so a copied fragment shows
// what the user filled in, as the classic browser's serialisation did.
#pragma once

#include <string>

#include "platform/browser/dom_node.h"

namespace browser {

std::u16string OuterHtml(const Node& node);
std::u16string InnerHtml(const Node& node);

}  // namespace browser
