// Several connections and processes on one file, a writer killed at random
// moments, and byte copies of a file in use.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "platform/win/text.h"
#include "store/ado_db.h"
#include "store/login_schema.h"
#include "tests/store/login_db_test_support.h"

extern char** environ;

using namespace testing_support;
using namespace login_schema;

namespace {

// A running login_db_writer whose standard output is read through a pipe.
class WriterProcess {
public:
    explicit WriterProcess(std::vector<std::string> args) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        const std::string program = TestBinaryDirectory() + "/login_db_writer";
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_output = fds[0];
    }
    ~WriterProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            Wait();
        }
        if (m_output >= 0) close(m_output);
    }
    WriterProcess(const WriterProcess&) = delete;
    WriterProcess& operator=(const WriterProcess&) = delete;

    bool started() const { return m_pid > 0; }
    void Kill() { kill(m_pid, SIGKILL); }
    // The exit status as waitpid gives it.
    int Wait() {
        int status = -1;
        if (m_pid > 0) waitpid(m_pid, &status, 0);
        m_pid = -1;
        return status;
    }
    // Everything written until the process ended, complete lines only.
    std::vector<std::string> Lines() {
        std::string text;
        char buffer[4096];
        ssize_t n;
        while ((n = read(m_output, buffer, sizeof buffer)) > 0) text.append(buffer, n);
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
};

std::set<std::u16string> Domains(CAdoDb& db) {
    const std::vector<std::u16string> column = QueryColumn(db, kSelectAllLoginInput);
    return {column.begin(), column.end()};
}

class AdoDbSharingTest : public LoginDbTest {};

TEST_F(AdoDbSharingTest, ConnectionsInOneProcessSeeEachOthersCommitsAtOnce) {
    CAdoDb first;
    CAdoDb second;
    ASSERT_TRUE(first.OpenDb(Wide(m_path)));
    ASSERT_TRUE(second.OpenDb(Wide(m_path)));
    EXPECT_TRUE(Domains(second).empty());

    ASSERT_TRUE(first.ExecuteSql(kInsertLoginInput, {u"n", u"p", u"a.com"}));
    EXPECT_EQ(Domains(second), std::set<std::u16string>{u"a.com"});
    ASSERT_TRUE(second.ExecuteSql(kUpdateLoginInput, {u"n2", u"p2", u"a.com"}));
    EXPECT_EQ(QueryColumn(first, u"select LoginName from LoginInput"),
              std::vector<std::u16string>{u"n2"});
    ASSERT_TRUE(second.ExecuteSql(kDeleteLoginInput, {u"a.com"}));
    EXPECT_TRUE(Domains(first).empty());
}

TEST_F(AdoDbSharingTest, ProcessesSeeEachOthersCommitsAtTheirNextQuery) {
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    ASSERT_TRUE(Domains(db).empty());

    WriterProcess writer({"insert", m_path, "child", "3"});
    ASSERT_TRUE(writer.started());
    EXPECT_EQ(writer.Lines().size(), 3u);
    EXPECT_EQ(writer.Wait(), 0);
    EXPECT_EQ(Domains(db), (std::set<std::u16string>{u"child0", u"child1", u"child2"}));

    ASSERT_TRUE(db.ExecuteSql(kInsertLoginInput, {u"n", u"p", u"parent.com"}));
    WriterProcess reader({"count", m_path});
    EXPECT_EQ(reader.Lines(), std::vector<std::string>{"4"});
    EXPECT_EQ(reader.Wait(), 0);
}

TEST_F(AdoDbSharingTest, WriterKilledAtRandomMomentsLosesNoCommittedRow) {
    std::random_device seeds;
    const unsigned seed = seeds();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMs(0, 120);

    std::set<std::u16string> committed;
    for (int round = 0; round < 24; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        WriterProcess writer({"insert", m_path, "r" + std::to_string(round) + "-", "1000000"});
        ASSERT_TRUE(writer.started());
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        writer.Kill();
        const int status = writer.Wait();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        for (const std::string& line : writer.Lines()) committed.insert(Utf8ToUtf16(line));

        ASSERT_EQ(IntegrityCheck(m_path), "ok");
        CAdoDb db;
        ASSERT_TRUE(db.OpenDb(Wide(m_path))) << Utf16ToUtf8(db.m_strError);
        const std::set<std::u16string> present = Domains(db);
        for (const std::u16string& domain : committed)
            ASSERT_TRUE(present.count(domain)) << Utf16ToUtf8(domain) << " was lost";
    }
    // Otherwise the rounds proved nothing.
    EXPECT_GT(committed.size(), 0u);
}

TEST_F(AdoDbSharingTest, ByteCopyOfAFileInUseHoldsEveryCommittedRow) {
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    ASSERT_TRUE(db.ExecuteSql(kInsertLoginInput, {u"n", u"p", u"copied.com"}));
    ASSERT_NE(db.OpenRecordset(kSelectAllLoginInput, false), nullptr);

    const std::string copy = m_dir.File("copy.dat");
    WriteFile(copy, ReadFile(m_path));
    EXPECT_EQ(IntegrityCheck(copy), "ok");
    CAdoDb reader;
    ASSERT_TRUE(reader.OpenDb(Wide(copy)));
    EXPECT_EQ(Domains(reader), std::set<std::u16string>{u"copied.com"});
}

}  // namespace
