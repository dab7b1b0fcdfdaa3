#include "platform/browser/document_tree.h"

#include "platform/browser/tag_names.h"

namespace browser {

DocumentTree::DocumentTree() : m_root(NewNode(NodeKind::Document)) {}

Node* DocumentTree::NewNode(NodeKind kind) {
    Node& node = m_nodes.emplace_back();
    node.kind = kind;
    return &node;
}

void DocumentTree::AppendChild(Node* parent, Node* child) {
    child->parent = parent;
    child->prev = parent->lastChild;
    if (parent->lastChild)
        parent->lastChild->next = child;
    else
        parent->firstChild = child;
    parent->lastChild = child;
}

void DocumentTree::NumberNodes() {
    Touch();
    std::uint32_t order = 0;
    for (Node* node = m_root; node; node = NextInSubtree(node, m_root)) {
        node->order = order++;
        // A node's subtree ends where the walk leaves it; mark leaves now and
        // finish ancestors as the walk climbs past them.
        if (!node->firstChild) {
            node->lastOrder = node->order;
            for (Node* up = node; up->parent && !up->next && up != m_root; up = up->parent)
                up->parent->lastOrder = node->order;
        }
    }
}

Node* DocumentTree::DocumentElement() const {
    for (Node* child = m_root->firstChild; child; child = child->next)
        if (child->IsElement()) return child;
    return nullptr;
}

Node* DocumentTree::Body() const {
    Node* html = DocumentElement();
    if (!html) return nullptr;
    for (Node* child = html->firstChild; child; child = child->next)
        if (child->Is(GUMBO_TAG_BODY) || child->Is(GUMBO_TAG_FRAMESET)) return child;
    return nullptr;
}

Node* DocumentTree::Head() const {
    Node* html = DocumentElement();
    if (!html) return nullptr;
    for (Node* child = html->firstChild; child; child = child->next)
        if (child->Is(GUMBO_TAG_HEAD)) return child;
    return nullptr;
}

}  // namespace browser
