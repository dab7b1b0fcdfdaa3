// Waiting on the live engine: Qt's event loop runs (Chromium's answers
// arrive as events) until a condition holds, or a limit passes so that a
// fault fails with a message instead of hanging. Nothing waits a fixed
// time.
#pragma once

#include <chrono>
#include <functional>

namespace webengine {

// How long a load, a page's answer or an act's effects may take.
inline constexpr std::chrono::milliseconds kWaitLimit{20000};

// True once `done` holds; false when `limit` passed first.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = kWaitLimit);

}  // namespace webengine
