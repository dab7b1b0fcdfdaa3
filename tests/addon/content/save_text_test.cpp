// Saving text through the Save text file dialog, checked byte for byte in
// the files written, with the questions the dialog asks and the settings
// it keeps.
#include <sys/stat.h>
#include <unistd.h>

#include "addon/content/text_output.h"
#include "addon/registry_text.h"
#include "addon/settings.h"
#include "platform/ui/file_chooser.h"
#include "tests/addon/content/content_test_support.h"

namespace content_test {

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

constexpr char16_t kDialog[] = u"dialog \"Kestro - Save text file\"";

class SaveText : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        m_addOn = &AddOn(OpenDemo("welcome.html"));
    }
    // Runs a save of text with the dialog answered by lines (after the
    // dialog line itself).
    void Save(const std::u16string& text, std::initializer_list<std::u16string> lines) {
        Answer(kDialog);
        for (const std::u16string& line : lines) Answer(line);
        SaveTextToFile(*m_addOn, text);
    }
    // A plain save into a file of the save folder: the choices made, the
    // path typed in full, the saved file not shown.
    void SaveAs(const std::string& name, const std::u16string& text,
                std::initializer_list<std::u16string> choices = {}) {
        Answer(kDialog);
        for (const std::u16string& line : choices) Answer(line);
        Answer(u"set 204 " + SavePath(name));
        Answer(u"untick 209");
        Answer(u"press 1");
        SaveTextToFile(*m_addOn, text);
    }
    std::string Saved(const std::string& name) const {
        return ReadFile(Utf16ToUtf8(SavePath(name)));
    }
    void Put(const std::string& name, const std::string& bytes) const {
        WriteFile(Utf16ToUtf8(SavePath(name)), bytes);
    }
    DWORD Stored(const char16_t* name) {
        DWORD value = 99;
        EXPECT_TRUE(addon_test::Setting(name, value));
        return value;
    }
    // The last dialog as it was first shown.
    const DialogSnapshot& ShownDialog() {
        const std::vector<ShownThing>& shown = Ui().Shown();
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (it->kind == ShownThing::Kind::Dialog) return it->dialog;
        ADD_FAILURE() << "no dialog was shown";
        static const DialogSnapshot none;
        return none;
    }
    const ControlSnapshot& Control(int id) {
        for (const ControlSnapshot& control : ShownDialog().controls)
            if (control.id == id) return control;
        ADD_FAILURE() << "no control " << id;
        static const ControlSnapshot none;
        return none;
    }

    std::u16string StoredText(const char16_t* name) {
        HKEY key = nullptr;
        std::u16string text;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            ReadRegistryText(key, name, text);
            RegCloseKey(key);
        }
        return text;
    }

    CEditHtml* m_addOn = nullptr;
};

TEST_F(SaveText, ANewFileGetsTheAnsiBytesAndOverwritingReplacesThem) {
    SaveAs("new.txt", u"Kestrel, caf\u00E9 \u20AC5\r\n");
    EXPECT_EQ(Hex("Kestrel, caf\xE9 \x80"
                  "5\r\n"),
              Hex(Saved("new.txt")));
    // A full path with an extension is taken without a question.
    SaveAs("new.txt", u"Short");
    EXPECT_EQ("Short", Saved("new.txt"));
    SaveAs("new.txt", u"Unicode \u03A9", {u"tick 208"});
    EXPECT_EQ(Hex("\xFF\xFE" + Utf16Bytes(u"Unicode \u03A9")), Hex(Saved("new.txt")));
}

TEST_F(SaveText, AppendingAddsTheSameEncodingWithNothingBetween) {
    Put("ansi.txt", "abc");
    SaveAs("ansi.txt", u"def", {u"tick 207"});
    SaveAs("ansi.txt", u"\u00E9", {u"tick 207"});
    EXPECT_EQ("abcdef\xE9", Saved("ansi.txt"));

    // A Unicode file takes UTF-16 without a second mark, ANSI-able text too.
    Put("wide.txt", "\xFF\xFE" + Utf16Bytes(u"a"));
    SaveAs("wide.txt", u"\u03A9", {u"tick 207"});
    SaveAs("wide.txt", u"b", {u"tick 207"});
    EXPECT_EQ(Hex("\xFF\xFE" + Utf16Bytes(u"a\u03A9b")), Hex(Saved("wide.txt")));
}

TEST_F(SaveText, AnEmptyFileIsANewOneAndGetsTheMark) {
    Put("empty.txt", "");
    SaveAs("empty.txt", u"\u03A9", {u"tick 207"});
    EXPECT_EQ(Hex("\xFF\xFE" + Utf16Bytes(u"\u03A9")), Hex(Saved("empty.txt")));
    EXPECT_EQ(0u, Stored(u"Append File"));
    // Empty text needs UTF-16: a new file of exactly the mark.
    SaveAs("nothing.txt", u"");
    EXPECT_EQ("\xFF\xFE", Saved("nothing.txt"));
}

TEST_F(SaveText, UnicodeIsNeverAppendedToAnAnsiFile) {
    for (const auto& choices : {std::initializer_list<std::u16string>{u"tick 207"},
                                std::initializer_list<std::u16string>{u"tick 207", u"tick 208"}}) {
        Put("ansi.txt", "abc");
        Answer(kDialog);
        for (const std::u16string& line : choices) Answer(line);
        Answer(u"set 204 " + SavePath("ansi.txt"));
        Answer(u"untick 209");
        Answer(u"press 1");
        Answer(
            u"message \"Kestro - Save file\" \"You cannot append Unicode text to a non-Unicode "
            u"file!\" OK");
        SaveTextToFile(*m_addOn, choices.size() == 1 ? u"\u03A9" : u"plain");
        EXPECT_EQ("abc", Saved("ansi.txt"));
        // The stored settings are not written after a refused save.
        DWORD unused = 0;
        EXPECT_TRUE(addon_test::Setting(u"Append File", unused));
        EXPECT_EQ(0u, unused);
    }
    // A one-byte file holding FF is not a Unicode file.
    Put("one.txt", "\xFF");
    Answer(kDialog);
    Answer(u"tick 207");
    Answer(u"set 204 " + SavePath("one.txt"));
    Answer(u"press 1");
    Answer(
        u"message \"Kestro - Save file\" \"You cannot append Unicode text to a non-Unicode "
        u"file!\" OK");
    SaveTextToFile(*m_addOn, u"\u03A9");
    EXPECT_EQ("\xFF", Saved("one.txt"));
}

TEST_F(SaveText, TheAnsiTestCoversTheWholeText) {
    const std::u16string ansi(300, u'x');
    const std::string bytes(300, 'x');
    const struct {
        std::u16string text;
        std::string saved;
    } cases[] = {
        // Fails within the first 256 characters, and only after them.
        {u"\u0100" + ansi, "\xFF\xFE" + Utf16Bytes(u"\u0100" + ansi)},
        {ansi + u"\u0100", "\xFF\xFE" + Utf16Bytes(ansi + u"\u0100")},
        // Text that passes is written as before, one byte a character.
        {ansi + u"\u00FF", bytes + "\xFF"},
        {ansi + u"\u20AC\u0152\u2122", bytes + "\x80\x8C\x99"},
    };
    for (const auto& c : cases) {
        SaveAs("test.txt", c.text);
        EXPECT_EQ(Hex(c.saved), Hex(Saved("test.txt")));
    }
}

TEST_F(SaveText, ARelativeNameGoesIntoTheDefaultFolderAndAskedBeforeOverwriting) {
    addon_test::SetSettingText(u"Default Save Folder", Utf8ToUtf16(SaveFolder()));
    Save(u"first", {u"set 204 report", u"untick 209", u"press 1"});
    EXPECT_EQ("first", Saved("report.txt"));
    const std::u16string question = u"message \"Kestro - Save file\" \"The file: \\\"" +
                                    SavePath("report.txt") +
                                    u"\\\" already exists.\\nDo you want to overwrite it?\" ";
    Save(u"second", {u"set 204 report", u"untick 209", u"press 1", question + u"No", u"press 1",
                     question + u"Yes"});
    EXPECT_EQ("second", Saved("report.txt"));
    // Appending asks nothing: the file is meant to exist.
    Save(u"+", {u"tick 207", u"set 204 report", u"untick 209", u"press 1"});
    EXPECT_EQ("second+", Saved("report.txt"));
    EXPECT_EQ(SavePath("report.txt"), m_addOn->m_strLastFileName);
}

TEST_F(SaveText, ARelativeNameWithoutAFolderIsConfirmedForTheCurrentDirectory) {
    char previous[4096] = {};
    ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
    const std::string before(previous);
    ASSERT_EQ(0, chdir(SaveFolder().c_str()));
    const std::u16string question =
        u"message \"Kestro - Save file\" \"Do you want to save the "
        u"file in location: " +
        Utf8ToUtf16(SaveFolder()) + u"?\" ";
    Save(u"here", {u"set 204 notes.log", u"untick 209", u"press 1", question + u"No", u"press 1",
                   question + u"Yes"});
    ASSERT_EQ(0, chdir(before.c_str()));
    EXPECT_EQ("here", Saved("notes.log"));
}

TEST_F(SaveText, ANameWithoutExtensionGetsTxtAndAnEmptyNameIsRefused) {
    Save(u"a", {u"set 204 \"\"", u"press 1",
                u"message \"Kestro - Save file\" \"File name cannot be empty!\" OK",
                u"set 204 " + SavePath("plain"), u"untick 209", u"press 1"});
    EXPECT_EQ("a", Saved("plain.txt"));
    // A path ending in a folder gets a file named ".txt" there.
    Save(u"b", {u"set 204 " + SavePath(""), u"untick 209", u"press 1"});
    EXPECT_EQ("b", Saved(".txt"));
    // A dot in a folder name is not an extension.
    ASSERT_EQ(0, mkdir((SaveFolder() + "/v1.2").c_str(), 0755));
    Save(u"c", {u"set 204 " + SavePath("v1.2/notes"), u"untick 209", u"press 1"});
    EXPECT_EQ("c", Saved("v1.2/notes.txt"));
}

TEST_F(SaveText, TheCleanUpsApplyToThisSaveAndTheJoinDependsOnTheEncoding) {
    const std::u16string text = u"l1\r\n\r\nl2\r\n\r\n\r\n\r\np2\r\nend";
    SaveAs("clean.txt", text, {u"tick 210", u"tick 211"});
    EXPECT_EQ("l1 l2\r\n\r\np2 end", Saved("clean.txt"));
    // The remove choice is remembered by the window, the blank-line one not.
    EXPECT_EQ(1u, m_addOn->m_bRemoveImproperCrLf);
    Answer(kDialog);
    Answer(u"set 204 " + SavePath("wide.txt"));
    Answer(u"untick 209");
    Answer(u"tick 208");
    Answer(u"press 1");
    SaveTextToFile(*m_addOn, text);
    EXPECT_EQ(1, Control(210).check);
    EXPECT_EQ(0, Control(211).check);
    EXPECT_TRUE(Control(211).enabled);
    // Without the blank-line choice the first blank line is a paragraph
    // break; in UTF-16 joined lines get no blank.
    EXPECT_EQ(Hex("\xFF\xFE" + Utf16Bytes(u"l1\r\n\r\nl2\r\n\r\np2end")), Hex(Saved("wide.txt")));
}

TEST_F(SaveText, TheBlankLineChoiceWaitsForTheRemoveChoice) {
    // 211 can be ticked only once 210 is: a disabled box takes no answer.
    SaveAs("waits.txt", u"a\r\n\r\nb", {u"tick 210", u"tick 211"});
    EXPECT_FALSE(Control(211).enabled);
    EXPECT_EQ("a b", Saved("waits.txt"));
}

TEST_F(SaveText, ASavedFileIsShownAndTheChoicesAreStored) {
    Save(u"shown", {u"set 204 \"" + SavePath("with blank.txt") + u"\"", u"press 1"});
    EXPECT_EQ((std::vector<std::string>{Utf16ToUtf8(SavePath("with blank.txt"))}), EditorFiles());
    EXPECT_EQ(1u, Stored(u"Show Saved Text"));
    Save(u"+", {u"tick 207", u"untick 209", u"press 1"});
    EXPECT_EQ("shown+", Saved("with blank.txt"));
    EXPECT_EQ(1u, Stored(u"Append File"));
    EXPECT_EQ(0u, Stored(u"Show Saved Text"));
    EXPECT_EQ(1u, EditorFiles().size());
    // The next save starts from them: appending to the last file.
    Save(u"", {u"press 2"});
    EXPECT_EQ(SavePath("with blank.txt"), Control(204).text);
    EXPECT_EQ(BST_CHECKED, Control(207).check);
}

TEST_F(SaveText, CancellingChangesNothing) {
    addon_test::SetSettingText(u"Last File Name", u"/kept.txt");
    Save(u"text", {u"set 204 " + SavePath("no.txt"), u"tick 207", u"untick 209", u"press 2"});
    EXPECT_EQ("", Saved("no.txt"));
    EXPECT_EQ(1u, Stored(u"Show Saved Text"));
    EXPECT_EQ(0u, Stored(u"Append File"));
    EXPECT_EQ(u"/kept.txt", m_addOn->m_strLastFileName);
}

TEST_F(SaveText, AShortSelectionIsProposedOnlyAsAPlainName) {
    const struct {
        const char16_t* selection;
        const char16_t* proposed;
    } cases[] = {
        {u"report", u"report"},
        {u"fifteen chars!!", u"fifteen chars!!"},
        {u"sixteen chars!!!", u""},
        {u"../../etc/x", u""},
        {u"a\\b", u""},
        {u".profile", u""},
        {u"two\r\nlines", u""},
        {u"", u""},
    };
    for (const auto& c : cases) {
        m_addOn->m_bstrSelection = c.selection;
        Save(u"", {u"press 2"});
        EXPECT_EQ(std::u16string(c.proposed), Control(204).text) << Utf16ToUtf8(c.selection);
    }
}

TEST_F(SaveText, TheChooserStartsInTheFolderAndAddsTxt) {
    Save(u"chosen", {u"set 204 " + SavePath("old.txt"), u"press 205", u"file " + SavePath("picked"),
                     u"untick 209", u"press 1"});
    EXPECT_EQ("chosen", Saved("picked.txt"));
    const FileChooserRequest* request = nullptr;
    for (const ShownThing& shown : Ui().Shown())
        if (shown.kind == ShownThing::Kind::FileChooser) request = &shown.file;
    ASSERT_NE(nullptr, request);
    EXPECT_EQ(u"Save text file", request->title);
    EXPECT_EQ(Utf8ToUtf16(SaveFolder() + "/"), request->initialPath);
    EXPECT_EQ(2, request->filterIndex);
    ASSERT_EQ(2u, request->filters.size());
    EXPECT_EQ(u"Text files (*.txt)", request->filters[1].first);
    EXPECT_EQ(DWORD(OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT), request->flags);
}

// Failures end the save: no editor, and the stored settings stay as they
// were (the window keeps the dialog's choices until its next save).
TEST_F(SaveText, AFileThatCannotBeCreatedIsReported) {
    const std::u16string path = SavePath("missing/folder.txt");
    Save(u"x", {u"set 204 " + path, u"press 1",
                u"message \"Kestro - Save file\" \"Failed to create file: " + path +
                    u"!\\nMake sure the file path is correct.\\n\" OK"});
    EXPECT_TRUE(EditorFiles().empty());
    EXPECT_EQ(u"", StoredText(u"Last File Name"));
    EXPECT_EQ(path, m_addOn->m_strLastFileName);
}

// A file on a full disk opens and then refuses the bytes.
TEST_F(SaveText, AFailedWriteIsReportedAndTheEditorNotStarted) {
    ASSERT_EQ(0, symlink("/dev/full", Utf16ToUtf8(SavePath("full.txt")).c_str()));
    Save(u"no room", {u"set 204 " + SavePath("full.txt"), u"press 1",
                      u"message \"Kestro - Save file\" \"Failed to write file: " +
                          SavePath("full.txt") + u"!\" OK"});
    EXPECT_TRUE(EditorFiles().empty());
    EXPECT_EQ(u"", StoredText(u"Last File Name"));
}

}  // namespace

}  // namespace content_test
