#include "tests/platform/sapi/sapi_test_support.h"

#include <thread>

namespace sapi_test {

CComPtr<ISpVoice> NewVoice() {
    CComPtr<ISpVoice> voice;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                     reinterpret_cast<void**>(&voice)));
    return voice;
}

DWORD RunningState(ISpVoice* voice) {
    SPVOICESTATUS status{};
    EXPECT_EQ(S_OK, voice->GetStatus(&status, nullptr));
    return status.dwRunningState;
}

SpeechPlaybackInfo Playback(ISpVoice* voice) {
    SpeechPlaybackInfo info{};
    CComQIPtr<ISpeechPlaybackInfo> probe(voice);
    EXPECT_TRUE(probe);
    if (probe) {
        EXPECT_EQ(S_OK, probe->GetPlaybackInfo(&info));
    }
    return info;
}

double SynthesizedSeconds(ISpVoice* voice) {
    const SpeechPlaybackInfo info = Playback(voice);
    return info.sampleRate ? static_cast<double>(info.samplesSynthesized) / info.sampleRate : 0;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool WaitUntilDone(ISpVoice* voice) {
    if (!WaitFor([&] { return Playback(voice).synthesisDone != 0; }, std::chrono::seconds(10)))
        return false;
    const auto allowed =
        std::chrono::milliseconds(static_cast<long long>(SynthesizedSeconds(voice) * 10000) + 2000);
    return WaitFor([&] { return RunningState(voice) == SPRS_DONE; }, allowed);
}

std::vector<CComPtr<ISpObjectToken>> VoiceTokens() {
    std::vector<CComPtr<ISpObjectToken>> tokens;
    CComPtr<ISpObjectTokenCategory> category;
    EXPECT_EQ(S_OK,
              CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                               IID_ISpObjectTokenCategory, reinterpret_cast<void**>(&category)));
    if (!category) return tokens;
    EXPECT_EQ(S_OK, category->SetId(SPCAT_VOICES, FALSE));
    CComPtr<IEnumSpObjectTokens> list;
    EXPECT_EQ(S_OK, category->EnumTokens(nullptr, nullptr, &list));
    if (!list) return tokens;
    ISpObjectToken* token = nullptr;
    while (list->Next(1, &token, nullptr) == S_OK) {
        tokens.emplace_back(token);
        token->Release();
    }
    return tokens;
}

std::u16string TokenId(ISpObjectToken* token) {
    LPWSTR id = nullptr;
    EXPECT_EQ(S_OK, token->GetId(&id));
    std::u16string result = id ? id : u"";
    CoTaskMemFree(id);
    return result;
}

std::u16string TokenValue(ISpObjectToken* token, const char16_t* name, HRESULT* result) {
    LPWSTR value = nullptr;
    const HRESULT hr = token->GetStringValue(name, &value);
    if (result) *result = hr;
    std::u16string text = value ? value : u"";
    CoTaskMemFree(value);
    return text;
}

}  // namespace sapi_test
