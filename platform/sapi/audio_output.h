// Where a player's samples go: the sound device through pcaudiolib, or,
// when no device opens (no sound card, as on build machines), nowhere. The
// null output does not pace itself; the player then holds each slice for
// its duration so speech still takes as long as it would sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Blocks while the device buffer is full (when PacesItself()).
    virtual void Write(const std::int16_t* samples, std::size_t count) = 0;
    // Waits until everything written has been heard.
    virtual void Drain() = 0;
    // Drops what was written and not yet heard.
    virtual void Flush() = 0;
    virtual bool PacesItself() const = 0;
};

// Mono 16-bit output at the rate. The device is tried until it once fails
// to open in this process; from then on every player gets the null output.
std::unique_ptr<AudioOutput> OpenAudioOutput(int sampleRate);
