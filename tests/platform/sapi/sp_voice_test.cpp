// The voice object: asynchronous speech at real-time pace (null sink on
// machines without sound), purge, pause and resume, per-object settings,
// the effects journal, and teardown while speaking.
#include <dirent.h>
#include <stdlib.h>

#include <sstream>
#include <thread>

#include "platform/sapi/sapi.h"
#include "tests/platform/sapi/sapi_test_support.h"
#include "tests/support/temp_home.h"

using namespace sapi_test;
using namespace std::chrono_literals;

namespace {

constexpr const char16_t* kLongText =
    u"This sentence is long enough to keep the voice busy while the test looks at it. "
    u"And here is a second sentence for good measure.";

class SpVoiceTest : public SpeechTest {};

// Starts a long text and waits until some of it has been heard.
ULONG StartLongText(ISpVoice* voice) {
    ULONG stream = 0;
    EXPECT_EQ(S_OK, voice->Speak(kLongText, SPF_ASYNC, &stream));
    EXPECT_TRUE(WaitFor([&] { return Playback(voice).samplesPlayed > 0; }, 5s));
    return stream;
}

// Samples synthesised for the text at the rate.
ULONGLONG SynthesizedLength(ISpVoice* voice, LONG rate, const char16_t* text) {
    EXPECT_EQ(S_OK, voice->SetRate(rate));
    ULONG stream = 0;
    EXPECT_EQ(S_OK, voice->Speak(text, SPF_ASYNC | SPF_PURGEBEFORESPEAK, &stream));
    EXPECT_TRUE(WaitFor(
        [&] {
            const SpeechPlaybackInfo info = Playback(voice);
            return info.stream == stream && info.synthesisDone;
        },
        10s));
    const ULONGLONG length = Playback(voice).samplesSynthesized;
    voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    return length;
}

std::size_t ThreadCount() {
    std::size_t count = 0;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST_F(SpVoiceTest, SpeaksInTheBackgroundThenReportsDone) {
    CComPtr<ISpVoice> voice = NewVoice();
    ASSERT_TRUE(voice);
    EXPECT_EQ(SPRS_DONE, RunningState(voice));

    ULONG stream = 0;
    ASSERT_EQ(S_OK, voice->Speak(u"hello there", SPF_ASYNC, &stream));
    EXPECT_EQ(1u, stream);
    EXPECT_EQ(SPRS_IS_SPEAKING, RunningState(voice));
    ASSERT_TRUE(WaitUntilDone(voice));

    const SpeechPlaybackInfo info = Playback(voice);
    EXPECT_EQ(stream, info.stream);
    EXPECT_GT(info.samplesSynthesized, 0u);
    EXPECT_EQ(info.samplesSynthesized, info.samplesPlayed);
}

TEST_F(SpVoiceTest, SynchronousSpeakReturnsWhenDone) {
    CComPtr<ISpVoice> voice = NewVoice();
    ASSERT_EQ(S_OK, voice->Speak(u"yes", SPF_DEFAULT, nullptr));
    EXPECT_EQ(SPRS_DONE, RunningState(voice));
    EXPECT_EQ(Playback(voice).samplesSynthesized, Playback(voice).samplesPlayed);
}

TEST_F(SpVoiceTest, RejectsBadSpeakArguments) {
    CComPtr<ISpVoice> voice = NewVoice();
    EXPECT_EQ(E_INVALIDARG, voice->Speak(nullptr, SPF_ASYNC, nullptr));
    EXPECT_EQ(E_INVALIDARG, voice->Speak(u"x", SPF_ASYNC | 0x10000, nullptr));
    EXPECT_EQ(S_OK, voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
    EXPECT_EQ(SPRS_DONE, RunningState(voice));
}

TEST_F(SpVoiceTest, PurgeBeforeSpeakReplacesTheOldTextAtOnce) {
    // The whole old text's length, measured apart: how much of it was
    // synthesised before the purge depends on the machine's load.
    const ULONGLONG oldLength = SynthesizedLength(NewVoice(), 0, kLongText);
    CComPtr<ISpVoice> voice = NewVoice();
    StartLongText(voice);

    ULONG stream = 0;
    ASSERT_EQ(S_OK, voice->Speak(u"stop", SPF_ASYNC | SPF_PURGEBEFORESPEAK, &stream));
    SPVOICESTATUS status{};
    ASSERT_EQ(S_OK, voice->GetStatus(&status, nullptr));
    EXPECT_EQ(stream, status.ulCurrentStream);
    EXPECT_EQ(stream, status.ulLastStreamQueued);
    // The counters belong to the new text at once; its playback may already
    // have begun by the time they are read.
    EXPECT_EQ(stream, Playback(voice).stream);

    ASSERT_TRUE(WaitUntilDone(voice));
    const SpeechPlaybackInfo info = Playback(voice);
    EXPECT_EQ(stream, info.stream);
    EXPECT_EQ(info.samplesSynthesized, info.samplesPlayed);
    EXPECT_LT(info.samplesSynthesized, oldLength);
}

TEST_F(SpVoiceTest, PauseHoldsTheStateAndTheRemainingSpeech) {
    CComPtr<ISpVoice> voice = NewVoice();
    StartLongText(voice);
    ASSERT_EQ(S_OK, voice->Pause());
    const ULONGLONG played = Playback(voice).samplesPlayed;
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(0u, RunningState(voice));
    EXPECT_EQ(played, Playback(voice).samplesPlayed);

    ASSERT_EQ(S_OK, voice->Resume());
    EXPECT_EQ(SPRS_IS_SPEAKING, RunningState(voice));
    EXPECT_TRUE(WaitFor([&] { return Playback(voice).samplesPlayed > played; }, 5s));
    voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
}

TEST_F(SpVoiceTest, TextSpokenWhilePausedStartsOnlyAfterResume) {
    CComPtr<ISpVoice> voice = NewVoice();
    StartLongText(voice);
    ASSERT_EQ(S_OK, voice->Pause());
    ULONG stream = 0;
    ASSERT_EQ(S_OK, voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
    ASSERT_EQ(S_OK, voice->Speak(u"later", SPF_ASYNC, &stream));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(0u, RunningState(voice));
    EXPECT_EQ(stream, Playback(voice).stream);
    EXPECT_EQ(0u, Playback(voice).samplesPlayed);

    ASSERT_EQ(S_OK, voice->Resume());
    ASSERT_TRUE(WaitUntilDone(voice));
    EXPECT_EQ(stream, Playback(voice).stream);
    EXPECT_GT(Playback(voice).samplesPlayed, 0u);
}

TEST_F(SpVoiceTest, TwoVoicesKeepTheirOwnSettingsAndStates) {
    CComPtr<ISpVoice> first = NewVoice();
    CComPtr<ISpVoice> second = NewVoice();
    ASSERT_EQ(S_OK, first->SetRate(4));
    ASSERT_EQ(S_OK, second->SetVolume(30));
    StartLongText(first);
    ASSERT_EQ(S_OK, first->Pause());
    StartLongText(second);

    EXPECT_EQ(0u, RunningState(first));
    EXPECT_EQ(SPRS_IS_SPEAKING, RunningState(second));
    LONG rate = 0;
    USHORT volume = 0;
    ASSERT_EQ(S_OK, second->GetRate(&rate));
    ASSERT_EQ(S_OK, first->GetVolume(&volume));
    EXPECT_EQ(0, rate);
    EXPECT_EQ(100, volume);

    second->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    EXPECT_EQ(SPRS_DONE, RunningState(second));
    EXPECT_EQ(0u, RunningState(first));
}

TEST_F(SpVoiceTest, RateAndVolumeClampAtTheirEnds) {
    CComPtr<ISpVoice> voice = NewVoice();
    LONG rate = 0;
    USHORT volume = 0;
    for (auto [set, expected] : {std::pair{-11L, -10L}, {-10L, -10L}, {10L, 10L}, {1000L, 10L}}) {
        ASSERT_EQ(S_OK, voice->SetRate(set));
        ASSERT_EQ(S_OK, voice->GetRate(&rate));
        EXPECT_EQ(expected, rate);
    }
    for (auto [set, expected] : {std::pair<USHORT, USHORT>{0, 0}, {100, 100}, {101, 100}}) {
        ASSERT_EQ(S_OK, voice->SetVolume(set));
        ASSERT_EQ(S_OK, voice->GetVolume(&volume));
        EXPECT_EQ(expected, volume);
    }
    EXPECT_EQ(E_POINTER, voice->GetRate(nullptr));
}

TEST_F(SpVoiceTest, SlowerRatesGiveLongerSpeech) {
    CComPtr<ISpVoice> voice = NewVoice();
    const char16_t* text = u"one two three four five six";
    const ULONGLONG normal = SynthesizedLength(voice, 0, text);
    const ULONGLONG slow = SynthesizedLength(voice, -5, text);
    const ULONGLONG fast = SynthesizedLength(voice, 10, text);
    EXPECT_GT(slow, normal);
    EXPECT_LT(fast, normal);
}

TEST_F(SpVoiceTest, JournalsSpeechPauseResumeAndPurge) {
    testing_support::TempDir dir;
    const std::string journal = dir.File("journal.txt");
    setenv("KESTRO_JOURNAL", journal.c_str(), 1);
    CComPtr<ISpVoice> voice = NewVoice();
    CComPtr<ISpVoice> other = NewVoice();
    voice->SetRate(-3);
    voice->Speak(u"a\tb\nc\\d\r", SPF_ASYNC, nullptr);
    voice->Pause();
    voice->Pause();
    voice->Resume();
    voice->Resume();
    voice->Speak(u"next", SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr);
    voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);  // nothing left to drop
    other->Speak(u"x", SPF_ASYNC, nullptr);
    unsetenv("KESTRO_JOURNAL");
    voice->Speak(u"unrecorded", SPF_ASYNC, nullptr);

    const std::vector<std::string> lines = Lines(testing_support::ReadFile(journal));
    ASSERT_EQ(7u, lines.size());
    const std::string id = lines[1].substr(lines[1].find('\t') + 1);  // "voice N"
    const std::size_t open = lines[0].find(" (");
    ASSERT_NE(std::string::npos, open);
    EXPECT_EQ("speak\t" + id, lines[0].substr(0, open));
    const std::string tail = lines[0].substr(lines[0].find(", rate"));
    EXPECT_EQ(", rate -3, volume 100): a\\tb\\nc\\\\d\\r", tail);
    EXPECT_EQ("pause\t" + id, lines[1]);
    EXPECT_EQ("resume\t" + id, lines[2]);
    EXPECT_EQ("purge\t" + id, lines[3]);
    EXPECT_EQ(0u, lines[4].find("speak\t" + id + " ("));
    EXPECT_EQ("purge\t" + id, lines[5]);
    EXPECT_EQ(0u, lines[6].find("speak\tvoice "));
    EXPECT_EQ(std::string::npos, lines[6].find(id + " ("));
}

TEST_F(SpVoiceTest, DestroyingSpeakingVoicesLeavesNoThreadBehind) {
    NewVoice();  // the process's engine thread starts with the first voice
    const std::size_t before = ThreadCount();
    {
        CComPtr<ISpVoice> speaking = NewVoice();
        CComPtr<ISpVoice> paused = NewVoice();
        CComPtr<ISpVoice> queued = NewVoice();
        StartLongText(speaking);
        StartLongText(paused);
        paused->Pause();
        queued->Speak(kLongText, SPF_ASYNC, nullptr);
        queued->Speak(kLongText, SPF_ASYNC, nullptr);
        EXPECT_GE(ThreadCount(), before + 3);  // a player each (a sound server may add more)
    }
    EXPECT_EQ(before, ThreadCount());
    // The engine still serves voices made afterwards.
    CComPtr<ISpVoice> voice = NewVoice();
    ASSERT_EQ(S_OK, voice->Speak(u"ok", SPF_DEFAULT, nullptr));
    EXPECT_GT(Playback(voice).samplesPlayed, 0u);
}

}  // namespace
