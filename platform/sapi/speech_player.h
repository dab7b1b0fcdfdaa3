// The player thread of one voice object: takes short slices from the
// voice's channel and writes them out. Pausing stops it taking slices, so
// it halts within one slice; a purge flushes what the device still holds.
// Destroying the player closes the channel and joins the thread.
#pragma once

#include <memory>
#include <thread>

#include "platform/sapi/audio_output.h"

class SpeechChannel;
class SpeechEngine;

class SpeechPlayer {
public:
    SpeechPlayer(std::shared_ptr<SpeechChannel> channel, SpeechEngine& engine);
    ~SpeechPlayer();
    SpeechPlayer(const SpeechPlayer&) = delete;
    SpeechPlayer& operator=(const SpeechPlayer&) = delete;

private:
    void Run();

    std::shared_ptr<SpeechChannel> m_channel;
    SpeechEngine& m_engine;
    std::thread m_thread;
};
