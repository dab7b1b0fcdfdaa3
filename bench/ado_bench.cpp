// The database provider against raw SQLite: single-row inserts, each with
// its own commit (the login store's pattern), and reading 10,000 rows.
// The files live in a fresh directory under the working directory, so the
// commits reach a real disk; BenchFsync gives the disk's own sync rate.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/ado/ado.h"
#include "platform/win/text.h"

namespace {

class BenchDirectory {
public:
    BenchDirectory() {
        std::string pattern = (std::filesystem::current_path() / "ado-bench-XXXXXX").string();
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~BenchDirectory() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void RawExec(sqlite3* db, const char* sql) {
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

void CreateDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    RawExec(db,
            "CREATE TABLE LoginInput (DomainName TEXT COLLATE NOCASE NOT NULL UNIQUE,"
            " LoginName TEXT, LoginPassword TEXT);"
            "CREATE TABLE LoginInfo (DomainName TEXT COLLATE NOCASE NOT NULL,"
            " ItemNames TEXT, ItemValues TEXT, LoginUrl TEXT, PasswordName TEXT,"
            " PasswordValue TEXT, AccountName TEXT COLLATE NOCASE, FavorName TEXT)");
    sqlite3_close(db);
}

_ConnectionPtr Connect(const std::string& path) {
    _ConnectionPtr connection;
    connection.CoCreateInstance(__uuidof(Connection));
    connection->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Utf8ToUtf16(path) +
                         u";Jet OLEDB:Database Locking Mode=1",
                     u"", u"", adOptionUnspecified);
    return connection;
}

// A value as long as the protected text of a short password.
const std::u16string kProtected(300, u'Q');

void BenchAdoInsert(benchmark::State& state) {
    BenchDirectory dir;
    CreateDatabase(dir.File("login.dat"));
    _ConnectionPtr connection = Connect(dir.File("login.dat"));
    _CommandPtr command;
    command.CoCreateInstance(__uuidof(Command));
    command->PutRefActiveConnection(connection);
    long row = 0;
    for (auto _ : state) {
        const std::u16string values[] = {kProtected, kProtected,
                                         u"site" + Utf8ToUtf16(std::to_string(row++)) + u".com"};
        command->PutCommandText(
            u"insert into logininput (LoginName, LoginPassword, DomainName) values (?, ?, ?)");
        ParametersPtr parameters = command->GetParameters();
        for (int i = 0; i < 3; ++i) {
            _ParameterPtr parameter = parameters->GetItem(i);
            parameter->PutSize(static_cast<long>(values[i].size()));
            parameter->PutValue(CComVariant(values[i]));
        }
        connection->BeginTrans();
        command->Execute(nullptr, nullptr, adCmdText);
        connection->CommitTrans();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BenchAdoInsert)->Unit(benchmark::kMicrosecond)->MinTime(3)->UseRealTime();

void BenchRawSqliteInsert(benchmark::State& state) {
    BenchDirectory dir;
    CreateDatabase(dir.File("login.dat"));
    sqlite3* db = nullptr;
    sqlite3_open_v2(dir.File("login.dat").c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 10000);
    RawExec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into logininput (LoginName, LoginPassword, DomainName)"
                       " values (?, ?, ?)",
                       -1, &insert, nullptr);
    long row = 0;
    for (auto _ : state) {
        const std::u16string domain = u"site" + Utf8ToUtf16(std::to_string(row++)) + u".com";
        RawExec(db, "BEGIN IMMEDIATE");
        sqlite3_bind_text16(insert, 1, kProtected.data(), int(kProtected.size() * 2), nullptr);
        sqlite3_bind_text16(insert, 2, kProtected.data(), int(kProtected.size() * 2), nullptr);
        sqlite3_bind_text16(insert, 3, domain.data(), int(domain.size() * 2), nullptr);
        sqlite3_step(insert);
        sqlite3_reset(insert);
        RawExec(db, "COMMIT");
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BenchRawSqliteInsert)->Unit(benchmark::kMicrosecond)->MinTime(3)->UseRealTime();

void BenchFsync(benchmark::State& state) {
    BenchDirectory dir;
    const int fd = open(dir.File("sync").c_str(), O_CREAT | O_WRONLY, 0600);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pwrite(fd, "x", 1, 0));
        fdatasync(fd);
    }
    close(fd);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BenchFsync)->Unit(benchmark::kMicrosecond)->MinTime(2)->UseRealTime();

void BenchRecordsetOpenAndWalk(benchmark::State& state) {
    BenchDirectory dir;
    CreateDatabase(dir.File("login.dat"));
    {
        sqlite3* db = nullptr;
        sqlite3_open(dir.File("login.dat").c_str(), &db);
        RawExec(db,
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000)"
                " INSERT INTO LoginInfo SELECT 'site' || i || '.com', 'user' || char(10) || 'pw',"
                " printf('%.300c', 'Q'), 'http://site' || i || '.com/login', 'pw',"
                " printf('%.300c', 'Q'), '', NULL FROM n");
        sqlite3_close(db);
    }
    _ConnectionPtr connection = Connect(dir.File("login.dat"));
    _RecordsetPtr recordset;
    recordset.CoCreateInstance(__uuidof(Recordset));
    for (auto _ : state) {
        recordset->Open(
            u"SELECT DomainName, ItemNames, ItemValues, LoginUrl, PasswordName, "
            u"PasswordValue, AccountName FROM LoginInfo",
            CComVariant(static_cast<IDispatch*>(connection)), adOpenStatic, adLockReadOnly,
            adCmdText);
        FieldsPtr fields = recordset->GetFields();
        const long count = recordset->GetRecordCount();
        for (long row = 0; row < count; ++row) {
            for (long column = 0; column < 7; ++column) {
                CComVariant value = fields->GetItem(column)->GetValue();
                if (value.vt != VT_BSTR && value.vt != VT_NULL) value.ChangeType(VT_BSTR);
                benchmark::DoNotOptimize(value.bstrVal);
            }
            recordset->MoveNext();
        }
        recordset->Close();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BenchRecordsetOpenAndWalk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    CoUninitialize();
    return 0;
}
