// The bridge: a script the live engine runs in every page, in a script
// world of its own that the page's scripts cannot reach. It numbers the
// page's nodes (in its own map; the page's DOM is never marked), keeps a
// changed-since-last-snapshot flag, serialises the page with its frames,
// live control values and selection, reports trusted pointer events to
// the host synchronously, and applies the host's writes by node id.
//
// Messages go to the host through the page's prompt() with a token only
// the host and the bridge know; the host's answer is the list of writes
// to apply at once, before the page carries on.
#pragma once

#include <QJsonArray>
#include <QString>

namespace webengine {

// A fresh random token for one process's bridges.
QString NewBridgeToken();
// The bridge's source for that token.
QString BridgeScriptSource(const QString& token);

// Script (for the bridge's world) that applies writes given as JSON and
// evaluates to their results; and one that evaluates to a snapshot.
QString ApplyWritesScript(const QString& writesJson);
QString SnapshotScript();
// One that evaluates to the page's state: a snapshot when it changed
// since the last one, else its selections (ReadPageState).
QString StateScript();
// One that calls a function of the bridge's (painted, pointAt, dragOver,
// selectedText, unselect, focusControl, control, choose) and evaluates
// to its result as JSON ("null" without a bridge).
QString BridgeCallScript(const char* function, const QJsonArray& arguments);

}  // namespace webengine
