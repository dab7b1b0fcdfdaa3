// One prepared SQLite statement: binding values, reading rows and column
// origins. Failures return E_FAIL with the engine's message as the ADO
// error description.
#pragma once

#include <sqlite3.h>

#include <string_view>
#include <vector>

#include "platform/ado/row_set.h"

class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }

    // One statement; text after it other than blanks is refused, as Jet
    // refuses it.
    HRESULT Prepare(sqlite3* db, std::u16string_view sql);
    // values[i] goes to marker i + 1. Strings (an empty one stays a
    // zero-length text), numbers and VT_NULL; VT_EMPTY means no value given.
    // The values must outlive the statement's run.
    HRESULT Bind(const std::vector<CComVariant>& values);

    bool ReadOnly() const { return sqlite3_stmt_readonly(m_stmt) != 0; }
    bool YieldsRows() const { return sqlite3_column_count(m_stmt) > 0; }
    std::vector<ColumnInfo> Columns() const;

    // Steps to the end; rows (when given) receives every row. With
    // leadingRowid the first column is the rowid, kept apart from the values.
    HRESULT Run(RowSet* rows, bool leadingRowid);
    // Drops the bound values (they belong to the caller), ready for the
    // next Bind.
    void ClearBindings() { sqlite3_clear_bindings(m_stmt); }

private:
    HRESULT EngineError() const;

    sqlite3_stmt* m_stmt = nullptr;
    sqlite3* m_db = nullptr;
};
