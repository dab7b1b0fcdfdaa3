#include "platform/ado/sqlite_database.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/ado/ado_constants.h"
#include "platform/ado/ado_error.h"
#include "platform/ado/jet_dialect.h"
#include "platform/ado/sqlite_statement.h"
#include "platform/win/path_nocase.h"

namespace {

std::u16string EngineMessage(sqlite3* db) {
    const void* text = sqlite3_errmsg16(db);
    return text ? std::u16string(static_cast<const char16_t*>(text)) : std::u16string();
}

// Jet's Len(): the length in UTF-16 code units; NULL stays NULL.
void JetLen(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int64(context, sqlite3_value_bytes16(args[0]) / 2);
}

// "<before>'<path>'<after>", built by appending (g++ 12 warns falsely on
// a literal + string chain here).
std::u16string AboutFile(std::u16string_view before, std::u16string_view path,
                         std::u16string_view after) {
    std::u16string text(before);
    text.append(u"'").append(path).append(u"'").append(after);
    return text;
}

}  // namespace

HRESULT SqliteDatabase::Open(std::u16string_view path) {
    Close();
    const std::string file = ResolvePathNoCase(path);
    struct stat info {};
    if (stat(file.c_str(), &info) != 0)
        return AdoFail(E_FAIL, AboutFile(u"Could not find file ", path, u"."));
    // SQLite would take an empty file for a new database.
    if (!S_ISREG(info.st_mode) || info.st_size == 0)
        return AdoFail(E_FAIL, AboutFile(u"Unrecognized database format ", path, u"."));
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(file.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        const std::u16string message = EngineMessage(m_db);
        Close();
        return AdoFail(E_FAIL, AboutFile(u"Cannot open the database file ", path, u": " + message));
    }
    const HRESULT hr = Configure(std::u16string(path));
    if (FAILED(hr)) Close();
    return hr;
}

HRESULT SqliteDatabase::Configure(const std::u16string& path) {
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_create_function_v2(m_db, "Len", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr, JetLen,
                               nullptr, nullptr, nullptr);
    // Reading the schema now makes a file that is not a database fail here
    // rather than at its first statement.
    if (sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        if (sqlite3_errcode(m_db) == SQLITE_NOTADB)
            return AdoFail(E_FAIL, AboutFile(u"Unrecognized database format ", path, u"."));
        return AdoFail(E_FAIL, EngineMessage(m_db));
    }
    HRESULT hr = Exec("PRAGMA journal_mode=DELETE");
    if (SUCCEEDED(hr)) hr = Exec("PRAGMA synchronous=FULL");
    return hr;
}

void SqliteDatabase::Close() {
    m_prepared.clear();
    // Closing ends an open transaction without its changes.
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_transactionLevel = 0;
}

HRESULT SqliteDatabase::NotOpen() const {
    return AdoFail(AdoErrorHresult(adErrObjectClosed),
                   u"Operation is not allowed when the object is closed.");
}

HRESULT SqliteDatabase::Exec(const char* sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return AdoFail(E_FAIL, EngineMessage(m_db));
    return S_OK;
}

HRESULT SqliteDatabase::BeginTransaction(long* level) {
    if (!m_db) return NotOpen();
    if (m_transactionLevel > 0)
        return AdoFail(E_FAIL, u"A transaction is already active on this connection.");
    // Immediate: a deferred transaction that has read cannot wait for the
    // write lock (SQLite answers busy at once to avoid a deadlock).
    const HRESULT hr = Exec("BEGIN IMMEDIATE");
    if (FAILED(hr)) return hr;
    m_transactionLevel = 1;
    if (level) *level = m_transactionLevel;
    return S_OK;
}

HRESULT SqliteDatabase::CommitTransaction() {
    if (!m_db) return NotOpen();
    if (m_transactionLevel == 0) return AdoFail(E_FAIL, u"No transaction is active.");
    const HRESULT hr = Exec("COMMIT");
    // A commit that failed on a lock leaves the transaction open.
    if (sqlite3_get_autocommit(m_db)) m_transactionLevel = 0;
    return hr;
}

HRESULT SqliteDatabase::RollbackTransaction() {
    if (!m_db) return NotOpen();
    if (m_transactionLevel == 0) return AdoFail(E_FAIL, u"No transaction is active.");
    m_transactionLevel = 0;
    // SQLite may already have rolled back after an I/O or memory error.
    if (sqlite3_get_autocommit(m_db)) return S_OK;
    return Exec("ROLLBACK");
}

SqliteStatement* SqliteDatabase::Prepared(std::u16string_view sql, HRESULT& hr) {
    constexpr std::size_t kKept = 16;
    hr = S_OK;
    for (std::size_t i = 0; i < m_prepared.size(); ++i) {
        if (m_prepared[i].first != sql) continue;
        std::rotate(m_prepared.begin(), m_prepared.begin() + static_cast<std::ptrdiff_t>(i),
                    m_prepared.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return m_prepared.front().second.get();
    }
    auto statement = std::make_unique<SqliteStatement>();
    hr = statement->Prepare(m_db, sql);
    if (FAILED(hr)) return nullptr;
    m_prepared.insert(m_prepared.begin(), {std::u16string(sql), std::move(statement)});
    if (m_prepared.size() > kKept) m_prepared.pop_back();
    return m_prepared.front().second.get();
}

HRESULT SqliteDatabase::Run(std::u16string_view sql, const std::vector<CComVariant>& values,
                            RowSet* rows, long* changes) {
    if (!m_db) return NotOpen();
    HRESULT hr = S_OK;
    SqliteStatement* statement = Prepared(sql, hr);
    if (!statement) return hr;
    hr = statement->Bind(values);
    if (SUCCEEDED(hr)) {
        if (rows) rows->columns = statement->Columns();
        hr = RunPrepared(*statement, rows, false, changes);
    }
    statement->ClearBindings();
    return hr;
}

HRESULT SqliteDatabase::RunWritableQuery(std::u16string_view sql, RowSet* rows) {
    if (!m_db) return NotOpen();
    const std::u16string withRowid = WithLeadingRowid(sql);
    SqliteStatement statement;
    if (!withRowid.empty() && SUCCEEDED(statement.Prepare(m_db, withRowid))) {
        std::vector<ColumnInfo> columns = statement.Columns();
        const std::u16string table = columns.front().table;
        bool oneTable = !table.empty();
        for (std::size_t i = 1; i < columns.size() && oneTable; ++i)
            oneTable = columns[i].table.empty() || columns[i].table == table;
        if (oneTable) {
            columns.erase(columns.begin());
            rows->columns = std::move(columns);
            rows->table = table;
            return RunPrepared(statement, rows, true, nullptr);
        }
    }
    // Joins, DISTINCT and expressions over several tables stay read-only.
    ClearAdoErrorDescription();
    return Run(sql, {}, rows, nullptr);
}

HRESULT SqliteDatabase::RunPrepared(SqliteStatement& statement, RowSet* rows, bool leadingRowid,
                                    long* changes) {
    const bool ownTransaction = !statement.ReadOnly() && sqlite3_get_autocommit(m_db);
    if (ownTransaction) {
        const HRESULT hr = Exec("BEGIN IMMEDIATE");
        if (FAILED(hr)) return hr;
    }
    HRESULT hr = statement.Run(rows, leadingRowid);
    if (SUCCEEDED(hr)) {
        if (changes) *changes = statement.YieldsRows() ? -1 : sqlite3_changes(m_db);
        if (ownTransaction) hr = Exec("COMMIT");
    }
    if (FAILED(hr) && ownTransaction && !sqlite3_get_autocommit(m_db))
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    return hr;
}
