// Owns the nodes of one parsed page. Nodes live in one arena, so a tree of
// any depth is freed without walking it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "platform/browser/dom_node.h"

namespace browser {

class DocumentTree {
public:
    DocumentTree();
    DocumentTree(const DocumentTree&) = delete;
    DocumentTree& operator=(const DocumentTree&) = delete;

    Node* Root() { return m_root; }
    const Node* Root() const { return m_root; }
    Node* NewNode(NodeKind kind);
    static void AppendChild(Node* parent, Node* child);

    // Gives every node its document-order numbers; called once the tree is built
    // (and again whenever its shape changed).
    void NumberNodes();
    // Counts the changes that can change what lists derived from the tree
    // hold (its shape, an attribute); a list kept with an older count is stale.
    std::uint64_t Generation() const { return m_generation; }
    void Touch() { ++m_generation; }
    std::size_t NodeCount() const { return m_nodes.size(); }

    Node* DocumentElement() const;  // <html>
    Node* Body() const;             // <body> or <frameset>
    Node* Head() const;

private:
    std::deque<Node> m_nodes;
    Node* m_root = nullptr;
    std::uint64_t m_generation = 0;
};

}  // namespace browser
