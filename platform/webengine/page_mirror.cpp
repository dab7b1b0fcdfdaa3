#include "platform/webengine/page_mirror.h"

#include "platform/browser/rendered_text.h"
#include "platform/browser/selection.h"
#include "platform/browser/tag_names.h"

namespace webengine {

using browser::Node;
using browser::NodeKind;

namespace {

void Unlink(Node& node) {
    node.parent = node.firstChild = node.lastChild = node.prev = node.next = nullptr;
}

// Line breaks of the page's selection text as innerText writes them.
std::u16string WithCrLf(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace

PageMirror::PageMirror(browser::HtmlDocument& document) : m_document(&document) {}

NodeId PageMirror::IdOf(const Node& node) const {
    const auto found = m_ids.find(&node);
    return found == m_ids.end() ? 0 : found->second;
}

Node* PageMirror::NodeOf(NodeId id) const {
    const auto found = m_nodes.find(id);
    return found == m_nodes.end() ? nullptr : found->second;
}

Node* PageMirror::NodeFor(const MirrorRecord& record) {
    if (Node* known = NodeOf(record.id); known && known->kind == record.kind) return known;
    return m_document->Tree().NewNode(record.kind);
}

void PageMirror::Fill(Node& node, const MirrorRecord& record) {
    if (record.kind != NodeKind::Element) {
        node.data = record.name;
        return;
    }
    node.foreign = record.foreign;
    node.tag = browser::TagFromName(record.name);
    if (record.foreign || node.tag == browser::kUnknownTag)
        node.data = record.name;
    else
        node.data.clear();
    node.attributes = record.attributes;
    if (!record.hasControlState) {
        node.control.reset();
        return;
    }
    if (!node.control) node.control = std::make_unique<browser::ControlState>();
    // A text area's line breaks read as CR LF, as typed on Windows.
    node.control->value = node.Is(GUMBO_TAG_TEXTAREA) ? WithCrLf(record.value) : record.value;
    node.control->checked = record.on && node.Is(GUMBO_TAG_INPUT);
    node.control->selected = record.on && node.Is(GUMBO_TAG_OPTION);
}

bool PageMirror::SetControlState(NodeId id, const std::u16string& value, bool on) {
    Node* node = NodeOf(id);
    if (!node || !node->control) return false;
    node->control->value = node->Is(GUMBO_TAG_TEXTAREA) ? WithCrLf(value) : value;
    node->control->checked = on && node->Is(GUMBO_TAG_INPUT);
    node->control->selected = on && node->Is(GUMBO_TAG_OPTION);
    return true;
}

void PageMirror::Rebuild(const std::vector<MirrorRecord>& records) {
    browser::DocumentTree& tree = m_document->Tree();
    Node* root = tree.Root();
    std::vector<Node*> old;
    for (Node* n = root->firstChild ? root->firstChild : nullptr; n;
         n = browser::NextInSubtree(n, root))
        old.push_back(n);
    Unlink(*root);

    std::unordered_map<NodeId, Node*> nodes;
    std::unordered_map<const Node*, NodeId> ids;
    nodes.reserve(records.size());
    ids.reserve(records.size());
    for (const MirrorRecord& record : records) {
        Node* parent = record.parent == 0 ? root : nullptr;
        if (!parent) {
            const auto found = nodes.find(record.parent);
            if (found == nodes.end() || !found->second->IsElement()) continue;
            parent = found->second;
        }
        if (record.id == 0 || nodes.count(record.id)) continue;
        Node* node = NodeFor(record);
        Unlink(*node);
        Fill(*node, record);
        browser::DocumentTree::AppendChild(parent, node);
        nodes.emplace(record.id, node);
        ids.emplace(node, record.id);
    }
    // What the page dropped keeps no links into the page.
    for (Node* n : old)
        if (!ids.count(n)) Unlink(*n);
    m_nodes = std::move(nodes);
    m_ids = std::move(ids);
    tree.NumberNodes();
    m_document->ClearSelection();
}

void PageMirror::ApplySelection(const MirrorSelection* selection) {
    m_document->ClearSelection();
    if (!selection || selection->text.empty()) return;
    const Node* scope = NodeOf(selection->scope);
    if (!scope) return;
    const std::u16string text = browser::RenderedText(*scope);
    std::size_t at = text.find(WithCrLf(selection->text));
    std::size_t length = WithCrLf(selection->text).size();
    if (at == std::u16string::npos) {
        at = text.find(selection->text);
        length = selection->text.size();
    }
    if (at == std::u16string::npos) return;
    m_document->Select(browser::SelectElementText(*scope, at, at + length));
}

}  // namespace webengine
