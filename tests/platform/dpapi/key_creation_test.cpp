// The user's key: created on first protection, private to the user, and
// exactly one of it even when several processes start at once.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <latch>
#include <set>
#include <thread>

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

std::set<std::string> FilesIn(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* entry = readdir(d)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.insert(name);
        }
        closedir(d);
    }
    return names;
}

// Runs call in a child that cannot enter the key directory (a non-root user
// when we are root, who would pass any permission check), and returns the
// error the call left.
DWORD ErrorWithoutAccessToHome(const std::function<BOOL()>& call) {
    const std::string home = KestroHomeDirectory();
    const pid_t pid = fork();
    if (pid == 0) {
        const bool dropped = geteuid() == 0 ? setuid(65534) == 0 : chmod(home.c_str(), 0) == 0;
        if (!dropped) _exit(254);
        _exit(call() ? 255 : static_cast<int>(GetLastError() & 0xFF));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    chmod(home.c_str(), 0700);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 253;
}

}  // namespace

TEST(ProtectionKey, CreatedOnFirstProtectionWithMode0600AndKept) {
    EXPECT_EQ(Unprotect(Protect("x")).ok, true);
    struct stat info {};
    ASSERT_EQ(stat(KeyPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(info.st_size, 32);

    const std::string key = testing_support::ReadFile(KeyPath());
    EXPECT_FALSE(Protect("y").empty());
    EXPECT_EQ(testing_support::ReadFile(KeyPath()), key);
    EXPECT_EQ(FilesIn(KestroHomeDirectory()), std::set<std::string>{"protection.key"});
}

TEST(ProtectionKey, DamagedKeyFileFailsAndIsNotReplaced) {
    testing_support::WriteFile(KeyPath(), "short");
    EXPECT_TRUE(Protect("x").empty());
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(testing_support::ReadFile(KeyPath()), "short");
}

TEST(ProtectionKey, UnreachableKeyDirectoryFailsWithAccessDenied) {
    const Bytes blob = Protect("x");
    ASSERT_FALSE(blob.empty());
    EXPECT_EQ(ErrorWithoutAccessToHome([&] { return Unprotect(blob).ok; }), ERROR_ACCESS_DENIED);

    testing_support::TempDir fresh;
    ScopedEnv home("KESTRO_HOME", fresh.path());
    EXPECT_EQ(ErrorWithoutAccessToHome([] { return !Protect("x").empty(); }), ERROR_ACCESS_DENIED);
}

TEST(ProtectionKey, ProcessesStartingTogetherShareOneKey) {
    constexpr int kChildren = 6;
    for (int round = 0; round < 5; ++round) {
        testing_support::TempDir fresh;
        ScopedEnv home("KESTRO_HOME", fresh.path());
        int gate[2];
        ASSERT_EQ(pipe(gate), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < kChildren; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                close(gate[1]);
                char c;
                while (read(gate[0], &c, 1) > 0) {
                }  // released together when the parent closes the pipe
                const Bytes blob = Protect("child " + std::to_string(i));
                testing_support::WriteFile(fresh.File("blob" + std::to_string(i)),
                                           std::string(blob.begin(), blob.end()));
                _exit(blob.empty() ? 1 : 0);
            }
            children.push_back(pid);
        }
        close(gate[0]);
        close(gate[1]);
        for (const pid_t pid : children) {
            int status = 0;
            waitpid(pid, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        // One key, no temporary files left behind, and every blob opens.
        std::set<std::string> expected{"protection.key"};
        for (int i = 0; i < kChildren; ++i) expected.insert("blob" + std::to_string(i));
        EXPECT_EQ(FilesIn(fresh.path()), expected);
        for (int i = 0; i < kChildren; ++i) {
            const Opened opened = Unprotect(
                BytesOf(testing_support::ReadFile(fresh.File("blob" + std::to_string(i)))));
            EXPECT_TRUE(opened.ok) << "round " << round << " child " << i;
            EXPECT_EQ(opened.plain, "child " + std::to_string(i));
        }
    }
}

TEST(ProtectionKey, ThreadsStartingTogetherShareOneKey) {
    constexpr int kThreads = 6;
    std::vector<Bytes> blobs(kThreads);
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            blobs[i] = Protect("thread " + std::to_string(i));
        });
    }
    for (auto& t : threads) t.join();
    for (int i = 0; i < kThreads; ++i) {
        const Opened opened = Unprotect(blobs[i]);
        EXPECT_TRUE(opened.ok) << i;
        EXPECT_EQ(opened.plain, "thread " + std::to_string(i));
    }
}
