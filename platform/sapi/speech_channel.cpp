#include "platform/sapi/speech_channel.h"

#include <algorithm>

#include "platform/sapi/speech_activity.h"
#include "platform/sapi/synthesis_text.h"
#include "platform/win/text.h"

namespace {

constexpr int kAheadSeconds = 20;
constexpr int kSliceMilliseconds = 20;

}  // namespace

SpeechChannel::SpeechChannel(int sampleRate, std::string voice)
    : m_sampleRate(sampleRate),
      m_aheadLimit(static_cast<std::size_t>(sampleRate) * kAheadSeconds),
      m_voice(std::move(voice)) {}

SpeechChannel::~SpeechChannel() {
    ForgetSpeechVoice(this);
}

std::string SpeechChannel::Voice() const {
    std::lock_guard lock(m_mutex);
    return m_voice;
}

void SpeechChannel::SetVoice(std::string voice) {
    std::lock_guard lock(m_mutex);
    m_voice = std::move(voice);
}

LONG SpeechChannel::Rate() const {
    std::lock_guard lock(m_mutex);
    return m_rate;
}

void SpeechChannel::SetRate(LONG rate) {
    std::lock_guard lock(m_mutex);
    m_rate = std::clamp(rate, SPMIN_RATE, SPMAX_RATE);
}

USHORT SpeechChannel::Volume() const {
    std::lock_guard lock(m_mutex);
    return m_volume;
}

void SpeechChannel::SetVolume(USHORT volume) {
    std::lock_guard lock(m_mutex);
    m_volume = std::min(volume, SPMAX_VOLUME);
}

ULONG SpeechChannel::Enqueue(std::vector<std::string> pieces) {
    std::lock_guard lock(m_mutex);
    Utterance utterance;
    utterance.stream = ++m_lastStream;
    utterance.pieces = std::move(pieces);
    m_queue.push_back(std::move(utterance));
    m_changed.notify_all();
    ReportRunningState();
    return m_lastStream;
}

bool SpeechChannel::Purge() {
    std::lock_guard lock(m_mutex);
    if (m_queue.empty()) return false;
    m_last = TotalsOf(m_queue.front());
    m_queue.clear();
    ++m_generation;
    m_changed.notify_all();
    ReportRunningState();
    return true;
}

bool SpeechChannel::SetPaused(bool paused) {
    std::lock_guard lock(m_mutex);
    if (m_paused == paused) return false;
    m_paused = paused;
    m_changed.notify_all();
    ReportRunningState();
    return true;
}

void SpeechChannel::WaitForStream(ULONG stream) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_closed || !FindUtterance(stream); });
}

void SpeechChannel::Close() {
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_queue.clear();
    ++m_generation;
    m_changed.notify_all();
    ForgetSpeechVoice(this);
}

void SpeechChannel::Status(SPVOICESTATUS& status) const {
    std::lock_guard lock(m_mutex);
    status = SPVOICESTATUS{};
    status.ulLastStreamQueued = m_lastStream;
    status.ulCurrentStream = m_queue.empty() ? m_last.stream : m_queue.front().stream;
    if (m_paused)
        status.dwRunningState = 0;
    else
        status.dwRunningState = m_queue.empty() ? SPRS_DONE : SPRS_IS_SPEAKING;
}

void SpeechChannel::PlaybackInfo(SpeechPlaybackInfo& info) const {
    std::lock_guard lock(m_mutex);
    const Totals totals = m_queue.empty() ? m_last : TotalsOf(m_queue.front());
    info = SpeechPlaybackInfo{};
    info.sampleRate = static_cast<ULONG>(m_sampleRate);
    info.stream = totals.stream;
    info.samplesSynthesized = totals.synthesized;
    info.samplesPlayed = totals.played;
    info.synthesisDone = totals.synthesisDone;
    const std::u16string voice = Utf8ToUtf16(totals.engineVoice);
    const std::size_t n = std::min(voice.size(), std::size(info.engineVoice) - 1);
    std::copy_n(voice.begin(), n, info.engineVoice);
}

JobAnswer SpeechChannel::TakeJob(const std::shared_ptr<SpeechChannel>& self, SynthesisJob& job) {
    std::lock_guard lock(m_mutex);
    if (m_closed) return JobAnswer::Idle;
    auto pending = std::find_if(m_queue.begin(), m_queue.end(),
                                [](const Utterance& u) { return !u.Synthesized(); });
    if (pending == m_queue.end()) return JobAnswer::Idle;
    if (pending->pieceInFlight || !HasRoomForSynthesis()) return JobAnswer::Waiting;
    pending->pieceInFlight = true;
    job.channel = self;
    job.generation = m_generation;
    job.stream = pending->stream;
    job.text = pending->pieces[pending->piecesDone];
    job.voice = m_voice;
    job.wordsPerMinute = WordsPerMinuteForRate(m_rate);
    return JobAnswer::Job;
}

bool SpeechChannel::AppendSamples(const SynthesisJob& job, const short* samples, int count) {
    std::lock_guard lock(m_mutex);
    if (m_closed || job.generation != m_generation) return false;
    Utterance* u = FindUtterance(job.stream);
    if (!u) return false;
    u->samples.insert(u->samples.end(), samples, samples + count);
    m_changed.notify_all();
    return true;
}

void SpeechChannel::FinishJob(const SynthesisJob& job, const std::string& engineVoice) {
    std::lock_guard lock(m_mutex);
    if (m_closed || job.generation != m_generation) return;
    Utterance* u = FindUtterance(job.stream);
    if (!u) return;
    u->pieceInFlight = false;
    ++u->piecesDone;
    u->engineVoice = engineVoice;
    m_changed.notify_all();
}

void SpeechChannel::NextStep(std::uint64_t& playerGeneration, PlayerStep& step) {
    std::unique_lock lock(m_mutex);
    for (;;) {
        step.samples.clear();
        if (m_closed) {
            step.kind = PlayerStep::Closed;
            return;
        }
        if (playerGeneration != m_generation) {
            playerGeneration = m_generation;
            step.kind = PlayerStep::Flush;
            return;
        }
        if (!m_paused && !m_queue.empty()) {
            Utterance& u = m_queue.front();
            step.generation = m_generation;
            step.stream = u.stream;
            if (u.played < u.samples.size()) {
                const std::size_t slice =
                    static_cast<std::size_t>(m_sampleRate) * kSliceMilliseconds / 1000;
                const std::size_t n = std::min(slice, u.samples.size() - u.played);
                step.samples.resize(n);
                for (std::size_t i = 0; i < n; ++i)
                    step.samples[i] = static_cast<std::int16_t>(u.samples[u.played + i] * m_volume /
                                                                SPMAX_VOLUME);
                u.played += n;
                step.kind = PlayerStep::Slice;
                step.engineHasRoom = HasRoomForSynthesis();
                return;
            }
            if (u.Synthesized()) {
                step.kind = PlayerStep::EndOfText;
                return;
            }
        }
        m_changed.wait(lock);
    }
}

bool SpeechChannel::WaitUntil(Clock::time_point deadline, std::uint64_t generation) {
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_until(lock, deadline,
                                 [&] { return m_closed || m_generation != generation; });
}

void SpeechChannel::FinishText(std::uint64_t generation, ULONG stream) {
    std::lock_guard lock(m_mutex);
    if (generation != m_generation || m_queue.empty() || m_queue.front().stream != stream) return;
    m_last = TotalsOf(m_queue.front());
    m_queue.pop_front();
    m_changed.notify_all();
    ReportRunningState();
}

void SpeechChannel::ReportRunningState() const {
    if (!m_closed) NoteSpeechVoiceDone(this, !m_paused && m_queue.empty());
}

bool SpeechChannel::HasRoomForSynthesis() const {
    std::size_t ahead = 0;
    for (const Utterance& u : m_queue) ahead += u.samples.size() - u.played;
    return ahead < m_aheadLimit;
}

SpeechChannel::Utterance* SpeechChannel::FindUtterance(ULONG stream) {
    for (Utterance& u : m_queue)
        if (u.stream == stream) return &u;
    return nullptr;
}

SpeechChannel::Totals SpeechChannel::TotalsOf(const Utterance& utterance) {
    return Totals{utterance.stream, utterance.samples.size(), utterance.played,
                  utterance.Synthesized(), utterance.engineVoice};
}
