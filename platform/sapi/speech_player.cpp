#include "platform/sapi/speech_player.h"

#include <algorithm>

#include "platform/sapi/speech_channel.h"
#include "platform/sapi/speech_engine.h"

SpeechPlayer::SpeechPlayer(std::shared_ptr<SpeechChannel> channel, SpeechEngine& engine)
    : m_channel(std::move(channel)), m_engine(engine), m_thread(&SpeechPlayer::Run, this) {}

SpeechPlayer::~SpeechPlayer() {
    m_channel->Close();
    m_thread.join();
    // Lets the engine drop the closed channel now rather than at its next turn.
    m_engine.Wake();
}

void SpeechPlayer::Run() {
    using Clock = SpeechChannel::Clock;
    const int sampleRate = m_engine.SampleRate();
    std::unique_ptr<AudioOutput> output;  // opened when there is something to say
    Clock::time_point heardUntil = Clock::now();
    std::uint64_t generation = 0;
    PlayerStep step;
    for (;;) {
        m_channel->NextStep(generation, step);
        switch (step.kind) {
            case PlayerStep::Closed:
                return;
            case PlayerStep::Flush:
                if (output) output->Flush();
                heardUntil = Clock::now();
                break;
            case PlayerStep::Slice:
                if (step.engineHasRoom) m_engine.Wake();
                if (!output) output = OpenAudioOutput(sampleRate);
                output->Write(step.samples.data(), step.samples.size());
                if (!output->PacesItself()) {
                    heardUntil =
                        std::max(heardUntil, Clock::now()) +
                        std::chrono::microseconds(step.samples.size() * 1000000LL / sampleRate);
                    m_channel->WaitUntil(heardUntil, step.generation);
                }
                break;
            case PlayerStep::EndOfText:
                if (output) output->Drain();
                m_channel->FinishText(step.generation, step.stream);
                break;
        }
    }
}
