#include "platform/browser/deferred_work.h"

#include <deque>
#include <utility>

namespace browser {

namespace {

struct WorkQueue {
    int depth = 0;         // call outs running
    bool running = false;  // the queue is being worked off
    std::deque<std::function<void()>> pending;
};

WorkQueue& Queue() {
    // Never destroyed: windows may still be closing while the program ends.
    static WorkQueue* queue = new WorkQueue();
    return *queue;
}

// Work run from here runs outside any call out; what its events' handlers
// queue waits for this loop instead of starting a nested one.
void RunPending() {
    WorkQueue& queue = Queue();
    if (queue.running) return;
    queue.running = true;
    while (!queue.pending.empty() && queue.depth == 0) {
        std::function<void()> work = std::move(queue.pending.front());
        queue.pending.pop_front();
        work();
    }
    queue.running = false;
}

}  // namespace

bool InCallOut() {
    return Queue().depth > 0;
}

void RunOrDefer(std::function<void()> work) {
    if (!work) return;
    if (InCallOut()) {
        Queue().pending.push_back(std::move(work));
        return;
    }
    work();
}

bool DeferredWorkPending() {
    return !Queue().pending.empty();
}

void EnterCallOut() {
    ++Queue().depth;
}

void LeaveCallOut() {
    WorkQueue& queue = Queue();
    if (queue.depth > 0 && --queue.depth == 0) RunPending();
}

}  // namespace browser
