// Shell execution: what is started or opened, the journal line each
// execution writes, the scripted UI starting nothing, and the failures as
// ShellExecuteW and ShellExecuteExW report them.
#include "platform/ui/shell_execute.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/command_line_arguments.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/support/temp_home.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

INT_PTR Code(HINSTANCE result) {
    return reinterpret_cast<INT_PTR>(result);
}

void WriteProgram(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    chmod(path.c_str(), 0755);
}

// The whole file once it exists; programs started detached write their
// report under another name and rename it, so it is never seen half done.
std::string AwaitFile(const std::string& path) {
    for (int i = 0; i < 400 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return ReadFile(path);
}

// Each test gets a journal, a folder, and the environment back afterwards.
class ShellExecution : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"KESTRO_JOURNAL", "KESTRO_UI_SCRIPT", "PATH"}) {
            const char* value = std::getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        setenv("KESTRO_JOURNAL", m_dir.File("journal.txt").c_str(), 1);
        unsetenv("KESTRO_UI_SCRIPT");
    }
    void TearDown() override {
        for (auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    std::string Journal() const { return ReadFile(m_dir.File("journal.txt")); }
    std::u16string Path(const std::string& name) const { return Utf8ToUtf16(m_dir.File(name)); }
    // A PATH holding only a folder with a stand-in xdg-open that reports what
    // it was given.
    void UseRecordingOpener() {
        std::filesystem::create_directory(m_dir.File("bin"));
        WriteProgram(m_dir.File("bin/xdg-open"),
                     "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s' \"$1\" > '" +
                         m_dir.File("opened.tmp") + "' && mv '" + m_dir.File("opened.tmp") + "' '" +
                         m_dir.File("opened.txt") + "'\n");
        setenv("PATH", m_dir.File("bin").c_str(), 1);
    }

    TempDir m_dir;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

TEST(CommandLineArguments, SplitAsWindowsSplitsThem) {
    struct Case {
        const char16_t* line;
        std::vector<std::u16string> arguments;
    };
    const Case cases[] = {
        {u"", {}},
        {u"  \t ", {}},
        {u"a b\tc", {u"a", u"b", u"c"}},
        {u"\"a b\" c", {u"a b", u"c"}},
        {u"/tmp/My Texts/notes.txt", {u"/tmp/My", u"Texts/notes.txt"}},
        {u"a\\\\b c\\", {u"a\\\\b", u"c\\"}},  // backslashes alone stand for themselves
        {u"a\\\\\"b c\"", {u"a\\b c"}},        // 2n before a mark: n, and the mark quotes
        {u"a\\\"b", {u"a\"b"}},                // 2n+1: n and a literal mark
        {u"a\\\\\\\"b", {u"a\\\"b"}},          // three: one backslash and a mark
        {u"\"\" x", {u"", u"x"}},              // an empty quoted argument counts
        {u"\"a\"\"b c\"", {u"a\"b", u"c"}},    // "" inside quotes: a mark, quoting ends
        {u"\"a\"\"\"b c\"", {u"a\"b c"}},      // """: a mark, quoting goes on
        {u"x\"y z\"w", {u"xy zw"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.line));
        EXPECT_EQ(SplitCommandLineArguments(c.line), c.arguments);
    }
}

TEST_F(ShellExecution, WhileScriptedOnlyTheJournalLineIsWritten) {
    // Starting this program would fail: the success shows nothing was started.
    WriteProgram(m_dir.File("broken"), "#!/no/such/interpreter\n");
    {
        ui_testing::ScriptedUi ui;
        EXPECT_GT(Code(ShellExecuteW(nullptr, nullptr, Path("broken").c_str(), u"/import", nullptr,
                                     SW_SHOWNORMAL)),
                  32);
        EXPECT_GT(Code(ShellExecuteW(nullptr, u"open", u"https://example.com/?q=a b", nullptr,
                                     nullptr, SW_SHOWNORMAL)),
                  32);
        EXPECT_GT(Code(ShellExecuteW(nullptr, u"OPEN", u"NotePad.exe", u"/tmp/My Texts/a.txt",
                                     nullptr, SW_SHOWNORMAL)),
                  32);
    }
    // The answer file alone also means scripted.
    setenv("KESTRO_UI_SCRIPT", m_dir.File("answers.txt").c_str(), 1);
    const std::u16string folder = Utf8ToUtf16(m_dir.path());
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.lpFile = u"broken";
    info.lpDirectory = folder.c_str();
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_GT(Code(info.hInstApp), 32);
    EXPECT_EQ(Journal(), "shell\t" + m_dir.File("broken") + " /import\n" +
                             "shell\thttps://example.com/?q=a b\n" +
                             "shell\tNotePad.exe /tmp/My Texts/a.txt\n" + "shell\tbroken\n");
}

TEST_F(ShellExecution, FailuresReturnTheWindowsResultsAndJournalNothing) {
    std::filesystem::create_directory(m_dir.File("folder"));
    struct Case {
        const char16_t* verb;
        std::u16string file;
        const char16_t* parameters;
        std::u16string directory;
        INT_PTR result;
        DWORD error;
    };
    const Case cases[] = {
        {nullptr, u"", nullptr, u"", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {nullptr, Path("missing.txt"), nullptr, u"", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {nullptr, Path("no folder/missing.txt"), nullptr, u"", SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
        {nullptr, u"missing.txt", nullptr, Path("folder"), SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {nullptr, u"https://example.com", nullptr, Path("no folder"), SE_ERR_PNF,
         ERROR_PATH_NOT_FOUND},
        {u"print", u"https://example.com", nullptr, u"", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
        {nullptr, u"notepad.exe", u"  ", u"", SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
    };
    ui_testing::ScriptedUi ui;
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.file));
        const LPCWSTR directory = c.directory.empty() ? nullptr : c.directory.c_str();
        EXPECT_EQ(
            Code(ShellExecuteW(nullptr, c.verb, c.file.c_str(), c.parameters, directory, SW_SHOW)),
            c.result);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.lpVerb = c.verb;
        info.lpFile = c.file.c_str();
        info.lpParameters = c.parameters;
        info.lpDirectory = directory;
        info.hProcess = &info;
        SetLastError(0);
        EXPECT_FALSE(ShellExecuteExW(&info));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(Code(info.hInstApp), c.result);
        EXPECT_EQ(info.hProcess, nullptr);
    }
    EXPECT_EQ(Code(ShellExecuteW(nullptr, nullptr, nullptr, nullptr, nullptr, SW_SHOW)),
              SE_ERR_FNF);
    SHELLEXECUTEINFOW wrongSize{};
    wrongSize.cbSize = sizeof wrongSize - 4;
    wrongSize.lpFile = u"https://example.com";
    EXPECT_FALSE(ShellExecuteExW(&wrongSize));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Journal(), "");
}

TEST_F(ShellExecution, AProgramStartsWithItsParametersInTheDirectory) {
    std::filesystem::create_directory(m_dir.File("work"));
    const std::string report = m_dir.File("report.txt");
    WriteProgram(m_dir.File("Tool"),
                 "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '" +
                     report + ".tmp' && mv '" + report + ".tmp' '" + report + "'\n");
    // A ".exe" name finds the program by its Linux name, in any letter case.
    const HINSTANCE result =
        ShellExecuteW(nullptr, nullptr, Path("tool.exe").c_str(), u"/import \"My Texts\" a\\\"b",
                      Path("work").c_str(), SW_SHOWNORMAL);
    ASSERT_GT(Code(result), 32);
    EXPECT_EQ(AwaitFile(report), std::filesystem::canonical(m_dir.File("work")).string() +
                                     "\n[/import]\n[My Texts]\n[a\"b]\n");
    EXPECT_EQ(Journal(), "shell\t" + m_dir.File("tool.exe") + " /import \"My Texts\" a\\\\\"b\n");
}

TEST_F(ShellExecution, DocumentsFoldersUrlsAndNotepadFilesGoToTheOpener) {
    UseRecordingOpener();
    WriteFile(m_dir.File("Notes.txt"), "text");
    std::filesystem::create_directory(m_dir.File("Folder"));
    struct Case {
        std::u16string file;
        const char16_t* parameters;
        std::string opened;
    };
    const Case cases[] = {
        {Path("notes.TXT"), u"ignored", m_dir.File("Notes.txt")},
        {Path("Folder"), nullptr, m_dir.File("Folder")},
        {u"https://example.com/a?b=c", nullptr, "https://example.com/a?b=c"},
        {u"notepad.exe", u"\"/tmp/My Texts/TFR1.txt\"", "/tmp/My Texts/TFR1.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(c.file));
        std::filesystem::remove(m_dir.File("opened.txt"));
        ASSERT_GT(
            Code(ShellExecuteW(nullptr, u"open", c.file.c_str(), c.parameters, nullptr, SW_SHOW)),
            32);
        EXPECT_EQ(AwaitFile(m_dir.File("opened.txt")), c.opened);
    }
}

TEST_F(ShellExecution, WhatCannotBeStartedFailsAndJournalsNothing) {
    WriteProgram(m_dir.File("broken"), "#!/no/such/interpreter\n");
    WriteProgram(m_dir.File("garbage"), std::string("\x01\x02\x03 not a program", 18));
    WriteFile(m_dir.File("notes.txt"), "text");
    std::filesystem::create_directory(m_dir.File("empty"));
    setenv("PATH", m_dir.File("empty").c_str(), 1);  // no opener to be found

    EXPECT_EQ(
        Code(ShellExecuteW(nullptr, nullptr, Path("broken").c_str(), nullptr, nullptr, SW_SHOW)),
        SE_ERR_FNF);
    EXPECT_EQ(
        Code(ShellExecuteW(nullptr, nullptr, Path("garbage").c_str(), nullptr, nullptr, SW_SHOW)),
        static_cast<INT_PTR>(ERROR_BAD_FORMAT));
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    const std::u16string notes = Path("notes.txt");
    info.lpFile = notes.c_str();
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
    EXPECT_EQ(Code(info.hInstApp), SE_ERR_NOASSOC);
    EXPECT_EQ(Journal(), "");
}

}  // namespace
