// `wait speech` waits for every voice of the process and names the ones
// that are not done (a paused voice is not) when the limit passes.
#include "host/speech_wait.h"

#include <gtest/gtest.h>

#include "platform/sapi/sapi.h"

namespace {

class SpeechWait : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                         reinterpret_cast<void**>(&m_voice)));
    }
    void TearDown() override {
        m_voice.Release();
        CoUninitialize();
    }

    DWORD RunningState() {
        SPVOICESTATUS status{};
        EXPECT_EQ(S_OK, m_voice->GetStatus(&status, nullptr));
        return status.dwRunningState;
    }

    CComPtr<ISpVoice> m_voice;
};

TEST_F(SpeechWait, ReturnsAtOnceWhenNothingSpeaks) {
    EXPECT_EQ("", WaitUntilSpeechDone(std::chrono::milliseconds(0)));
}

TEST_F(SpeechWait, NamesAPausedVoiceThenReturnsWhenItHasSpokenItsText) {
    ASSERT_EQ(S_OK, m_voice->Speak(u"One, two, three.", SPF_ASYNC, nullptr));
    ASSERT_EQ(S_OK, m_voice->Pause());
    const std::string still = WaitUntilSpeechDone(std::chrono::milliseconds(20));
    EXPECT_EQ(0u, still.find("still speaking after 20 milliseconds: voice ")) << still;

    ASSERT_EQ(S_OK, m_voice->Resume());
    EXPECT_EQ("", WaitUntilSpeechDone());
    EXPECT_EQ(SPRS_DONE, RunningState());
}

TEST_F(SpeechWait, APurgedVoiceIsDone) {
    ASSERT_EQ(S_OK, m_voice->Speak(u"A text long enough to be cut short by the purge.", SPF_ASYNC,
                                   nullptr));
    ASSERT_EQ(S_OK, m_voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
    EXPECT_EQ("", WaitUntilSpeechDone(std::chrono::milliseconds(0)));
}

}  // namespace
