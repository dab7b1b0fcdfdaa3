// The login data tool on a generated database of 5,000 LoginInput, 4,000
// LoginInfo, 200 FormInfo and 800 FieldInfo rows (10,000 rows):
// - export: file copy plus decryption of every protected value in place
//   (one transaction on the private copy);
// - import: every row read, encrypted and inserted with its own commit,
//   beside raw SQLite inserting the same encrypted rows one committed
//   statement each (rollback journal, synchronous=FULL, as the provider
//   sets it up) in the same loop; the ratio is the counter import/raw;
// - the login input dialog's initialisation with 5,000 rows: open the
//   database, read and decrypt every login, fill the list (scripted
//   backend, closed at once).
// Files live in a fresh directory under the working directory (a real
// disk), the protection key in a KESTRO_HOME inside it. The login input
// dialog reads the Login.dat beside the program, so that one is written
// next to this program and removed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/scripted_backend.h"
#include "platform/win/text.h"
#include "store/crypt_str.h"
#include "store/login_schema.h"
#include "tool/login_database_path.h"
#include "tool/login_export.h"
#include "tool/login_import.h"
#include "tool/quillet_dlg.h"

namespace {

constexpr int kLoginInputRows = 5000;
constexpr int kLoginInfoRows = 4000;
constexpr int kFormRows = 200;
constexpr int kFieldRows = 800;
constexpr int kAllRows = kLoginInputRows + kLoginInfoRows + kFormRows + kFieldRows;

std::string g_directory;
std::string g_encrypted;  // the generated database, values protected
std::string g_exported;   // its export, values in clear
using Rows = std::vector<std::vector<std::string>>;
struct TableRows {
    std::string insert;
    Rows rows;
};
std::vector<TableRows> g_imported;  // what an import writes, for the raw inserts

std::string BenchFile(const std::string& name) {
    return g_directory + "/" + name;
}

std::string FreshDatabase(const std::string& name) {
    const std::string path = BenchFile(name);
    std::filesystem::copy_file(KESTRO_LOGIN_DAT, path,
                               std::filesystem::copy_options::overwrite_existing);
    return path;
}

class Sqlite {
public:
    explicit Sqlite(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL", nullptr, nullptr,
                     nullptr);
    }
    ~Sqlite() { sqlite3_close(m_db); }
    // Each row its own committed statement unless inside Begin/Commit.
    bool Insert(const std::string& sql, const Rows& rows) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            return false;
        bool ok = true;
        for (const auto& row : rows) {
            for (std::size_t i = 0; i < row.size(); ++i)
                sqlite3_bind_text(statement, static_cast<int>(i) + 1, row[i].c_str(), -1,
                                  SQLITE_STATIC);
            ok &= sqlite3_step(statement) == SQLITE_DONE;
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        return ok;
    }
    Rows Select(const std::string& sql) {
        Rows rows;
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(statement);
        return rows;
    }
    void Execute(const char* sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
};

std::string Protect(CCryptStr& crypt, const std::string& clear) {
    std::string text;
    crypt.EncryptStrW(Utf8ToUtf16(clear), text);
    return text;
}

std::string Number(int i) {
    return std::to_string(i);
}

std::string Statement(const char16_t* sql) {
    return Utf16ToUtf8(sql);
}

void GenerateDatabase() {
    CCryptStr crypt;
    g_encrypted = FreshDatabase("generated.dat");
    Rows inputs, logins, forms, fields;
    for (int i = 0; i < kLoginInputRows; ++i)
        inputs.push_back({Protect(crypt, "user" + Number(i)),
                          Protect(crypt, "password-" + Number(i)),
                          "site" + Number(i) + ".example.com"});
    for (int i = 0; i < kLoginInfoRows; ++i)
        logins.push_back({"login" + Number(i) + ".example.com", "user\npass",
                          Protect(crypt, "user" + Number(i) + "\npassword-" + Number(i)),
                          "https://login" + Number(i) + ".example.com/", "pass",
                          Protect(crypt, "password-" + Number(i)), "account", "Favourite"});
    for (int i = 0; i < kFormRows; ++i)
        forms.push_back({Number(i + 1), "https://form" + Number(i) + ".example.com/",
                         "form" + Number(i) + ".example.com"});
    for (int i = 0; i < kFieldRows; ++i)
        fields.push_back({Number(i + 1), "field" + Number(i), "text",
                          Protect(crypt, "value of field " + Number(i)), Number(i / 4 + 1)});
    Sqlite db(g_encrypted);
    db.Execute("BEGIN");
    db.Insert(Statement(login_schema::kInsertLoginInput), inputs);
    db.Insert(Statement(login_schema::kInsertCapturedLogin), logins);
    db.Insert(Statement(login_schema::kImportFormInfo), forms);
    db.Insert(Statement(login_schema::kImportFieldInfo), fields);
    db.Execute("COMMIT");
}

void PrepareTransferFiles() {
    GenerateDatabase();
    CCryptStr crypt;
    g_exported = BenchFile("exported.dat");
    ExportLoginData(crypt, Utf8ToUtf16(g_encrypted), Utf8ToUtf16(g_exported));
    const std::string imported = FreshDatabase("imported.dat");
    ImportLoginData(crypt, Utf8ToUtf16(imported), Utf8ToUtf16(g_exported));
    Sqlite db(imported);
    g_imported = {
        {Statement(login_schema::kInsertLoginInput),
         db.Select("select LoginName, LoginPassword, DomainName from LoginInput")},
        {Statement(login_schema::kImportLoginInfo),
         db.Select(Statement(login_schema::kSelectAllLoginInfo))},
        {Statement(login_schema::kImportFormInfo),
         db.Select(Statement(login_schema::kSelectAllFormInfo))},
        {Statement(login_schema::kImportFieldInfo),
         db.Select(Statement(login_schema::kSelectAllFieldInfo))},
    };
}

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_Export(benchmark::State& state) {
    const std::string target = BenchFile("export-target.dat");
    CCryptStr crypt;
    for (auto _ : state) {
        std::filesystem::remove(target);
        const auto start = Clock::now();
        const TransferResult result =
            ExportLoginData(crypt, Utf8ToUtf16(g_encrypted), Utf8ToUtf16(target));
        state.SetIterationTime(Seconds(start));
        if (!result.Done()) state.SkipWithError(Utf16ToUtf8(result.message).c_str());
    }
    state.SetItemsProcessed(state.iterations() * kAllRows);
}

// Import against raw SQLite writing the same rows, one commit each, in
// turns, so both see the same disk.
void BM_ImportVsRawSqlite(benchmark::State& state) {
    CCryptStr crypt;
    double importSeconds = 0, rawSeconds = 0;
    for (auto _ : state) {
        const std::string target = FreshDatabase("import-target.dat");
        auto start = Clock::now();
        const TransferResult result =
            ImportLoginData(crypt, Utf8ToUtf16(target), Utf8ToUtf16(g_exported));
        const double imported = Seconds(start);
        state.SetIterationTime(imported);
        importSeconds += imported;
        if (!result.Done()) state.SkipWithError(Utf16ToUtf8(result.message).c_str());

        const std::string raw = FreshDatabase("raw-target.dat");
        Sqlite db(raw);
        start = Clock::now();
        for (const TableRows& table : g_imported) db.Insert(table.insert, table.rows);
        rawSeconds += Seconds(start);
    }
    state.SetItemsProcessed(state.iterations() * kAllRows);
    state.counters["import/raw"] = importSeconds / rawSeconds;
    state.counters["raw_rows/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kAllRows / rawSeconds);
}

// Times its own initialisation; the rest of a modal run is the scripted
// backend describing 5,000 rows.
class TimedLoginInputDialog : public CQuilletDlg {
public:
    double m_initSeconds = 0;

protected:
    BOOL OnInitDialog() override {
        const auto start = Clock::now();
        const BOOL result = CQuilletDlg::OnInitDialog();
        m_initSeconds = Seconds(start);
        return result;
    }
};

void BM_LoginInputDialogInit(benchmark::State& state) {
    double modalSeconds = 0;
    for (auto _ : state) {
        auto answers = std::make_unique<QueuedAnswers>();
        answers->AddLine(u"dialog \"Kestro Input Login Information \"");
        answers->AddLine(u"press 2");
        auto* backend = new ScriptedBackend(std::move(answers), ScriptedBackend::OnFailure::Record);
        InstallUiBackend(std::unique_ptr<UiBackend>(backend));
        TimedLoginInputDialog dialog;
        const auto start = Clock::now();
        dialog.DoModal();
        modalSeconds += Seconds(start);
        state.SetIterationTime(dialog.m_initSeconds);
        if (!backend->Failure().empty()) state.SkipWithError(backend->Failure().c_str());
        const auto& shown = backend->Shown();
        if (shown.empty() || shown[0].dialog.controls.back().rows.size() != kLoginInputRows)
            state.SkipWithError("the dialog did not list every login");
    }
    state.SetItemsProcessed(state.iterations() * kLoginInputRows);
    state.counters["modal_ms"] = modalSeconds * 1000 / static_cast<double>(state.iterations());
}

BENCHMARK(BM_Export)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ImportVsRawSqlite)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoginInputDialogInit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
    std::string pattern = (std::filesystem::current_path() / "tool-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    g_directory = pattern;
    setenv("KESTRO_HOME", BenchFile("home").c_str(), 1);
    if (FAILED(CoInitialize(nullptr))) return 1;

    PrepareTransferFiles();
    // The login input dialog reads the database beside this program.
    const std::string besideProgram = Utf16ToUtf8(LoginDatabasePath());
    std::filesystem::copy_file(g_encrypted, besideProgram,
                               std::filesystem::copy_options::overwrite_existing);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::error_code ignored;
    std::filesystem::remove(besideProgram, ignored);
    CoUninitialize();
    std::filesystem::remove_all(g_directory, ignored);
    return 0;
}
