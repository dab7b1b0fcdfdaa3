#include "host/journal_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win/effects_journal.h"
#include "tests/support/temp_home.h"

namespace {

TEST(JournalReader, ReadsBackWhatTheJournalWrote) {
    testing_support::TempDir folder;
    const std::string path = folder.File("journal.txt");
    setenv("KESTRO_JOURNAL", path.c_str(), 1);
    const std::u16string awkward = u"tab\there\r\nback\\slash \\n é";
    JournalEffect(u"copy", awkward);
    JournalEffect(u"kind\twith tab", u"");
    unsetenv("KESTRO_JOURNAL");

    const std::vector<JournalEntry> entries = ReadJournal(path);
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(u"copy", entries[0].kind);
    EXPECT_EQ(awkward, entries[0].text);
    EXPECT_EQ(u"kind\twith tab", entries[1].kind);
    EXPECT_EQ(u"", entries[1].text);
}

TEST(JournalReader, AMissingFileHasNoEntriesAndStrayLinesAreSkipped) {
    testing_support::TempDir folder;
    EXPECT_TRUE(ReadJournal(folder.File("none.txt")).empty());
    testing_support::WriteFile(folder.File("j.txt"), "no tab here\nwindow\tx\\qy\\\n");
    const std::vector<JournalEntry> entries = ReadJournal(folder.File("j.txt"));
    ASSERT_EQ(1u, entries.size());
    // Escapes the journal never writes stand as they are.
    EXPECT_EQ(u"x\\qy\\", entries[0].text);
}

}  // namespace
