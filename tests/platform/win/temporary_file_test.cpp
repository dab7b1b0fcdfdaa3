// Files for the user's temporary storage: created private to the user, and
// never through a name that is already taken, a planted link included.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/file.h"
#include "platform/win/last_error.h"
#include "platform/win/temp_file.h"
#include "platform/win/text.h"
#include "tests/support/temp_home.h"

namespace {

class TemporaryFiles : public ::testing::Test {
protected:
    void SetUp() override { m_mask = umask(0); }
    void TearDown() override { umask(m_mask); }

    std::u16string Wide(const std::string& name) const { return Utf8ToUtf16(m_dir.File(name)); }
    HANDLE Create(const std::string& name, DWORD disposition, DWORD attributes) const {
        return CreateFileW(Wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                           attributes, nullptr);
    }
    mode_t Mode(const std::string& name) const {
        struct stat st {};
        return lstat(m_dir.File(name).c_str(), &st) == 0 ? st.st_mode & 0777 : 07777;
    }

    testing_support::TempDir m_dir;
    mode_t m_mask = 0;
};

TEST_F(TemporaryFiles, ATemporaryFileIsTheUsersOwn) {
    const struct {
        DWORD attributes;
        mode_t mode;
    } cases[] = {
        {FILE_ATTRIBUTE_NORMAL, 0666},
        {FILE_ATTRIBUTE_TEMPORARY, 0600},
        {FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_READONLY, 0400},
        {FILE_ATTRIBUTE_READONLY, 0444},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string name = "file" + std::to_string(n++);
        const HANDLE file = Create(name, CREATE_NEW, c.attributes);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
        EXPECT_EQ(c.mode, Mode(name)) << c.attributes;
    }
}

TEST_F(TemporaryFiles, ANewFileIsNeverOneThatIsThereOrALinkPlantedUnderItsName) {
    testing_support::WriteFile(m_dir.File("target"), "kept");
    ASSERT_EQ(0, symlink(m_dir.File("target").c_str(), m_dir.File("link").c_str()));
    ASSERT_EQ(0, symlink(m_dir.File("nowhere").c_str(), m_dir.File("dangling").c_str()));
    for (const char* name : {"target", "link", "dangling"}) {
        SetLastError(0);
        EXPECT_EQ(INVALID_HANDLE_VALUE, Create(name, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY)) << name;
        EXPECT_EQ(ERROR_FILE_EXISTS, GetLastError()) << name;
    }
    EXPECT_EQ("kept", testing_support::ReadFile(m_dir.File("target")));
    struct stat st {};
    EXPECT_NE(0, lstat(m_dir.File("nowhere").c_str(), &st));
}

TEST_F(TemporaryFiles, AUniqueTemporaryNameIsCreatedPrivate) {
    char16_t name[MAX_PATH] = {};
    ASSERT_NE(0u, GetTempFileNameW(Utf8ToUtf16(m_dir.path()).c_str(), u"TFR", 0, name));
    const std::string path = Utf16ToUtf8(name);
    EXPECT_EQ(0600u, Mode(path.substr(m_dir.path().size() + 1)));
}

}  // namespace
