// One SQLite connection on a database file, set up so that several
// connections in several processes share the file safely:
// - the file must exist; it is never created, and a file that is not a
//   database is refused at Open;
// - rollback journal (never WAL) and synchronous=FULL, so every committed
//   change is in the main file when the commit returns;
// - a busy timeout, and write transactions that take the write lock at
//   their start (BEGIN IMMEDIATE), so waiting writers queue instead of
//   failing; a write outside an explicit transaction gets one of its own.
// Failures set the ADO error description and return E_FAIL, or ADO's code
// for misuse of the object.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ado/row_set.h"
#include "platform/ado/sqlite_statement.h"

class SqliteDatabase {
public:
    SqliteDatabase() = default;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    ~SqliteDatabase() { Close(); }

    // path is a Windows path: it names the file without regard to case.
    HRESULT Open(std::u16string_view path);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }

    HRESULT BeginTransaction(long* level);
    HRESULT CommitTransaction();
    HRESULT RollbackTransaction();

    // Runs one statement in SQLite's dialect. rows (when given) receives
    // the rows a query yields; changes the rows a change touched.
    HRESULT Run(std::u16string_view sql, const std::vector<CComVariant>& values, RowSet* rows,
                long* changes);
    // Runs a query whose rows can be written back: rows carries the table
    // and rowids when the query reads one table, else it is read-only.
    HRESULT RunWritableQuery(std::u16string_view sql, RowSet* rows);

    // Busy timeout for lock waits, in milliseconds.
    static constexpr int kBusyTimeoutMs = 10000;

private:
    HRESULT Configure(const std::u16string& path);
    HRESULT Exec(const char* sql);
    HRESULT RunPrepared(SqliteStatement& statement, RowSet* rows, bool leadingRowid, long* changes);
    HRESULT NotOpen() const;
    // The statement for sql, prepared once and kept for the next runs.
    SqliteStatement* Prepared(std::u16string_view sql, HRESULT& hr);

    sqlite3* m_db = nullptr;
    long m_transactionLevel = 0;
    // Most recently used first; SQLite's parsing is the dear part of a run.
    std::vector<std::pair<std::u16string, std::unique_ptr<SqliteStatement>>> m_prepared;
};
