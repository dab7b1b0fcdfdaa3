// A place between the tokens of a document (start tags, end tags, empty
// elements, characters), as markup pointers see it. A position is named by
// the token just to its right; the end of the document is the document
// node's end.
#pragma once

#include <cstddef>

#include "platform/browser/dom_node.h"

namespace browser {

enum class MarkupStep { None, Text, EnterScope, ExitScope, NoScope };

struct MarkupPosition {
    enum class Side : unsigned char { Begin, End };

    const Node* node = nullptr;  // nullptr: not positioned
    Side side = Side::Begin;
    std::size_t offset = 0;  // characters into a text node

    bool IsPositioned() const { return node != nullptr; }
    friend bool operator==(const MarkupPosition&, const MarkupPosition&) = default;
};

struct MarkupMove {
    MarkupStep step = MarkupStep::None;
    const Node* element = nullptr;  // the element whose tag was passed
    std::size_t characters = 0;     // characters passed
};

MarkupPosition StartOfDocument(const Node& document);
MarkupPosition EndOfDocument(const Node& document);
MarkupPosition BeforeBegin(const Node& node);
MarkupPosition AfterBegin(const Node& element);
MarkupPosition BeforeEnd(const Node& element);
MarkupPosition AfterEnd(const Node& node);

// Steps over the token to the left (right) of position, moving it when move
// is set. maxCharacters limits how much of a text run is passed (-1: all).
MarkupMove StepLeft(MarkupPosition& position, bool move, long maxCharacters = -1);
MarkupMove StepRight(MarkupPosition& position, bool move, long maxCharacters = -1);

// Document order of two positions of the same tree: <0, 0 or >0.
int ComparePositions(const MarkupPosition& a, const MarkupPosition& b);
// The element whose content holds the position (nullptr at the top).
const Node* ScopeOf(const MarkupPosition& position);

}  // namespace browser
