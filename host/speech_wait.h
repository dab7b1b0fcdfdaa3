// The `wait speech` step: until every speech voice of the process is done
// (platform/sapi/speech_activity.h), within a limit long enough for the
// spoken texts of a scenario.
#pragma once

#include <chrono>
#include <string>

inline constexpr std::chrono::milliseconds kSpeechWaitLimit = std::chrono::seconds(60);

// Empty once all speech is done; otherwise which voices still speak.
std::string WaitUntilSpeechDone(std::chrono::milliseconds limit = kSpeechWaitLimit);
