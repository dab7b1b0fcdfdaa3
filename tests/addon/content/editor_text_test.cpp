// Text shown in the editor: a new temporary file the user alone can read,
// handed over as one argument; failures are reported and start nothing.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "addon/content/text_output.h"
#include "platform/ui/message_box.h"
#include "tests/addon/content/content_test_support.h"

namespace content_test {

namespace {

class EditorText : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        m_addOn = &AddOn(OpenDemo("welcome.html"));
    }
    std::vector<std::string> TempFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(TempFolder()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    CEditHtml* m_addOn = nullptr;
};

TEST_F(EditorText, ANewPrivateTxtFileInTheTemporaryFolderIsHandedToTheEditor) {
    ShowTextInNotepad(*m_addOn, u"Plain caf\u00E9");
    ShowTextInNotepad(*m_addOn, u"\u03A9 wide");
    const std::vector<std::string> files = EditorFiles();
    ASSERT_EQ(2u, files.size());
    EXPECT_NE(files[0], files[1]);
    for (const std::string& file : files) {
        EXPECT_EQ(TempFolder() + "/", file.substr(0, TempFolder().size() + 1));
        const std::string name = file.substr(TempFolder().size() + 1);
        EXPECT_EQ("TFR", name.substr(0, 3));
        EXPECT_EQ(".tmp.txt", name.substr(name.size() - 8));
        struct stat st {};
        ASSERT_EQ(0, lstat(file.c_str(), &st));
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(0600u, st.st_mode & 0777u);
    }
    // The empty name file made the name unique and is gone.
    EXPECT_EQ(2u, TempFiles().size());
    EXPECT_EQ("Plain caf\xE9", testing_support::ReadFile(files[0]));
    EXPECT_EQ("\xFF\xFE" + Utf16Bytes(u"\u03A9 wide"), testing_support::ReadFile(files[1]));
}

TEST_F(EditorText, AMissingTemporaryFolderIsReported) {
    const std::string missing = TempFolder() + "/gone";
    setenv("TMPDIR", missing.c_str(), 1);
    Answer(u"message \"Kestro - Error\" \"Failed to create a temp file: " + Utf8ToUtf16(missing) +
           u"/!\" OK");
    ShowTextInNotepad(*m_addOn, u"text");
    EXPECT_TRUE(EditorFiles().empty());
}

// A file size limit makes the write fail part way, as a full disk does.
TEST_F(EditorText, AFailedWriteIsReportedTheFileRemovedAndTheEditorNotStarted) {
    rlimit saved{};
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &saved));
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    std::vector<MessageBoxRequest> messages;
    {
        UiWatch watch;
        watch.answerMessage = [&](const MessageBoxRequest& request) {
            messages.push_back(request);
            return std::optional<int>(IDOK);
        };
        ShowTextInNotepad(*m_addOn, std::u16string(10000, u'x'));
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ(u"Kestro - Save file", messages[0].title);
    EXPECT_EQ(UINT(MB_ICONERROR), messages[0].type);
    const std::u16string prefix = u"Failed to write file: " + Utf8ToUtf16(TempFolder()) + u"/TFR";
    EXPECT_EQ(prefix, messages[0].text.substr(0, prefix.size()));
    EXPECT_EQ(u".tmp.txt!", messages[0].text.substr(messages[0].text.size() - 9));
    EXPECT_TRUE(EditorFiles().empty());
    EXPECT_TRUE(TempFiles().empty());
}

}  // namespace

}  // namespace content_test
