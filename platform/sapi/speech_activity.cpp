#include "platform/sapi/speech_activity.h"

#include <condition_variable>
#include <mutex>

namespace {

struct VoiceActivity {
    const void* voice;
    std::u16string name;
    bool done = true;
};

// Voices report from their callers' threads and their player threads.
struct ActivityTable {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<VoiceActivity> voices;  // in the order they were first seen

    VoiceActivity& Find(const void* voice) {
        for (VoiceActivity& entry : voices)
            if (entry.voice == voice) return entry;
        voices.push_back({voice, {}, true});
        return voices.back();
    }
};

ActivityTable& Table() {
    // Never destroyed: player threads may report while the program ends.
    static ActivityTable* table = new ActivityTable();
    return *table;
}

bool AllDone(const ActivityTable& table) {
    for (const VoiceActivity& entry : table.voices)
        if (!entry.done) return false;
    return true;
}

}  // namespace

void NameSpeechVoice(const void* voice, const std::u16string& name) {
    ActivityTable& table = Table();
    std::lock_guard lock(table.mutex);
    table.Find(voice).name = name;
}

void NoteSpeechVoiceDone(const void* voice, bool done) {
    ActivityTable& table = Table();
    std::lock_guard lock(table.mutex);
    VoiceActivity& entry = table.Find(voice);
    if (entry.done == done) return;
    entry.done = done;
    if (done) table.changed.notify_all();
}

void ForgetSpeechVoice(const void* voice) {
    ActivityTable& table = Table();
    std::lock_guard lock(table.mutex);
    std::erase_if(table.voices,
                  [voice](const VoiceActivity& entry) { return entry.voice == voice; });
    table.changed.notify_all();
}

bool WaitForSpeechDone(std::chrono::milliseconds limit,
                       std::vector<std::u16string>& stillSpeaking) {
    ActivityTable& table = Table();
    std::unique_lock lock(table.mutex);
    stillSpeaking.clear();
    if (table.changed.wait_for(lock, limit, [&table] { return AllDone(table); })) return true;
    for (const VoiceActivity& entry : table.voices)
        if (!entry.done) stillSpeaking.push_back(entry.name.empty() ? u"a voice" : entry.name);
    return false;
}
