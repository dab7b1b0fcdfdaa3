#include "platform/sapi/speech_engine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "platform/sapi/speech_channel.h"
#include "platform/win/text.h"
#include "platform/win/user_locale.h"

namespace {

constexpr std::u16string_view kTokenPrefix =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\eSpeak_";

// The job being synthesised; only the synthesis thread reads or writes it.
SynthesisJob* g_currentJob = nullptr;

int ReceiveSamples(short* samples, int count, espeak_EVENT*) {
    if (!g_currentJob) return 1;
    if (!samples || count <= 0) return 0;
    return g_currentJob->channel->AppendSamples(*g_currentJob, samples, count) ? 0 : 1;
}

std::u16string TokenIdFor(const std::string& identifier) {
    std::u16string id(kTokenPrefix);
    for (char16_t c : Utf8ToUtf16(identifier)) id += c == u'/' ? u'_' : c;
    return id;
}

std::vector<EngineVoice> ListVoices() {
    std::vector<EngineVoice> voices;
    const espeak_VOICE** list = espeak_ListVoices(nullptr);
    for (; list && *list; ++list) {
        const espeak_VOICE* v = *list;
        if (!v->identifier || !v->name) continue;
        const std::string identifier = v->identifier;
        const bool seen = std::any_of(voices.begin(), voices.end(), [&](const EngineVoice& e) {
            return e.identifier == identifier;
        });
        if (!seen) voices.push_back({identifier, TokenIdFor(identifier), Utf8ToUtf16(v->name)});
    }
    return voices;
}

// The engine's preferred voice for the user's language, else its English.
std::string PreferredVoice() {
    const std::string tag = UserLanguageTag();
    for (const std::string& language : {tag, tag.substr(0, tag.find('-')), std::string("en")}) {
        espeak_VOICE spec{};
        spec.languages = language.c_str();
        const espeak_VOICE** list = espeak_ListVoices(&spec);
        if (list && *list && (*list)->identifier) return (*list)->identifier;
    }
    return {};
}

}  // namespace

struct SpeechEngine::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::shared_ptr<SpeechChannel>> channels;
    std::size_t next = 0;
    std::string voiceSet;  // the voice the engine holds now

    // Round robin over the channels; drops those with nothing left to do.
    bool TakeJob(SynthesisJob& job) {
        std::size_t asked = 0;
        while (asked < channels.size()) {
            if (next >= channels.size()) next = 0;
            switch (channels[next]->TakeJob(channels[next], job)) {
                case JobAnswer::Job:
                    ++next;
                    return true;
                case JobAnswer::Waiting:
                    ++next;
                    ++asked;
                    break;
                case JobAnswer::Idle:
                    channels.erase(channels.begin() + next);
                    break;
            }
        }
        return false;
    }

    void Synthesize(SynthesisJob& job) {
        if (job.voice != voiceSet && espeak_SetVoiceByName(job.voice.c_str()) == EE_OK)
            voiceSet = job.voice;
        espeak_SetParameter(espeakRATE, job.wordsPerMinute, 0);
        g_currentJob = &job;
        espeak_Synth(job.text.c_str(), job.text.size() + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, nullptr);
        g_currentJob = nullptr;
        job.channel->FinishJob(job, voiceSet);
    }

    void Serve() {
        for (;;) {
            SynthesisJob job;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return TakeJob(job); });
            }
            Synthesize(job);
        }
    }

    // Runs on the synthesis thread: starts espeak-ng, then serves forever.
    void Run(std::promise<SpeechEngine*> started) {
        const int sampleRate =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        std::vector<EngineVoice> voices;
        if (sampleRate > 0) voices = ListVoices();
        if (sampleRate <= 0 || voices.empty()) {
            started.set_value(nullptr);
            delete this;
            return;
        }
        espeak_SetSynthCallback(ReceiveSamples);
        espeak_SetParameter(espeakVOLUME, 100, 0);
        auto* engine = new SpeechEngine(*this);
        engine->m_sampleRate = sampleRate;
        engine->m_voices = std::move(voices);
        const EngineVoice* preferred = engine->FindByIdentifier(PreferredVoice());
        engine->m_defaultVoice = preferred ? preferred - engine->m_voices.data() : 0;
        voiceSet.clear();
        started.set_value(engine);
        Serve();
    }
};

SpeechEngine::SpeechEngine(State& state) : m_state(state) {}

SpeechEngine* SpeechEngine::Instance() {
    // The engine, its state and its thread live until the process ends.
    static SpeechEngine* const engine = [] {
        auto* state = new SpeechEngine::State;
        std::promise<SpeechEngine*> started;
        std::future<SpeechEngine*> result = started.get_future();
        std::thread(&SpeechEngine::State::Run, state, std::move(started)).detach();
        return result.get();
    }();
    return engine;
}

const EngineVoice* SpeechEngine::FindByIdentifier(std::string_view identifier) const {
    for (const EngineVoice& v : m_voices)
        if (v.identifier == identifier) return &v;
    return nullptr;
}

const EngineVoice* SpeechEngine::FindByTokenId(std::u16string_view tokenId) const {
    for (const EngineVoice& v : m_voices)
        if (WideEqualsNoCase(v.tokenId, tokenId)) return &v;
    return nullptr;
}

void SpeechEngine::Serve(const std::shared_ptr<SpeechChannel>& channel) {
    std::lock_guard lock(m_state.mutex);
    if (std::find(m_state.channels.begin(), m_state.channels.end(), channel) ==
        m_state.channels.end())
        m_state.channels.push_back(channel);
    m_state.wake.notify_one();
}

void SpeechEngine::Wake() {
    std::lock_guard lock(m_state.mutex);
    m_state.wake.notify_one();
}
