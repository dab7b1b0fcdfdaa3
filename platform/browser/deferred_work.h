// Work that add-ons and pages start while the browser calls out to them
// (fires an event, asks the UI handler for a context menu, carries out a
// command): navigations, new windows and the events of written pages. As
// a browser's message loop carries out what was posted to it, the work is
// queued and run, in the order it was asked for, once the outermost call
// out has returned; work queued by running work comes after it. Outside
// any call out, work runs at once. So the queue is empty whenever no call
// out is running, and a user's act returns with its effects complete.
//
// UI thread only.
#pragma once

#include <functional>

namespace browser {

// Whether an add-on's or a page's code is running inside a call out.
bool InCallOut();
// Queues work for the end of the outermost call out; runs it at once when
// there is none.
void RunOrDefer(std::function<void()> work);
// Whether queued work has not run yet.
bool DeferredWorkPending();

// The call out's bounds (call_out.h); leaving the outermost one runs the
// queue.
void EnterCallOut();
void LeaveCallOut();

}  // namespace browser
