// The document tree the browser host keeps for a page: plain nodes owned by
// their DocumentTree, linked by parent/child/sibling pointers so that every
// walk can be a loop instead of a recursion.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct IUnknown;

namespace browser {

enum class NodeKind : std::uint8_t { Document, Element, Text, Comment };

// HTML elements carry gumbo's tag number; anything else (unknown, SVG,
// MathML) carries its name in Node::data and the tag kUnknownTag.
using TagId = std::uint16_t;

struct Attribute {
    std::u16string name;  // lower case for HTML elements
    std::u16string value;
};

// State of a form control that changes through the interfaces only; made
// from the attributes when the tree is built.
struct ControlState {
    std::u16string value;
    bool checked = false;   // check boxes and radio buttons
    bool selected = false;  // options
};

struct Node {
    NodeKind kind = NodeKind::Element;
    bool foreign = false;  // not in the HTML namespace
    TagId tag = 0;
    Node* parent = nullptr;
    Node* firstChild = nullptr;
    Node* lastChild = nullptr;
    Node* prev = nullptr;
    Node* next = nullptr;
    std::u16string data;  // text or comment content; the name of an unknown element
    std::vector<Attribute> attributes;
    std::unique_ptr<ControlState> control;
    // Document-order numbers: this node and the last node of its subtree.
    std::uint32_t order = 0;
    std::uint32_t lastOrder = 0;
    // The one COM object that stands for this node while it is referenced.
    IUnknown* object = nullptr;

    bool IsElement() const { return kind == NodeKind::Element; }
    bool Is(TagId t) const { return kind == NodeKind::Element && !foreign && tag == t; }
    const std::u16string* FindAttribute(std::u16string_view name) const;
    bool HasAttribute(std::u16string_view name) const { return FindAttribute(name) != nullptr; }
    std::u16string AttributeOr(std::u16string_view name, std::u16string_view fallback = {}) const;
};

// Preorder successor inside the subtree of root (nullptr at its end).
Node* NextInSubtree(const Node* node, const Node* root);
// Preorder successor that skips node's own subtree.
Node* NextSkippingChildren(const Node* node, const Node* root);

}  // namespace browser
