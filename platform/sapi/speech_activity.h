// Which voice objects of the process are still speaking. Each voice names
// itself here and its queue reports whenever its running state reaches or
// leaves SPRS_DONE (a paused voice is not done), so a host can wait until
// every voice has finished. Process-wide: a library loaded into a program
// that links this one reports to the program's copy, because the program
// exports its symbols and these functions are not inline.
#pragma once

#include <chrono>
#include <string>
#include <vector>

// voice: any address that stands for the voice while it lives.
void NameSpeechVoice(const void* voice, const std::u16string& name);
void NoteSpeechVoiceDone(const void* voice, bool done);
// The voice is gone (counts as done).
void ForgetSpeechVoice(const void* voice);

// True once every voice is done, at once when none is speaking; false when
// `limit` passed first, with the names of the voices still not done, in
// the order they were named.
bool WaitForSpeechDone(std::chrono::milliseconds limit, std::vector<std::u16string>& stillSpeaking);
