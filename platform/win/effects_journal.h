// The effects journal: effects that leave the process (speech, programs
// started, URLs opened, print requests...) are also written here so that
// automated runs can check them.
//
// KESTRO_JOURNAL names the file, read at every call; when it is unset or
// empty nothing is written. Each effect is one line, UTF-8:
//
//     KIND <TAB> TEXT <LF>
//
// where KIND and TEXT have backslash, tab, line feed and carriage return
// written as \\, \t, \n and \r, so a line never splits and a tab always
// separates the kind from the text. Lines are appended with O_APPEND in one
// write, so several processes may share the file; a failure to write is
// ignored (the effect itself has happened).
#pragma once

#include <string>
#include <string_view>

void JournalEffect(std::u16string_view kind, std::u16string_view text);

// The escaped UTF-8 form one field takes in a journal line.
std::string EscapeJournalField(std::u16string_view field);
