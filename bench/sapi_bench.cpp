// Speech synthesis speed through a voice object, as a multiple of real time:
// a paragraph is queued and timed until the engine has synthesised all of
// it (playback runs on at real-time pace and is purged each round).
#include <benchmark/benchmark.h>

#include <thread>

#include "platform/com/com_ptr.h"
#include "platform/sapi/sapi.h"
#include "platform/sapi/speech_playback_info.h"

namespace {

constexpr const char16_t* kParagraph =
    u"Kestro reads page text aloud with the speech engine. Each browser window owns one "
    u"voice, and the voice keeps its own rate and volume until the window closes.";

SpeechPlaybackInfo Playback(ISpeechPlaybackInfo* probe) {
    SpeechPlaybackInfo info{};
    probe->GetPlaybackInfo(&info);
    return info;
}

void BM_SynthesizeParagraph(benchmark::State& state) {
    CoInitialize(nullptr);
    CComPtr<ISpVoice> voice;
    if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                reinterpret_cast<void**>(&voice)))) {
        state.SkipWithError("the speech engine does not start");
        CoUninitialize();
        return;
    }
    CComQIPtr<ISpeechPlaybackInfo> probe(voice);
    voice->SetRate(static_cast<LONG>(state.range(0)));
    double audioSeconds = 0;
    for (auto _ : state) {
        ULONG stream = 0;
        voice->Speak(kParagraph, SPF_ASYNC | SPF_PURGEBEFORESPEAK, &stream);
        SpeechPlaybackInfo info = Playback(probe);
        while (info.stream != stream || !info.synthesisDone) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            info = Playback(probe);
        }
        audioSeconds += static_cast<double>(info.samplesSynthesized) / info.sampleRate;
    }
    voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    // Seconds of speech per second of wall time: the multiple of real time.
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
    voice.Release();
    CoUninitialize();
}
BENCHMARK(BM_SynthesizeParagraph)->Arg(-10)->Arg(0)->Arg(10)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
