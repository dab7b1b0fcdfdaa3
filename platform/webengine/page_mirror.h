// The model of one live document (a page or a frame): the tree an add-on
// reads, rebuilt in place from the bridge's snapshots. A live node keeps
// its Node, and so its COM object, across rebuilds for as long as the page
// keeps it; nodes the page dropped leave the tree (objects still held for
// them stay valid, detached). Both sides know a node by the bridge's id.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/browser/html_document.h"

namespace webengine {

using NodeId = std::int64_t;

// One node of a snapshot; a snapshot lists them in document order, so a
// parent comes before its children. Parent 0 is the document.
struct MirrorRecord {
    NodeId id = 0;
    NodeId parent = 0;
    browser::NodeKind kind = browser::NodeKind::Element;
    bool foreign = false;  // not in the HTML namespace
    std::u16string name;   // an element's local name, or a text's or comment's data
    std::vector<browser::Attribute> attributes;
    bool hasControlState = false;  // inputs, text areas, options
    std::u16string value;
    bool on = false;  // checked (inputs) or selected (options)
};

// A document's selected text as the page reports it: the element holding
// it and its text (line feeds as the page gives them).
struct MirrorSelection {
    NodeId scope = 0;
    std::u16string text;
};

class PageMirror {
public:
    explicit PageMirror(browser::HtmlDocument& document);

    browser::HtmlDocument& Document() const { return *m_document; }
    // Makes the document's tree the snapshot's. Records whose parent is
    // unknown (or comes later) are skipped with their subtrees.
    void Rebuild(const std::vector<MirrorRecord>& records);
    // The document's selection from the page's; none when the scope is
    // unknown or its text does not hold the selected text.
    void ApplySelection(const MirrorSelection* selection);

    // A control's value and checked or selected state as the page now has
    // it; false when the node is not a control of the mirror.
    bool SetControlState(NodeId id, const std::u16string& value, bool on);

    // 0 when the node is not in the mirror.
    NodeId IdOf(const browser::Node& node) const;
    browser::Node* NodeOf(NodeId id) const;
    std::size_t Size() const { return m_nodes.size(); }

private:
    browser::Node* NodeFor(const MirrorRecord& record);
    static void Fill(browser::Node& node, const MirrorRecord& record);

    CComPtr<browser::HtmlDocument> m_document;
    std::unordered_map<NodeId, browser::Node*> m_nodes;
    std::unordered_map<const browser::Node*, NodeId> m_ids;
};

}  // namespace webengine
