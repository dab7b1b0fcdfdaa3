// The export's copy holds every secret in clear: nobody but its owner may
// ever open it, and it must be a sound database even when another process
// writes login.dat at the same time.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "store/login_schema.h"
#include "tests/tool/login_data.h"
#include "tests/tool/transfer_fixture.h"

namespace quillet_testing {
namespace {

struct FolderEvent {
    uint32_t mask = 0;
    std::string name;
};

// Records what happens to the files of a folder: creations, renames into it
// and changes of permissions.
class FolderWatch {
public:
    explicit FolderWatch(const std::string& folder) : m_fd(inotify_init1(IN_NONBLOCK)) {
        EXPECT_GE(inotify_add_watch(m_fd, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_ATTRIB), 0);
    }
    ~FolderWatch() { close(m_fd); }

    std::vector<FolderEvent> Events() const {
        std::vector<FolderEvent> events;
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                events.push_back({event->mask, event->len ? event->name : ""});
                at += sizeof(inotify_event) + event->len;
            }
        }
        return events;
    }

private:
    int m_fd;
};

TEST_F(LoginTransfer, TheExportIsOwnerOnlyFromTheMomentItAppears) {
    WriteLoginData();
    std::filesystem::permissions(m_source.Database(), std::filesystem::perms(0644));
    const FolderWatch watch(m_files.path());
    const std::string exported = ExportAsFirstUser();

    // A permission change after the copy got its name means it was open to
    // others for a moment: long enough to open it and read on through the
    // handle once the values are decrypted.
    bool appeared = false;
    for (const FolderEvent& event : watch.Events()) {
        if (event.name != "export.dat") continue;
        appeared = appeared || (event.mask & (IN_CREATE | IN_MOVED_TO));
        EXPECT_FALSE(appeared && (event.mask & IN_ATTRIB)) << "permissions changed after creation";
    }
    EXPECT_TRUE(appeared);
    struct stat info {};
    ASSERT_EQ(stat(exported.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// Leaves the database as a writer that died inside a large transaction
// leaves it: pages it changed already written into the file (its cache
// spilled), their committed contents in a hot journal beside it.
void DieInsideATransaction(const std::string& database, const std::string& statement) {
    const pid_t pid = fork();
    if (pid == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(database.c_str(), &db);
        sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN", nullptr, nullptr, nullptr);
        sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr);
        _exit(0);  // no commit, no rollback
    }
    int status = 0;
    waitpid(pid, &status, 0);
}

TEST_F(LoginTransfer, TheExportHoldsTheCommittedStateWhenAWriterDiedMidTransaction) {
    const std::string name = Protect("name"), password = Protect("password");
    Table logins;
    for (int i = 0; i < 300; ++i)
        logins.push_back({name, password, "site" + std::to_string(i) + ".example"});
    Execute(m_source.Database(), Statement(login_schema::kInsertLoginInput), logins);
    DieInsideATransaction(m_source.Database(), "update LoginInput set LoginName = 'uncommitted'");
    ASSERT_TRUE(std::filesystem::exists(m_source.Database() + "-journal"));

    const std::string exported = ExportAsFirstUser();
    EXPECT_EQ(IntegrityCheck(exported), "ok");
    EXPECT_EQ(Rows(exported, "select LoginName, count(*) from LoginInput group by 1"),
              (Table{{"name", "300"}}));
}

}  // namespace
}  // namespace quillet_testing
