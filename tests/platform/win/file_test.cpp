#include "platform/win/file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/file_system.h"
#include "platform/win/full_path.h"
#include "platform/win/last_error.h"
#include "platform/win/path_nocase.h"
#include "platform/win/temp_file.h"
#include "platform/win/text.h"
#include "tests/support/temp_home.h"

using testing_support::ReadFile;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
protected:
    std::u16string Wide(const std::string& name) const { return Utf8ToUtf16(m_dir.File(name)); }
    std::string Path(const std::string& name) const { return m_dir.File(name); }
    void Write(const std::string& name, const std::string& bytes) const {
        testing_support::WriteFile(Path(name), bytes);
    }
    std::vector<std::string> Entries(const std::string& folder = "") const {
        std::vector<std::string> names;
        for (const auto& entry :
             fs::directory_iterator(folder.empty() ? m_dir.path() : Path(folder))) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    HANDLE Open(const std::string& name, DWORD access, DWORD disposition) const {
        return CreateFileW(Wide(name).c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    TempDir m_dir;
};

}  // namespace

TEST_F(Files, PathsResolveWithoutRegardToCase) {
    fs::create_directories(Path("Data/Sub"));
    Write("Data/Sub/Login.dat", "x");
    EXPECT_EQ(ResolvePathNoCase(Wide("DATA/sub/LOGIN.DAT")), Path("Data/Sub/Login.dat"));
    // Components past the first missing one are kept, so a new file finds its folder.
    EXPECT_EQ(ResolvePathNoCase(Wide("data/SUB/New.txt")), Path("Data/Sub/New.txt"));
    EXPECT_EQ(ResolvePathNoCase(Wide("nothere/SUB")), Path("nothere/SUB"));
    // The exact name wins over another spelling.
    Write("name", "lower");
    Write("NAME", "upper");
    EXPECT_EQ(ResolvePathNoCase(Wide("NAME")), Path("NAME"));
    EXPECT_EQ(ResolvePathNoCase(Wide("Name")), Path("NAME"));  // stable: first in byte order
}

TEST_F(Files, AttributesAndMissingFileCodes) {
    fs::create_directories(Path("Folder"));
    Write("Folder/file.txt", "abc");
    EXPECT_EQ(GetFileAttributesW(Wide("FOLDER").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesW(Wide("folder/FILE.TXT").c_str()), FILE_ATTRIBUTE_ARCHIVE);
    chmod(Path("Folder/file.txt").c_str(), 0444);
    EXPECT_EQ(GetFileAttributesW(Wide("Folder/file.txt").c_str()),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);

    EXPECT_EQ(GetFileAttributesW(Wide("Folder/missing.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW(Wide("NoFolder/file.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(GetFileAttributesW(Wide("Folder/file.txt/below").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(Files, CopyRefusesToOverwriteAndLeavesTheTargetUnchanged) {
    Write("login.dat", "database bytes");
    chmod(Path("login.dat").c_str(), 0640);
    Write("export.dat", "keep me");
    EXPECT_FALSE(CopyFileW(Wide("login.dat").c_str(), Wide("EXPORT.DAT").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_EQ(ReadFile(Path("export.dat")), "keep me");

    ASSERT_TRUE(CopyFileW(Wide("LOGIN.DAT").c_str(), Wide("copy.dat").c_str(), TRUE));
    EXPECT_EQ(ReadFile(Path("copy.dat")), "database bytes");
    EXPECT_EQ(fs::status(Path("copy.dat")).permissions(), fs::perms(0640));
    EXPECT_EQ(Entries().size(), 3u);  // no temporary copy left behind

    ASSERT_TRUE(CopyFileW(Wide("login.dat").c_str(), Wide("export.dat").c_str(), FALSE));
    EXPECT_EQ(ReadFile(Path("export.dat")), "database bytes");
}

TEST_F(Files, CopyFailures) {
    Write("a.txt", "a");
    EXPECT_FALSE(CopyFileW(Wide("missing.txt").c_str(), Wide("b.txt").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CopyFileW(Wide("a.txt").c_str(), Wide("nofolder/b.txt").c_str(), TRUE));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    Write("readonly.txt", "r");
    chmod(Path("readonly.txt").c_str(), 0444);
    EXPECT_FALSE(CopyFileW(Wide("a.txt").c_str(), Wide("readonly.txt").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadFile(Path("readonly.txt")), "r");
    EXPECT_FALSE(CopyFileW(Wide("").c_str(), Wide("b.txt").c_str(), TRUE));
    EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(Files, CreateDispositionsAndAlreadyExists) {
    Write("old.txt", "old content");
    EXPECT_EQ(Open("OLD.TXT", GENERIC_WRITE, CREATE_NEW), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

    HANDLE h = Open("Old.txt", GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(GetFileSize(h, nullptr), 11u);
    CloseHandle(h);

    h = Open("old.txt", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    CloseHandle(h);
    EXPECT_EQ(ReadFile(Path("old.txt")), "");

    SetLastError(ERROR_ALREADY_EXISTS);
    h = Open("new.txt", GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(h);

    EXPECT_EQ(Open("absent.txt", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("absent/x.txt", GENERIC_WRITE, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(Open("absent.txt", GENERIC_READ, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    fs::create_directory(Path("dir"));
    EXPECT_EQ(Open("dir", GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(Files, ReadWriteAndMoveWithinAFile) {
    HANDLE h = Open("text.txt", GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "\xFF\xFEhello", 7, &written, nullptr));
    EXPECT_EQ(written, 7u);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
    char buffer[16] = {};
    DWORD read = 0;
    ASSERT_TRUE(::ReadFile(h, buffer, 2, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "\xFF\xFE");
    EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_END), 5u);
    ASSERT_TRUE(::ReadFile(h, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "lo");
    ASSERT_TRUE(::ReadFile(h, buffer, sizeof buffer, &read, nullptr));  // at the end
    EXPECT_EQ(read, 0u);
    LONG high = 0;
    EXPECT_EQ(SetFilePointer(h, 1, &high, FILE_CURRENT), 8u);
    EXPECT_EQ(high, 0);

    EXPECT_EQ(SetFilePointer(h, -100, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(Files, HandlesRefuseWhatTheyWereNotOpenedFor) {
    Write("data.txt", "abc");
    HANDLE h = Open("data.txt", GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(h, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    char buffer[4];
    DWORD read = 0;
    EXPECT_FALSE(::ReadFile(h, buffer, 4, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetFileSize(INVALID_HANDLE_VALUE, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(ReadFile(Path("data.txt")), "abc");
}

TEST_F(Files, DeleteFile) {
    Write("gone.txt", "x");
    EXPECT_TRUE(DeleteFileW(Wide("GONE.txt").c_str()));
    EXPECT_FALSE(fs::exists(Path("gone.txt")));
    EXPECT_FALSE(DeleteFileW(Wide("gone.txt").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    fs::create_directory(Path("dir"));
    EXPECT_FALSE(DeleteFileW(Wide("dir").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(Files, TempFileNamesAreUniqueAndCreated) {
    const std::u16string folder = Utf8ToUtf16(m_dir.path());
    std::vector<std::u16string> names[2];
    const auto make = [&](std::vector<std::u16string>& out) {
        for (int i = 0; i < 40; ++i) {
            char16_t buffer[MAX_PATH];
            if (GetTempFileNameW(folder.c_str(), u"TFRX", 0, buffer) != 0) out.push_back(buffer);
        }
    };
    std::thread other(make, std::ref(names[1]));
    make(names[0]);
    other.join();
    std::set<std::u16string> unique(names[0].begin(), names[0].end());
    unique.insert(names[1].begin(), names[1].end());
    EXPECT_EQ(unique.size(), 80u);
    EXPECT_EQ(Entries().size(), 80u);
    for (const std::u16string& name : unique) {
        const std::u16string file = name.substr(folder.size() + 1);
        EXPECT_TRUE(file.starts_with(u"TFR") && file.ends_with(u".tmp")) << Utf16ToUtf8(file);
        EXPECT_LE(file.size(), 3u + 4u + 4u);
        EXPECT_EQ(ReadFile(Utf16ToUtf8(name)), "");
    }
}

TEST_F(Files, TempFileNameWithAGivenNumberAndFailures) {
    char16_t buffer[MAX_PATH];
    const std::u16string folder = Utf8ToUtf16(m_dir.path()) + u"/";
    EXPECT_EQ(GetTempFileNameW(folder.c_str(), u"TFR", 0x51A2B, buffer), 0x1A2Bu);
    EXPECT_EQ(std::u16string(buffer), folder + u"TFR1A2B.tmp");
    EXPECT_TRUE(Entries().empty());  // a given number creates nothing
    EXPECT_EQ(GetTempFileNameW((folder + u"missing").c_str(), u"TFR", 0, buffer), 0u);
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
}

TEST_F(Files, TempPathFromTmpdir) {
    const char* saved = getenv("TMPDIR");
    const std::string restore = saved ? saved : "";
    setenv("TMPDIR", "/var/tmp", 1);
    char16_t buffer[MAX_PATH];
    EXPECT_EQ(GetTempPathW(MAX_PATH, buffer), 9u);
    EXPECT_EQ(std::u16string(buffer), u"/var/tmp/");
    EXPECT_EQ(GetTempPathW(5, buffer), 10u);  // size needed, terminator included
    saved ? setenv("TMPDIR", restore.c_str(), 1) : unsetenv("TMPDIR");
}

TEST_F(Files, CurrentDirectoryAndFullPaths) {
    const fs::path previous = fs::current_path();
    fs::current_path(m_dir.path());
    const std::u16string cwd = Utf8ToUtf16(fs::current_path().string());
    char16_t buffer[MAX_PATH];
    EXPECT_EQ(GetCurrentDirectoryW(MAX_PATH, buffer), cwd.size());
    EXPECT_EQ(std::u16string(buffer), cwd);
    EXPECT_EQ(GetCurrentDirectoryW(3, buffer), cwd.size() + 1);

    LPWSTR filePart = nullptr;
    const std::u16string expected = cwd + u"/b/export.dat";
    EXPECT_EQ(GetFullPathNameW(u"a/../b/./export.dat", MAX_PATH, buffer, &filePart),
              expected.size());
    EXPECT_EQ(std::u16string(buffer), expected);
    ASSERT_NE(filePart, nullptr);
    EXPECT_EQ(std::u16string(filePart), u"export.dat");
    EXPECT_EQ(GetFullPathNameW(u"//x//y/../", MAX_PATH, buffer, &filePart), 3u);
    EXPECT_EQ(std::u16string(buffer), u"/x/");
    EXPECT_EQ(filePart, nullptr);
    EXPECT_EQ(GetFullPathNameW(u"export.dat", 4, buffer, nullptr), cwd.size() + 12);
    EXPECT_EQ(GetFullPathNameW(u"", MAX_PATH, buffer, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
    fs::current_path(previous);
}
