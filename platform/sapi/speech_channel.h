// The queue of one voice object, shared by the voice (its caller's thread),
// the process's synthesis thread and the voice's player thread. It outlives
// the voice when the engine still holds it, so the engine never touches a
// destroyed voice; once closed, it answers every party with "stop".
//
// Invariants (under m_mutex): utterances are in stream order; the front one
// is the one playing; a purge clears the queue and bumps the generation, and
// work of an older generation (a running synthesis, a slice being played) is
// dropped when it reports back.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sapi/speech_playback_info.h"

class SpeechChannel;

// One piece of text for the engine, with the settings it is spoken with.
struct SynthesisJob {
    std::shared_ptr<SpeechChannel> channel;
    std::uint64_t generation = 0;
    ULONG stream = 0;
    std::string text;
    std::string voice;
    int wordsPerMinute = 0;
};

enum class JobAnswer { Job, Waiting, Idle };

// What the player does next.
struct PlayerStep {
    enum Kind { Closed, Flush, Slice, EndOfText } kind = Closed;
    std::vector<std::int16_t> samples;  // Slice: volume already applied
    std::uint64_t generation = 0;
    ULONG stream = 0;
    bool engineHasRoom = false;  // Slice: more text may be synthesised now
};

class SpeechChannel {
public:
    using Clock = std::chrono::steady_clock;

    SpeechChannel(int sampleRate, std::string voice);
    ~SpeechChannel();

    // Settings; they apply to text synthesised from now on (volume: at once).
    std::string Voice() const;
    void SetVoice(std::string voice);
    LONG Rate() const;
    void SetRate(LONG rate);
    USHORT Volume() const;
    void SetVolume(USHORT volume);

    // The voice's side.
    ULONG Enqueue(std::vector<std::string> pieces);
    bool Purge();                 // true when something was speaking or queued
    bool SetPaused(bool paused);  // true when the state changed
    void WaitForStream(ULONG stream);
    void Close();
    void Status(SPVOICESTATUS& status) const;
    void PlaybackInfo(SpeechPlaybackInfo& info) const;

    // The engine's side.
    JobAnswer TakeJob(const std::shared_ptr<SpeechChannel>& self, SynthesisJob& job);
    bool AppendSamples(const SynthesisJob& job, const short* samples, int count);
    void FinishJob(const SynthesisJob& job, const std::string& engineVoice);

    // The player's side.
    void NextStep(std::uint64_t& playerGeneration, PlayerStep& step);
    bool WaitUntil(Clock::time_point deadline, std::uint64_t generation);
    void FinishText(std::uint64_t generation, ULONG stream);

private:
    struct Utterance {
        ULONG stream = 0;
        std::vector<std::string> pieces;
        std::size_t piecesDone = 0;
        bool pieceInFlight = false;
        std::vector<std::int16_t> samples;
        std::size_t played = 0;
        std::string engineVoice;
        bool Synthesized() const { return piecesDone == pieces.size(); }
    };

    // What is kept of a text once it is finished or dropped.
    struct Totals {
        ULONG stream = 0;
        std::size_t synthesized = 0;
        std::size_t played = 0;
        bool synthesisDone = true;
        std::string engineVoice;
    };

    bool HasRoomForSynthesis() const;
    // Tells speech_activity.h whether the running state is SPRS_DONE.
    void ReportRunningState() const;
    Utterance* FindUtterance(ULONG stream);
    static Totals TotalsOf(const Utterance& utterance);

    const int m_sampleRate;
    const std::size_t m_aheadLimit;  // samples synthesised ahead of playback
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Utterance> m_queue;
    std::string m_voice;
    LONG m_rate = 0;
    USHORT m_volume = SPMAX_VOLUME;
    bool m_paused = false;
    bool m_closed = false;
    std::uint64_t m_generation = 0;
    ULONG m_lastStream = 0;
    Totals m_last;  // of the last finished or dropped text
};
