#include "host/speech_wait.h"

#include <vector>

#include "platform/sapi/speech_activity.h"
#include "platform/win/text.h"

namespace {

std::string Duration(std::chrono::milliseconds limit) {
    if (limit.count() % 1000 == 0) return std::to_string(limit.count() / 1000) + " seconds";
    return std::to_string(limit.count()) + " milliseconds";
}

}  // namespace

std::string WaitUntilSpeechDone(std::chrono::milliseconds limit) {
    std::vector<std::u16string> speaking;
    if (WaitForSpeechDone(limit, speaking)) return {};
    std::string names;
    for (const std::u16string& name : speaking)
        names += (names.empty() ? "" : ", ") + Utf16ToUtf8(name);
    return "still speaking after " + Duration(limit) + ": " + names;
}
