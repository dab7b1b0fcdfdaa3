#include "platform/browser/dom_node.h"

#include "platform/win/text.h"

namespace browser {

const std::u16string* Node::FindAttribute(std::u16string_view name) const {
    for (const Attribute& a : attributes)
        if (WideEqualsNoCase(a.name, name)) return &a.value;
    return nullptr;
}

std::u16string Node::AttributeOr(std::u16string_view name, std::u16string_view fallback) const {
    const std::u16string* value = FindAttribute(name);
    return value ? *value : std::u16string(fallback);
}

Node* NextInSubtree(const Node* node, const Node* root) {
    if (node->firstChild) return node->firstChild;
    return NextSkippingChildren(node, root);
}

Node* NextSkippingChildren(const Node* node, const Node* root) {
    while (node && node != root) {
        if (node->next) return node->next;
        node = node->parent;
    }
    return nullptr;
}

}  // namespace browser
