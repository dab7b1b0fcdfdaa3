#include "platform/webengine/bridge_messages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace webengine {

namespace {

constexpr int kFieldsPerNode = 7;
// Frames nest no deeper than the browser loads them.
constexpr int kMaxFrameDepth = 8;

std::u16string Text(const QJsonValue& value) {
    return value.toString().toStdU16String();
}

bool ReadAttributes(const QJsonValue& value, std::vector<browser::Attribute>& out) {
    if (!value.isArray()) return value.isDouble() && value.toDouble() == 0;
    const QJsonArray list = value.toArray();
    if (list.size() % 2 != 0) return false;
    out.reserve(list.size() / 2);
    for (qsizetype i = 0; i < list.size(); i += 2) {
        if (!list[i].isString() || !list[i + 1].isString()) return false;
        out.push_back({Text(list[i]), Text(list[i + 1])});
    }
    return true;
}

bool ReadRecord(const QJsonArray& flat, qsizetype at, MirrorRecord& record) {
    if (!flat[at].isDouble() || !flat[at + 1].isDouble() || !flat[at + 3].isString()) return false;
    record.id = static_cast<NodeId>(flat[at].toDouble());
    record.parent = static_cast<NodeId>(flat[at + 1].toDouble());
    const int type = flat[at + 2].toInt();
    record.kind = type == 1   ? browser::NodeKind::Element
                  : type == 8 ? browser::NodeKind::Comment
                              : browser::NodeKind::Text;
    record.name = Text(flat[at + 3]);
    record.foreign = flat[at + 6].toInt() != 0;
    if (record.kind != browser::NodeKind::Element) return true;
    if (!ReadAttributes(flat[at + 4], record.attributes)) return false;
    if (flat[at + 5].isArray()) {
        const QJsonArray state = flat[at + 5].toArray();
        if (state.size() != 2 || !state[0].isString()) return false;
        record.hasControlState = true;
        record.value = Text(state[0]);
        record.on = state[1].toInt() != 0;
    }
    return true;
}

std::optional<MirrorSelection> ReadSelection(const QJsonValue& value) {
    if (!value.isArray()) return std::nullopt;
    const QJsonArray pair = value.toArray();
    if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isString()) return std::nullopt;
    return MirrorSelection{static_cast<NodeId>(pair[0].toDouble()), Text(pair[1])};
}

bool ReadDocument(const QJsonObject& object, DocumentSnapshot& snapshot, int depth) {
    if (depth > kMaxFrameDepth || !object.value("n").isArray()) return false;
    snapshot.instance = object.value("i").toString().toStdString();
    snapshot.url = Text(object.value("u"));
    snapshot.charset = Text(object.value("c"));
    snapshot.selection = ReadSelection(object.value("s"));
    const QJsonArray flat = object.value("n").toArray();
    if (flat.size() % kFieldsPerNode != 0) return false;
    snapshot.records.resize(flat.size() / kFieldsPerNode);
    for (std::size_t i = 0; i < snapshot.records.size(); ++i)
        if (!ReadRecord(flat, static_cast<qsizetype>(i) * kFieldsPerNode, snapshot.records[i]))
            return false;
    for (const QJsonValue& frame : object.value("f").toArray()) {
        const QJsonObject record = frame.toObject();
        DocumentSnapshot::Frame& added = snapshot.frames.emplace_back();
        added.element = static_cast<NodeId>(record.value("e").toDouble());
        if (!record.value("d").isObject()) continue;
        added.document = std::make_unique<DocumentSnapshot>();
        if (!ReadDocument(record.value("d").toObject(), *added.document, depth + 1)) return false;
    }
    return true;
}

QJsonDocument Parse(const QString& json) {
    QJsonParseError error{};
    return QJsonDocument::fromJson(json.toUtf8(), &error);
}

bool ReadControls(const QJsonValue& value, std::vector<ControlChange>& controls) {
    if (value.isUndefined()) return true;
    const QJsonArray flat = value.toArray();
    if (!value.isArray() || flat.size() % 3 != 0) return false;
    for (qsizetype i = 0; i < flat.size(); i += 3) {
        if (!flat[i].isDouble() || !flat[i + 1].isString()) return false;
        controls.push_back(
            {static_cast<NodeId>(flat[i].toDouble()), Text(flat[i + 1]), flat[i + 2].toInt() != 0});
    }
    return true;
}

// A snapshot ("d"), or the selections ("s") and changed controls ("v")
// that come instead of one.
bool ReadState(const QJsonObject& object, std::unique_ptr<DocumentSnapshot>& snapshot,
               std::vector<MirrorSelection>& selections, std::vector<ControlChange>& controls) {
    if (object.value("d").isObject()) {
        snapshot = std::make_unique<DocumentSnapshot>();
        return ReadDocument(object.value("d").toObject(), *snapshot, 0);
    }
    for (const QJsonValue& value : object.value("s").toArray())
        if (std::optional<MirrorSelection> selection = ReadSelection(value))
            selections.push_back(std::move(*selection));
    return ReadControls(object.value("v"), controls);
}

QString Json(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

bool ReadDocumentSnapshot(const QString& json, DocumentSnapshot& snapshot) {
    const QJsonDocument document = Parse(json);
    return document.isObject() && ReadDocument(document.object(), snapshot, 0);
}

bool ReadPointerMessage(const QString& json, PointerMessage& message) {
    const QJsonDocument document = Parse(json);
    if (!document.isObject()) return false;
    const QJsonObject object = document.object();
    message.instance = object.value("i").toString().toStdString();
    message.kind = object.value("k").toString().toStdString();
    if (message.kind != "click" && message.kind != "dblclick" && message.kind != "contextmenu")
        return false;
    message.target = static_cast<NodeId>(object.value("e").toDouble());
    message.alt = object.value("a").toInt() != 0;
    message.x = object.value("x").toInt();
    message.y = object.value("y").toInt();
    const QJsonArray move = object.value("m").toArray();
    if (move.size() == 2) {
        message.movedOver = static_cast<NodeId>(move[0].toDouble());
        message.movedWithAlt = move[1].toInt() != 0;
    }
    return ReadState(object, message.snapshot, message.selections, message.controls);
}

bool ReadPageState(const QString& json, PageState& state) {
    const QJsonDocument document = Parse(json);
    if (!document.isObject()) return false;
    const QJsonObject object = document.object();
    state.instance = object.value("i").toString().toStdString();
    return !state.instance.empty() &&
           ReadState(object, state.snapshot, state.selections, state.controls);
}

QString WritesJson(const std::vector<LiveWrite>& writes) {
    QJsonArray list;
    for (const LiveWrite& write : writes) {
        QJsonArray item;
        const double node = static_cast<double>(write.node);
        switch (write.kind) {
            case LiveWrite::Kind::Value:
                item = {"v", node, Json(write.value)};
                break;
            case LiveWrite::Kind::Checked:
                item = {"c", node, write.on};
                break;
            case LiveWrite::Kind::Selected:
                item = {"s", node, write.on};
                break;
            case LiveWrite::Kind::Attributes: {
                QJsonArray attributes;
                for (const browser::Attribute& a : write.attributes) {
                    attributes.append(Json(a.name));
                    attributes.append(Json(a.value));
                }
                item = {"A", node, attributes};
                break;
            }
            case LiveWrite::Kind::Click:
                item = {"k", node};
                break;
        }
        list.append(item);
    }
    return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
}

}  // namespace webengine
