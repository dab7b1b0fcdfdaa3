#include <gtest/gtest.h>

#include "platform/ui/file_chooser.h"
#include "platform/ui/folder_chooser.h"
#include "platform/ui/message_box.h"
#include "tests/platform/ui/scripted_ui.h"

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
    ScriptedUi ui;
    ui.Answer(u"file /home/user/notes/report");
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
    ASSERT_TRUE(GetSaveFileNameW(&info));
    EXPECT_EQ(std::u16string(file), u"/home/user/notes/report.txt");
    EXPECT_EQ(info.nFileOffset, 17);
    EXPECT_EQ(info.nFileExtension, 24);
    const FileChooserRequest& shown = ui.backend().Shown().at(0).file;
    EXPECT_EQ(shown.initialPath, u"/home/user/");
    EXPECT_EQ(shown.filters.size(), 2u);
    EXPECT_EQ(shown.filters[1].second, u"*.txt");
    EXPECT_EQ(shown.filterIndex, 2);

    ui.Answer(u"file -");
    EXPECT_FALSE(GetSaveFileNameW(&info));
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    ui.Answer(u"file /a/path/longer/than/the/buffer.txt");
    info.nMaxFile = 8;
    EXPECT_FALSE(GetOpenFileNameW(&info));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(file[0], 35);  // the size needed
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
