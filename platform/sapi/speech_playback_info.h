// What a voice object has synthesised and played of its current text (or,
// when idle, of the last one), for automated checks of the speech path.
#pragma once

#include "platform/sapi/sapi.h"

struct SpeechPlaybackInfo {
    ULONG sampleRate;
    ULONG stream;  // 0 before anything was spoken
    ULONGLONG samplesSynthesized;
    ULONGLONG samplesPlayed;
    BOOL synthesisDone;
    WCHAR engineVoice[64];  // the engine's identifier of the voice it synthesised with
};

struct ISpeechPlaybackInfo : IUnknown {
    STDMETHOD(GetPlaybackInfo)(SpeechPlaybackInfo* info) = 0;
};
KESTRO_DEFINE_IID(ISpeechPlaybackInfo, "F62A449B-C066-4630-8721-0987C8841D49");
