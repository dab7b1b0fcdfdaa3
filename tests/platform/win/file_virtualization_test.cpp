// A program folder marked as installed hands each user a private copy of
// its per-user files; any other folder is used as it is.
#include "platform/win/file_virtualization.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/file.h"
#include "platform/win/file_system.h"
#include "platform/win/last_error.h"
#include "platform/win/path_nocase.h"
#include "platform/win/text.h"
#include "tests/support/temp_home.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;
namespace fs = std::filesystem;

namespace {

constexpr char kShipped[] = "shipped database";

// Restores one environment variable when the test ends.
class SavedVariable {
public:
    explicit SavedVariable(const char* name) : m_name(name) {
        const char* value = std::getenv(name);
        if (value) m_value = value;
        m_set = value != nullptr;
    }
    ~SavedVariable() {
        if (m_set) {
            setenv(m_name, m_value.c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }

private:
    const char* m_name;
    std::string m_value;
    bool m_set = false;
};

class Virtualization : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", m_data.path().c_str(), 1);
        WriteFile(Program(kPerUserFilesMark), "login.dat\r\n\n../escape\n");
        WriteFile(Program("login.dat"), kShipped);
    }
    std::string Program(const std::string& name) const { return m_program.File(name); }
    std::string UserCopy() const { return m_data.path() + "/kestro/login.dat"; }
    std::string Resolve(const std::string& path) const {
        return ResolvePathNoCase(Utf8ToUtf16(path));
    }
    static mode_t Mode(const std::string& path) {
        struct stat st;
        return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }

    SavedVariable m_savedData{"XDG_DATA_HOME"};
    SavedVariable m_savedHome{"HOME"};
    TempDir m_program;
    TempDir m_data;
};

}  // namespace

TEST_F(Virtualization, FirstUseCopiesTheShippedFileForTheUserOnly) {
    EXPECT_EQ(Resolve(Program("LOGIN.DAT")), UserCopy());
    EXPECT_EQ(ReadFile(UserCopy()), kShipped);
    EXPECT_EQ(Mode(UserCopy()), 0600u);
    EXPECT_EQ(Mode(m_data.path() + "/kestro"), 0700u);
    // Only the finished copy: no temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_data.path() + "/kestro"), {}), 1);
}

TEST_F(Virtualization, TheUsersCopyIsNeverReplacedNorTheShippedFileWritten) {
    fs::create_directories(m_data.path() + "/kestro");
    WriteFile(UserCopy(), "mine: alice");
    const std::u16string shipped = Utf8ToUtf16(Program("login.dat"));
    HANDLE file = CreateFileW(shipped.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "MINE", 4, &written, nullptr));
    CloseHandle(file);
    EXPECT_EQ(ReadFile(UserCopy()), "MINE: alice");
    EXPECT_EQ(ReadFile(Program("login.dat")), kShipped);
}

TEST_F(Virtualization, OtherFilesAndUnmarkedFoldersAreUsedAsTheyAre) {
    fs::create_directories(Program("sub"));
    WriteFile(Program("sub/login.dat"), "build tree");
    WriteFile(Program("other.dat"), "x");
    for (const std::string& path :
         {Program("sub/login.dat"), Program("other.dat"), Program(kPerUserFilesMark),
          Program("escape"), m_program.path()}) {
        EXPECT_EQ(Resolve(path), path);
    }
    EXPECT_FALSE(fs::exists(m_data.path() + "/kestro"));
}

TEST_F(Virtualization, WithoutAShippedFileANewFileGoesToTheUsersFolder) {
    fs::remove(Program("login.dat"));
    const std::u16string shipped = Utf8ToUtf16(Program("login.dat"));
    EXPECT_EQ(GetFileAttributesW(shipped.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    HANDLE file = CreateFileW(shipped.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(fs::exists(UserCopy()));
    EXPECT_FALSE(fs::exists(Program("login.dat")));
}

TEST_F(Virtualization, TheDataFolderDefaultsToTheHomeFolder) {
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", m_data.path().c_str(), 1);
    EXPECT_EQ(Resolve(Program("login.dat")), m_data.path() + "/.local/share/kestro/login.dat");
}

TEST_F(Virtualization, WhenNoCopyCanBeMadeTheShippedFileIsRead) {
    // A file where the data folder should be: no folder can be made there.
    setenv("XDG_DATA_HOME", Program("other.dat").c_str(), 1);
    WriteFile(Program("other.dat"), "x");
    EXPECT_EQ(Resolve(Program("login.dat")), Program("login.dat"));
}

TEST_F(Virtualization, FirstUsesAtOnceAllSeeOneCompleteCopy) {
    const std::string big(1 << 20, 'k');
    WriteFile(Program("login.dat"), big);
    std::vector<std::string> seen(8);
    std::vector<std::thread> threads;
    for (std::string& contents : seen) {
        threads.emplace_back([&] { contents = ReadFile(Resolve(Program("login.dat"))); });
    }
    for (std::thread& thread : threads) thread.join();
    for (const std::string& contents : seen) EXPECT_EQ(contents.size(), big.size());
    EXPECT_EQ(ReadFile(UserCopy()), big);
}
