// Connection: opening the Jet connection string, refusing what is not a
// database, transactions, and sharing one file between connections and
// processes.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ado_test_support.h"
#include "platform/win/text.h"
#include "tests/support/temp_home.h"

using namespace ado_test;
using testing_support::TempDir;

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// The description of a failed Open on the file.
std::u16string OpenError(const std::string& path, HRESULT* code = nullptr) {
    _ConnectionPtr connection;
    EXPECT_EQ(connection.CoCreateInstance(__uuidof(Connection)), S_OK);
    const std::u16string error = ErrorOf(
        [&] { connection->Open(ConnectionStringFor(path), u"", u"", adOptionUnspecified); }, code);
    EXPECT_EQ(connection->GetState(), adStateClosed);
    return error;
}

long Count(_Connection* connection, const std::u16string& table) {
    const Rows rows = Query(connection, u"select count(*) from " + table);
    return std::stol(Utf16ToUtf8(rows.at(0).at(0)));
}

}  // namespace

TEST(AdoConnection, MissingFileFailsNamingItAndIsNotCreated) {
    TempDir dir;
    const std::string path = dir.File("no such dir/login.dat");
    HRESULT code = S_OK;
    const std::u16string error = OpenError(path, &code);
    EXPECT_EQ(code, E_FAIL);
    EXPECT_NE(error.find(Utf8ToUtf16(path)), std::u16string::npos) << Utf16ToUtf8(error);
    EXPECT_FALSE(Exists(path));
    EXPECT_FALSE(Exists(dir.File("no such dir")));

    const std::string plain = dir.File("login.dat");
    OpenError(plain);
    EXPECT_FALSE(Exists(plain));
}

TEST(AdoConnection, FilesThatAreNotDatabasesFailAtOpen) {
    TempDir dir;
    testing_support::WriteFile(dir.File("garbage.dat"), std::string(4096, 'x'));
    testing_support::WriteFile(dir.File("short.dat"), "not a database");
    testing_support::WriteFile(dir.File("empty.dat"), "");
    for (const char* name : {"garbage.dat", "short.dat", "empty.dat"}) {
        const std::u16string error = OpenError(dir.File(name));
        EXPECT_NE(error.find(u"Unrecognized database format"), std::u16string::npos)
            << name << ": " << Utf16ToUtf8(error);
    }
    // Nothing was written into the refused files.
    EXPECT_EQ(testing_support::ReadFile(dir.File("empty.dat")), "");
}

TEST(AdoConnection, OpensWithBlanksAndCaseOfAWindowsPath) {
    TempDir dir;
    ASSERT_EQ(mkdir(dir.File("Program Files").c_str(), 0700), 0);
    CreateLoginDatabase(dir.File("Program Files/Login.dat"));
    _ConnectionPtr connection = OpenConnection(dir.File("program files/login.DAT"));
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->GetState(), adStateOpen);
    connection->Close();
    EXPECT_EQ(connection->GetState(), adStateClosed);
    EXPECT_EQ(ErrorOf([&] { connection->Close(); }),
              u"Operation is not allowed when the object is closed.");
}

TEST(AdoConnection, RollbackLeavesNothingAndCommitKeeps) {
    TempDir dir;
    CreateLoginDatabase(dir.File("login.dat"));
    _ConnectionPtr connection = OpenConnection(dir.File("login.dat"));
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->BeginTrans(), 1);
    connection->Execute(u"insert into LoginInput (DomainName) values ('a.com')", nullptr,
                        adCmdText);
    EXPECT_EQ(Count(connection, u"LoginInput"), 1);
    connection->RollbackTrans();
    EXPECT_EQ(Count(connection, u"LoginInput"), 0);
    EXPECT_EQ(RawScalar(dir.File("login.dat"), "select count(*) from LoginInput"), "0");

    EXPECT_NE(ErrorOf([&] { connection->CommitTrans(); }), u"<no error>");
    ExecuteWithParameters(connection, u"insert into LoginInput (DomainName) values (?)",
                          {u"b.com"});
    EXPECT_EQ(RawScalar(dir.File("login.dat"), "select DomainName from LoginInput"), "b.com");
}

TEST(AdoConnection, FailedStatementReportsEngineMessage) {
    TempDir dir;
    CreateLoginDatabase(dir.File("login.dat"));
    _ConnectionPtr connection = OpenConnection(dir.File("login.dat"));
    ASSERT_TRUE(connection);
    HRESULT code = S_OK;
    const std::u16string syntax =
        ErrorOf([&] { connection->Execute(u"selec * from LoginInfo", nullptr, adCmdText); }, &code);
    EXPECT_EQ(code, E_FAIL);
    EXPECT_NE(syntax.find(u"syntax error"), std::u16string::npos) << Utf16ToUtf8(syntax);
    const std::u16string table =
        ErrorOf([&] { connection->Execute(u"select * from NoSuchTable", nullptr, adCmdText); });
    EXPECT_NE(table.find(u"NoSuchTable"), std::u16string::npos) << Utf16ToUtf8(table);
    // A duplicate key fails inside a transaction that can still be rolled back.
    ExecuteWithParameters(connection, u"insert into LoginInput (DomainName) values (?)", {u"a"});
    EXPECT_NE(ErrorOf([&] {
                  ExecuteWithParameters(connection,
                                        u"insert into LoginInput (DomainName) values (?)", {u"A"});
              }),
              u"<no error>");
    EXPECT_EQ(Count(connection, u"LoginInput"), 1);
}

TEST(AdoConnection, SecondConnectionSeesCommittedChangeAtNextQuery) {
    TempDir dir;
    CreateLoginDatabase(dir.File("login.dat"));
    _ConnectionPtr first = OpenConnection(dir.File("login.dat"));
    _ConnectionPtr second = OpenConnection(dir.File("login.dat"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(Count(second, u"LoginInput"), 0);
    ExecuteWithParameters(first, u"insert into LoginInput (DomainName) values (?)", {u"a.com"});
    EXPECT_EQ(Count(second, u"LoginInput"), 1);
    ExecuteWithParameters(second, u"delete from logininput where DomainName = ?", {u"A.COM"});
    EXPECT_EQ(Count(first, u"LoginInput"), 0);
}

TEST(AdoConnection, CommittedInsertIsInAByteCopyWhileConnectionStaysOpen) {
    TempDir dir;
    CreateLoginDatabase(dir.File("login.dat"));
    _ConnectionPtr connection = OpenConnection(dir.File("login.dat"));
    ASSERT_TRUE(connection);
    Query(connection, u"select * from LoginInput");
    ExecuteWithParameters(connection, u"insert into LoginInput (DomainName) values (?)",
                          {u"copied.com"});
    testing_support::WriteFile(dir.File("copy.dat"),
                               testing_support::ReadFile(dir.File("login.dat")));
    EXPECT_EQ(RawScalar(dir.File("copy.dat"), "select DomainName from LoginInput"), "copied.com");
    EXPECT_EQ(RawScalar(dir.File("login.dat"), "pragma journal_mode"), "delete");
}

TEST(AdoConnection, ChangeInAnotherProcessIsSeenAtNextQuery) {
    TempDir dir;
    CreateLoginDatabase(dir.File("login.dat"));
    _ConnectionPtr connection = OpenConnection(dir.File("login.dat"));
    ASSERT_TRUE(connection);
    EXPECT_EQ(Count(connection, u"LoginInput"), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 1;
        try {
            _ConnectionPtr own;
            own.CoCreateInstance(__uuidof(Connection));
            own->Open(ConnectionStringFor(dir.File("login.dat")), u"", u"", adOptionUnspecified);
            ExecuteWithParameters(own, u"insert into LoginInput (DomainName) values (?)",
                                  {u"child.com"});
            status = 0;
        } catch (...) {
        }
        _exit(status);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Query(connection, u"select DomainName from LoginInput"), Rows{{u"child.com"}});
}

TEST(AdoConnection, BusyWriterInAnotherProcessMakesTheSecondWait) {
    TempDir dir;
    CreateLoginDatabase(dir.File("login.dat"));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Holds the write lock for a while, then commits.
        sqlite3* db = nullptr;
        sqlite3_open(dir.File("login.dat").c_str(), &db);
        int rc = sqlite3_exec(db,
                              "BEGIN IMMEDIATE; insert into LoginInput (DomainName)"
                              " values ('first.com')",
                              nullptr, nullptr, nullptr);
        (void)!write(ready[1], "x", 1);
        usleep(700 * 1000);
        rc |= sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        _exit(rc == SQLITE_OK ? 0 : 1);
    }
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);
    _ConnectionPtr connection = OpenConnection(dir.File("login.dat"));
    ASSERT_TRUE(connection);
    EXPECT_EQ(ErrorOf([&] {
                  ExecuteWithParameters(connection,
                                        u"insert into LoginInput (DomainName) values (?)",
                                        {u"second.com"});
                  connection->Execute(u"update LoginInput set LoginName = 'x'", nullptr, adCmdText);
              }),
              u"<no error>");
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Query(connection, u"select DomainName, LoginName from LoginInput order by 1"),
              (Rows{{u"first.com", u"x"}, {u"second.com", u"x"}}));
    close(ready[0]);
    close(ready[1]);
}
