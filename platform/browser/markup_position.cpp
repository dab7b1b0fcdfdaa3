#include "platform/browser/markup_position.h"

#include <tuple>

#include "platform/browser/tag_names.h"

namespace browser {

namespace {

using Side = MarkupPosition::Side;

bool HasScope(const Node& node) {
    return node.kind == NodeKind::Document ||
           (node.kind == NodeKind::Element && !IsVoidElement(node));
}

MarkupPosition At(const Node& node, Side side, std::size_t offset = 0) {
    return MarkupPosition{&node, side, offset};
}

MarkupPosition FirstPositionIn(const Node& container) {
    return container.firstChild ? At(*container.firstChild, Side::Begin) : At(container, Side::End);
}

// The position just left of the last token of node.
MarkupPosition BeforeLastToken(const Node& node) {
    if (HasScope(node)) return At(node, Side::End);
    return At(node, Side::Begin);
}

const Node* AsElement(const Node* node) {
    return node && node->kind == NodeKind::Element ? node : nullptr;
}

std::tuple<std::uint32_t, int, long long> OrderKey(const MarkupPosition& p) {
    if (p.side == Side::End) return {p.node->lastOrder, 1, -static_cast<long long>(p.node->order)};
    return {p.node->order, 0, static_cast<long long>(p.offset)};
}

// Passes characters at the end of the text node left of position.
MarkupMove StepLeftIntoText(const Node& text, MarkupPosition& position, bool move,
                            long maxCharacters) {
    MarkupMove result;
    result.step = MarkupStep::Text;
    result.characters = text.data.size();
    if (maxCharacters >= 0 && static_cast<std::size_t>(maxCharacters) < result.characters)
        result.characters = static_cast<std::size_t>(maxCharacters);
    if (move) position = At(text, Side::Begin, text.data.size() - result.characters);
    return result;
}

}  // namespace

MarkupPosition StartOfDocument(const Node& document) {
    return FirstPositionIn(document);
}

MarkupPosition EndOfDocument(const Node& document) {
    return At(document, Side::End);
}

MarkupPosition BeforeBegin(const Node& node) {
    return At(node, Side::Begin);
}

MarkupPosition AfterBegin(const Node& element) {
    return HasScope(element) ? FirstPositionIn(element) : AfterEnd(element);
}

MarkupPosition BeforeEnd(const Node& element) {
    return HasScope(element) ? At(element, Side::End) : AfterEnd(element);
}

MarkupPosition AfterEnd(const Node& node) {
    if (node.next) return At(*node.next, Side::Begin);
    if (node.parent) return At(*node.parent, Side::End);
    return At(node, Side::End);
}

MarkupMove StepLeft(MarkupPosition& position, bool move, long maxCharacters) {
    MarkupMove result;
    if (!position.node) return result;
    const Node& node = *position.node;
    MarkupPosition next = position;
    if (node.kind == NodeKind::Text && position.side == Side::Begin && position.offset > 0) {
        std::size_t count = position.offset;
        if (maxCharacters >= 0 && static_cast<std::size_t>(maxCharacters) < count)
            count = static_cast<std::size_t>(maxCharacters);
        result.step = MarkupStep::Text;
        result.characters = count;
        next.offset -= count;
    } else if (position.side == Side::End && node.kind != NodeKind::Text) {
        if (node.lastChild) {
            const Node& passed = *node.lastChild;
            if (passed.kind == NodeKind::Text)
                return StepLeftIntoText(passed, position, move, maxCharacters);
            next = BeforeLastToken(passed);
            result.step = HasScope(passed) ? MarkupStep::EnterScope : MarkupStep::NoScope;
            result.element = AsElement(&passed);
        } else if (node.kind == NodeKind::Document) {
            return result;
        } else {
            next = At(node, Side::Begin);
            result.step = MarkupStep::ExitScope;
            result.element = &node;
        }
    } else if (node.prev) {
        const Node& passed = *node.prev;
        if (passed.kind == NodeKind::Text)
            return StepLeftIntoText(passed, position, move, maxCharacters);
        next = BeforeLastToken(passed);
        result.step = HasScope(passed) ? MarkupStep::EnterScope : MarkupStep::NoScope;
        result.element = AsElement(&passed);
    } else if (node.parent && node.parent->kind == NodeKind::Element) {
        next = At(*node.parent, Side::Begin);
        result.step = MarkupStep::ExitScope;
        result.element = node.parent;
    } else {
        return result;  // the start of the document
    }
    if (move) position = next;
    return result;
}

MarkupMove StepRight(MarkupPosition& position, bool move, long maxCharacters) {
    MarkupMove result;
    if (!position.node) return result;
    const Node& node = *position.node;
    MarkupPosition next = position;
    if (position.side == Side::End) {
        if (node.kind == NodeKind::Document) return result;
        result.step = MarkupStep::ExitScope;
        result.element = &node;
        next = AfterEnd(node);
    } else if (node.kind == NodeKind::Text) {
        std::size_t count = node.data.size() - position.offset;
        if (maxCharacters >= 0 && static_cast<std::size_t>(maxCharacters) < count)
            count = static_cast<std::size_t>(maxCharacters);
        result.step = MarkupStep::Text;
        result.characters = count;
        next.offset += count;
        if (next.offset >= node.data.size()) next = AfterEnd(node);
    } else if (HasScope(node)) {
        result.step = MarkupStep::EnterScope;
        result.element = &node;
        next = FirstPositionIn(node);
    } else {
        result.step = MarkupStep::NoScope;
        result.element = AsElement(&node);
        next = AfterEnd(node);
    }
    if (move) position = next;
    return result;
}

int ComparePositions(const MarkupPosition& a, const MarkupPosition& b) {
    const auto ka = OrderKey(a);
    const auto kb = OrderKey(b);
    return ka < kb ? -1 : kb < ka ? 1 : 0;
}

const Node* ScopeOf(const MarkupPosition& position) {
    if (!position.node) return nullptr;
    if (position.side == Side::End) return AsElement(position.node);
    return AsElement(position.node->parent);
}

}  // namespace browser
