// The process's speech engine: espeak-ng, started once on a synthesis thread
// of its own and never terminated (it cannot be started twice in one
// process). Only that thread calls the engine. It serves the channels of
// every voice object in turn, one piece of text at a time, and stops a
// piece early when its channel no longer wants it (purged or closed).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class SpeechChannel;

struct EngineVoice {
    std::string identifier;  // the engine's name for the voice ("gmw/en-US")
    std::u16string tokenId;
    std::u16string description;
};

class SpeechEngine {
public:
    // Started on first use; null when espeak-ng cannot start.
    static SpeechEngine* Instance();

    int SampleRate() const { return m_sampleRate; }
    // In the engine's order, fixed for the life of the process.
    const std::vector<EngineVoice>& Voices() const { return m_voices; }
    const EngineVoice& DefaultVoice() const { return m_voices[m_defaultVoice]; }
    const EngineVoice* FindByIdentifier(std::string_view identifier) const;
    const EngineVoice* FindByTokenId(std::u16string_view tokenId) const;

    // The channel has text to synthesise.
    void Serve(const std::shared_ptr<SpeechChannel>& channel);
    // A channel waiting for playback to catch up may go on.
    void Wake();

    struct State;

private:
    explicit SpeechEngine(State& state);

    State& m_state;
    int m_sampleRate = 0;
    std::vector<EngineVoice> m_voices;
    std::size_t m_defaultVoice = 0;
    friend struct State;
};
