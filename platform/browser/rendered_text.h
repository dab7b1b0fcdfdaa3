// innerText: the text of an element as the classic browser renders it.
//  - white space collapses as rendered; <pre> and text areas keep theirs;
//  - <br> gives CR LF; block boundaries give one line break (never at the
//    start or the end of the text); a paragraph is followed by an empty line;
//  - table cells of a row are separated by a tab, rows by a line break;
//  - script, style, head and hidden content (the hidden attribute, an inline
//    display:none, hidden inputs) is left out; a text area shows its value;
//  - a no-break space becomes a plain space that never collapses.
#pragma once

#include <string>

#include "platform/browser/dom_node.h"

namespace browser {

std::u16string RenderedText(const Node& element);

// Whether the element takes part in rendering at all.
bool IsRenderedHidden(const Node& element);

}  // namespace browser
