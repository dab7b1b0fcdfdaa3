// What the bridge sends (bridge_script.h), read into plain records, and
// the writes the host sends back. Reading never trusts the text: anything
// malformed makes the message unreadable as a whole.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/webengine/page_mirror.h"

namespace webengine {

// A live document with its frames, as a snapshot holds it.
struct DocumentSnapshot {
    std::string instance;  // the bridge that took it: one per loaded page
    std::u16string url;
    std::u16string charset;
    std::vector<MirrorRecord> records;
    std::optional<MirrorSelection> selection;
    struct Frame {
        NodeId element = 0;
        std::unique_ptr<DocumentSnapshot> document;  // null: another origin's page
    };
    std::vector<Frame> frames;
};

// A control's value and checked or selected state, changed by a script.
struct ControlChange {
    NodeId node = 0;
    std::u16string value;
    bool on = false;
};

// A trusted pointer event in the page.
struct PointerMessage {
    std::string instance;
    std::string kind;  // "click", "dblclick", "contextmenu"
    NodeId target = 0;
    bool alt = false;
    int x = 0, y = 0;      // in the top document's viewport
    NodeId movedOver = 0;  // the last mouse move before it, if any
    bool movedWithAlt = false;
    std::unique_ptr<DocumentSnapshot> snapshot;  // when the page changed since the last
    std::vector<MirrorSelection> selections;     // otherwise: every document's selection
    std::vector<ControlChange> controls;         // and the controls scripts changed
};

// The page as the bridge reports it between events.
struct PageState {
    std::string instance;
    std::unique_ptr<DocumentSnapshot> snapshot;  // when the page changed since the last
    std::vector<MirrorSelection> selections;     // otherwise: every document's selection
    std::vector<ControlChange> controls;         // and the controls scripts changed
};

bool ReadDocumentSnapshot(const QString& json, DocumentSnapshot& snapshot);
bool ReadPointerMessage(const QString& json, PointerMessage& message);
bool ReadPageState(const QString& json, PageState& state);

// Writes to the live page, in the order they were made.
struct LiveWrite {
    enum class Kind { Value, Checked, Selected, Attributes, Click };
    Kind kind = Kind::Value;
    NodeId node = 0;
    std::u16string value;
    bool on = false;
    std::vector<browser::Attribute> attributes;  // the element's whole list
};
QString WritesJson(const std::vector<LiveWrite>& writes);

}  // namespace webengine
