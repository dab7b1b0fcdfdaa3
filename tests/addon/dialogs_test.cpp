// The Options and About dialogs as a user answers them.
#include "tests/addon/addon_test_support.h"

namespace addon_test {

namespace {

class Dialogs : public AddOnTest {
protected:
    void SetUp() override {
        AddOnTest::SetUp();
        browser::BrowserWindow& window = OpenDemo("welcome.html");
        m_addOn = AddOnOf(window);
        ASSERT_NE(nullptr, m_addOn);
    }
    DWORD Stored(const char16_t* name) {
        DWORD value = 99;
        EXPECT_TRUE(Setting(name, value));
        return value;
    }
    std::string Tool() const { return ProgramFolder() + "/Quillet"; }

    CEditHtml* m_addOn = nullptr;
};

TEST_F(Dialogs, OptionsRefusesZeroLinksAndTakesAThousand) {
    Answer(u"dialog \"Kestro - Options\"");
    Answer(u"set 220 0");
    Answer(u"press 1");
    Answer(u"message \"Kestro - Error\" \"Invalid maximum number of links!\" OK");
    Answer(u"untick 201");
    Answer(u"set 220 1000");
    Answer(u"press 1");
    m_addOn->ShowOptions();
    EXPECT_EQ(1000u, m_addOn->m_nMaxLinks);
    EXPECT_EQ(1000u, Stored(u"Maximum Links"));
    EXPECT_EQ(0u, Stored(u"Append URL"));
}

TEST_F(Dialogs, OptionsKeepsItsDialogOpenForAnEmptyLinksField) {
    Answer(u"dialog \"Kestro - Options\"");
    Answer(u"untick 206");
    Answer(u"tick 203");
    Answer(u"set 220 \"\"");
    Answer(u"press 1");
    Answer(u"press 2");
    const int beeps = Ui().Beeps();
    m_addOn->ShowOptions();
    EXPECT_EQ(beeps + 1, Ui().Beeps());
    EXPECT_EQ(1u, m_addOn->m_bAskSaveLogin);
    EXPECT_EQ(0u, m_addOn->m_bOpenNewWindow);
    EXPECT_EQ(1u, Stored(u"Ask Save Login"));
}

TEST_F(Dialogs, ChoosingAFolderUndoesUnsavedCheckBoxes) {
    Answer(u"dialog \"Kestro - Options\"");
    Answer(u"untick 201");
    Answer(u"tick 205");
    Answer(u"press 218");
    Answer(u"file " + Utf8ToUtf16(ProgramFolder()));
    Answer(u"press 1");
    m_addOn->ShowOptions();
    EXPECT_EQ(Utf8ToUtf16(ProgramFolder()), m_addOn->m_strDefaultSaveFolder);
    EXPECT_EQ(1u, Stored(u"Append URL"));
    EXPECT_EQ(0u, Stored(u"Open PDF New Window"));
}

TEST_F(Dialogs, TheToolButtonsStartQuilletAndTheDialogStaysOpen) {
    Answer(u"dialog \"Kestro - Options\"");
    Answer(u"press 224");
    Answer(u"press 225");
    Answer(u"press 226");
    Answer(u"press 2");
    m_addOn->ShowOptions();
    EXPECT_EQ((std::vector<std::string>{Tool() + " /import", Tool() + " /export", Tool()}),
              JournalOf("shell"));
}

TEST_F(Dialogs, TheHelpButtonOpensTheHelpPageOnlyWhenItIsThere) {
    Answer(u"dialog \"About Kestro\"");
    Answer(u"press 226");
    m_addOn->ShowAbout();
    EXPECT_EQ((std::vector<std::string>{ProgramFolder() + "/KestroHelp.htm"}), JournalOf("shell"));

    std::remove((ProgramFolder() + "/KestroHelp.htm").c_str());
    Answer(u"dialog \"About Kestro\"");
    Answer(u"press 226");
    Answer(u"press 1");
    m_addOn->ShowAbout();
    EXPECT_EQ(1u, JournalOf("shell").size());
}

}  // namespace

}  // namespace addon_test
