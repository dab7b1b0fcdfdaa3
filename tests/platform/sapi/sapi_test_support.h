// Helpers for the speech tests: voices made through CoCreateInstance and
// polling with a generous deadline (speech runs at real-time pace).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/sapi/sapi.h"
#include "platform/sapi/speech_playback_info.h"

namespace sapi_test {

class SpeechTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

CComPtr<ISpVoice> NewVoice();
DWORD RunningState(ISpVoice* voice);
SpeechPlaybackInfo Playback(ISpVoice* voice);
// Seconds of audio the current (or last) text has synthesised.
double SynthesizedSeconds(ISpVoice* voice);

// Polls until the condition holds; false when the deadline passes first.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline);
// Waits until the voice is done, allowing ten times the synthesised length.
bool WaitUntilDone(ISpVoice* voice);

// The voice tokens in enumeration order.
std::vector<CComPtr<ISpObjectToken>> VoiceTokens();
std::u16string TokenId(ISpObjectToken* token);
std::u16string TokenValue(ISpObjectToken* token, const char16_t* name, HRESULT* result = nullptr);

}  // namespace sapi_test
