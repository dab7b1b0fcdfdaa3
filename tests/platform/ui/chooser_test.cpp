#include <gtest/gtest.h>

#include "platform/ui/file_chooser.h"
#include "platform/ui/folder_chooser.h"
#include "platform/ui/message_box.h"
#include "platform/win/text.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/support/temp_home.h"

using testing_support::TempDir;
using ui_testing::ScriptedUi;

TEST(MessageBoxes, ReturnTheAnsweredButtonAndRecordWhatWasShown) {
    ScriptedUi ui;
    ui.Answer(u"message \"Save login confirmation\" \"Replace (YES)\\nor not?\" No");
    EXPECT_EQ(MessageBoxW(nullptr, u"Replace (YES)\nor not?", u"Save login confirmation",
                          MB_YESNO | MB_ICONQUESTION),
              IDNO);
    const ShownThing& shown = ui.backend().Shown().at(0);
    EXPECT_EQ(shown.kind, ShownThing::Kind::MessageBox);
    EXPECT_EQ(shown.message.type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(DescribeShown(shown),
              "message \"Save login confirmation\" \"Replace (YES)\\nor not?\" buttons Yes No "
              "question icon\n");
}

TEST(MessageBoxes, AButtonTheBoxLacksOrAnotherTextFails) {
    ScriptedUi ui;
    ui.Answer(u"message \"Kestro\" \"Done\" Cancel");
    EXPECT_EQ(MessageBoxW(nullptr, u"Done", u"Kestro", MB_OK), 0);
    EXPECT_NE(ui.backend().Failure().find("has no such button"), std::string::npos);

    ScriptedUi other;
    other.Answer(u"message \"Kestro\" \"Other\" OK");
    EXPECT_EQ(MessageBoxW(nullptr, u"Done", u"Kestro", MB_OK), 0);
    EXPECT_NE(other.backend().Failure().find("Shown:\nmessage \"Kestro\" \"Done\""),
              std::string::npos);
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x4321), u"x", u"y", MB_OK), 0);
}

TEST(FileChoosers, FillTheCallersBufferAndAddTheDefaultExtension) {
    TempDir folder;
    const std::u16string notes = Utf8ToUtf16(folder.path());
    ScriptedUi ui;
    ui.Answer(u"file " + notes + u"/report");
    char16_t file[260] = u"/home/user/";
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.lpstrFilter = u"All files (*.*)\0*.*\0Text files (*.txt)\0*.txt\0";
    info.nFilterIndex = 2;
    info.lpstrFile = file;
    info.nMaxFile = 260;
    info.lpstrTitle = u"Save text file";
    info.lpstrDefExt = u"txt";
    info.Flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    ASSERT_TRUE(GetSaveFileNameW(&info)) << ui.backend().Failure();
    EXPECT_EQ(std::u16string(file), notes + u"/report.txt");
    EXPECT_EQ(info.nFileOffset, notes.size() + 1);
    EXPECT_EQ(info.nFileExtension, notes.size() + 8);
    const FileChooserRequest& shown = ui.backend().Shown().at(0).file;
    EXPECT_EQ(shown.initialPath, u"/home/user/");
    EXPECT_EQ(shown.filters.size(), 2u);
    EXPECT_EQ(shown.filters[1].second, u"*.txt");
    EXPECT_EQ(shown.filterIndex, 2);

    ui.Answer(u"file -");
    EXPECT_FALSE(GetSaveFileNameW(&info));
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    ui.Answer(u"file /a/path/longer/than/the/buffer.txt");
    info.Flags = 0;  // the folder does not exist
    info.nMaxFile = 8;
    EXPECT_FALSE(GetOpenFileNameW(&info));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(file[0], 35);  // the size needed
}

// A save chooser as the save-text dialog opens it.
class ChooserChecks : public ::testing::Test {
protected:
    ChooserChecks() : m_folder(Utf8ToUtf16(m_dir.path())) {
        m_info.lStructSize = sizeof m_info;
        m_info.lpstrFile = m_file;
        m_info.nMaxFile = 260;
        m_info.lpstrTitle = u"Save text file";
        m_info.lpstrDefExt = u"txt";
    }
    std::u16string Chosen() const { return m_file; }
    void Answer(const std::u16string& line) { m_ui.Answer(line); }
    std::u16string Quoted(const std::u16string& text) const { return u"\"" + text + u"\""; }

    TempDir m_dir;
    const std::u16string m_folder;
    ScriptedUi m_ui;
    char16_t m_file[260] = {};
    OPENFILENAMEW m_info{};
};

TEST_F(ChooserChecks, AMissingFolderIsRefusedAndTheChooserStaysOpen) {
    const std::u16string missing = m_folder + u"/no folder/report.txt";
    m_info.Flags = OFN_PATHMUSTEXIST;
    Answer(u"file " + missing);
    Answer(u"message \"Save text file\" " +
           Quoted(missing + u"\\nPath does not exist.\\nCheck the path and try again.") + u" OK");
    Answer(u"file " + m_folder + u"/report");
    ASSERT_TRUE(GetSaveFileNameW(&m_info)) << m_ui.backend().Failure();
    EXPECT_EQ(Chosen(), m_folder + u"/report.txt");
    const std::vector<ShownThing>& shown = m_ui.backend().Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, ShownThing::Kind::MessageBox);
    EXPECT_EQ(shown[1].message.type, MB_OK | MB_ICONEXCLAMATION);

    // Without the flag the same path is taken as it is.
    m_info.Flags = 0;
    Answer(u"file " + missing);
    ASSERT_TRUE(GetSaveFileNameW(&m_info)) << m_ui.backend().Failure();
    EXPECT_EQ(Chosen(), missing);
}

TEST_F(ChooserChecks, AnExistingFileIsReplacedOnlyAfterYes) {
    testing_support::WriteFile(m_dir.File("report.txt"), "old");
    const std::u16string question =
        u"message \"Save text file\" \"report.txt already exists.\\nDo you want to replace it?\" ";
    m_info.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    Answer(u"file " + m_folder + u"/report");  // the default extension makes it the existing file
    Answer(question + u"No");
    Answer(u"file " + m_folder + u"/other");
    ASSERT_TRUE(GetSaveFileNameW(&m_info)) << m_ui.backend().Failure();
    EXPECT_EQ(Chosen(), m_folder + u"/other.txt");
    EXPECT_EQ(m_ui.backend().Shown().at(1).message.type, MB_YESNO | MB_ICONEXCLAMATION);

    Answer(u"file " + m_folder + u"/report.txt");
    Answer(question + u"Yes");
    ASSERT_TRUE(GetSaveFileNameW(&m_info)) << m_ui.backend().Failure();
    EXPECT_EQ(Chosen(), m_folder + u"/report.txt");

    // An open chooser never asks; without an answer to its question, a save
    // chooser fails as a cancelled one.
    Answer(u"file " + m_folder + u"/report.txt");
    ASSERT_TRUE(GetOpenFileNameW(&m_info)) << m_ui.backend().Failure();
    Answer(u"file " + m_folder + u"/report.txt");
    EXPECT_FALSE(GetSaveFileNameW(&m_info));
    EXPECT_NE(m_ui.backend().Failure().find("already exists"), std::string::npos);
}

TEST(FolderChoosers, GiveAnItemListThatTheShellAllocatorFrees) {
    ScriptedUi ui;
    ui.Answer(u"file \"/home/user/My Texts\"");
    char16_t name[MAX_PATH];
    BROWSEINFOW info{};
    info.pszDisplayName = name;
    info.lpszTitle = u"Select or create the default file save folder.";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST list = SHBrowseForFolderW(&info);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(std::u16string(name), u"My Texts");
    char16_t path[MAX_PATH];
    EXPECT_TRUE(SHGetPathFromIDListW(list, path));
    EXPECT_EQ(std::u16string(path), u"/home/user/My Texts");
    IMalloc* allocator = nullptr;
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    allocator->Free(list);
    allocator->Release();

    const char notAList[16] = "something else";
    EXPECT_FALSE(SHGetPathFromIDListW(reinterpret_cast<LPCITEMIDLIST>(notAList), path));
    ui.Answer(u"file -");
    EXPECT_EQ(SHBrowseForFolderW(&info), nullptr);
    EXPECT_EQ(ui.backend().Shown().at(0).folder.title,
              u"Select or create the default file save folder.");
}
