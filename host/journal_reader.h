// Reads back the effects journal (platform/win/effects_journal.h): one
// entry a line, KIND <TAB> TEXT, each field with \\, \t, \n and \r
// escapes, which are undone here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct JournalEntry {
    std::u16string kind;
    std::u16string text;
};

// Every entry of the file; none when it does not exist.
std::vector<JournalEntry> ReadJournal(const std::string& path);
std::u16string UnescapeJournalField(std::string_view field);
