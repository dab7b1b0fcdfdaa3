// The working key is kept for the process, but a value protected after the
// user's key file changed must be protected with the key the file holds
// now: any other process reads only that one.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "platform/dpapi/dpapi.h"
#include "platform/win/kestro_home.h"
#include "platform/win/last_error.h"
#include "tests/platform/dpapi/dpapi_test_support.h"
#include "tests/support/temp_home.h"

using namespace dpapi_test;

namespace {

std::string KeyPath() {
    return KestroHomeDirectory() + "/protection.key";
}

// Whether another process of this user, which reads the key file afresh,
// opens the blob.
bool OpensInAnotherProcess(const Bytes& blob) {
    const pid_t pid = fork();
    if (pid == 0) _exit(Unprotect(blob).ok ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

const std::string kOtherKey(32, '\x5A');

struct KeyChange {
    const char* name;
    std::function<void()> change;
};

void PrintTo(const KeyChange& change, std::ostream* out) {
    *out << change.name;
}

// The blob another process of this user protects now.
Bytes ProtectedInAnotherProcess(const std::string& plain) {
    testing_support::TempDir out;
    const pid_t pid = fork();
    if (pid == 0) {
        const Bytes blob = Protect(plain);
        testing_support::WriteFile(out.File("blob"), std::string(blob.begin(), blob.end()));
        _exit(blob.empty() ? 1 : 0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return BytesOf(testing_support::ReadFile(out.File("blob")));
}

class KeyFileChange : public ::testing::TestWithParam<KeyChange> {};

TEST_P(KeyFileChange, LaterValuesAreProtectedWithTheKeyTheFileHoldsNow) {
    const Bytes before = Protect("before");
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(OpensInAnotherProcess(before));

    GetParam().change();
    const Bytes after = Protect("after");
    ASSERT_FALSE(after.empty()) << GetLastError();
    EXPECT_TRUE(OpensInAnotherProcess(after));
    const Opened opened = Unprotect(after);
    EXPECT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(opened.plain, "after");
    EXPECT_FALSE(OpensInAnotherProcess(before));
}

TEST_P(KeyFileChange, ValuesProtectedElsewhereWithTheNewKeyOpenHere) {
    ASSERT_FALSE(Protect("before").empty());
    GetParam().change();
    const Bytes theirs = ProtectedInAnotherProcess("theirs");
    ASSERT_FALSE(theirs.empty());
    const Opened opened = Unprotect(theirs);
    EXPECT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(opened.plain, "theirs");
}

INSTANTIATE_TEST_SUITE_P(
    ProtectionKey, KeyFileChange,
    ::testing::Values(KeyChange{"ReplacedByRename",
                                [] {
                                    const std::string fresh = KestroHomeDirectory() + "/fresh.key";
                                    testing_support::WriteFile(fresh, kOtherKey);
                                    ASSERT_EQ(std::rename(fresh.c_str(), KeyPath().c_str()), 0);
                                }},
                      // A later write leaves a later modification time.
                      KeyChange{"RewrittenInPlace",
                                [] {
                                    struct stat before {};
                                    ASSERT_EQ(stat(KeyPath().c_str(), &before), 0);
                                    testing_support::WriteFile(KeyPath(), kOtherKey);
                                    const struct timespec later[2] = {
                                        before.st_atim,
                                        {before.st_mtim.tv_sec + 1, before.st_mtim.tv_nsec}};
                                    ASSERT_EQ(utimensat(AT_FDCWD, KeyPath().c_str(), later, 0), 0);
                                }},
                      KeyChange{"Removed", [] { ASSERT_EQ(unlink(KeyPath().c_str()), 0); }}),
    [](const ::testing::TestParamInfo<KeyChange>& info) { return std::string(info.param.name); });

}  // namespace
