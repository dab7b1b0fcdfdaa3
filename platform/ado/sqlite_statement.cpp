#include "platform/ado/sqlite_statement.h"

#include <cstring>
#include <limits>

#include "platform/ado/ado_error.h"
#include "platform/com/safearray.h"

namespace {

std::u16string Text16(const void* text) {
    return text ? std::u16string(static_cast<const char16_t*>(text)) : std::u16string();
}

bool OnlyBlanks(const char16_t* text) {
    for (; text && *text; ++text)
        if (*text != u' ' && *text != u'\t' && *text != u'\r' && *text != u'\n' && *text != u';')
            return false;
    return true;
}

CComVariant BlobValue(sqlite3_stmt* stmt, int column) {
    const int size = sqlite3_column_bytes(stmt, column);
    const void* bytes = sqlite3_column_blob(stmt, column);
    CComVariant value;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(size));
    void* data = nullptr;
    if (!array || FAILED(SafeArrayAccessData(array, &data))) {
        if (array) SafeArrayDestroy(array);
        return value;
    }
    if (size > 0) std::memcpy(data, bytes, static_cast<std::size_t>(size));
    SafeArrayUnaccessData(array);
    value.vt = VT_ARRAY | VT_UI1;
    value.parray = array;
    return value;
}

CComVariant ColumnValue(sqlite3_stmt* stmt, int column) {
    CComVariant value;
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER: {
            const sqlite3_int64 number = sqlite3_column_int64(stmt, column);
            if (number >= std::numeric_limits<LONG>::min() &&
                number <= std::numeric_limits<LONG>::max())
                return CComVariant(static_cast<int>(number));
            return CComVariant(static_cast<long long>(number));
        }
        case SQLITE_FLOAT:
            return CComVariant(sqlite3_column_double(stmt, column));
        case SQLITE_TEXT: {
            const void* text = sqlite3_column_text16(stmt, column);
            const int bytes = sqlite3_column_bytes16(stmt, column);
            value.vt = VT_BSTR;
            value.bstrVal =
                SysAllocStringLen(static_cast<const OLECHAR*>(text), static_cast<UINT>(bytes / 2));
            return value;
        }
        case SQLITE_BLOB:
            return BlobValue(stmt, column);
        default:
            value.vt = VT_NULL;
            return value;
    }
}

int BindOne(sqlite3_stmt* stmt, int index, const VARIANT& value) {
    switch (value.vt) {
        case VT_NULL:
            return sqlite3_bind_null(stmt, index);
        case VT_BSTR: {
            // A null BSTR is the empty string: bind a real pointer so SQLite
            // stores a zero-length text, not NULL.
            const OLECHAR* text = value.bstrVal ? value.bstrVal : u"";
            return sqlite3_bind_text16(stmt, index, text,
                                       static_cast<int>(SysStringLen(value.bstrVal) * 2),
                                       SQLITE_STATIC);
        }
        case VT_I1:
            return sqlite3_bind_int(stmt, index, value.cVal);
        case VT_UI1:
            return sqlite3_bind_int(stmt, index, value.bVal);
        case VT_I2:
            return sqlite3_bind_int(stmt, index, value.iVal);
        case VT_UI2:
            return sqlite3_bind_int(stmt, index, value.uiVal);
        case VT_BOOL:
            return sqlite3_bind_int(stmt, index, value.boolVal ? -1 : 0);
        case VT_I4:
        case VT_INT:
            return sqlite3_bind_int(stmt, index, value.lVal);
        case VT_UI4:
        case VT_UINT:
            return sqlite3_bind_int64(stmt, index, value.ulVal);
        case VT_I8:
            return sqlite3_bind_int64(stmt, index, value.llVal);
        case VT_R4:
            return sqlite3_bind_double(stmt, index, value.fltVal);
        case VT_R8:
            return sqlite3_bind_double(stmt, index, value.dblVal);
        default:
            return SQLITE_MISMATCH;
    }
}

}  // namespace

HRESULT SqliteStatement::EngineError() const {
    return AdoFail(E_FAIL, Text16(sqlite3_errmsg16(m_db)));
}

HRESULT SqliteStatement::Prepare(sqlite3* db, std::u16string_view sql) {
    sqlite3_finalize(std::exchange(m_stmt, nullptr));
    m_db = db;
    // The tail is only meaningful in a terminated buffer.
    const std::u16string text(sql);
    const void* tail = nullptr;
    if (sqlite3_prepare16_v3(db, text.c_str(), static_cast<int>(text.size() * 2), 0, &m_stmt,
                             &tail) != SQLITE_OK)
        return EngineError();
    if (!m_stmt) return AdoFail(E_FAIL, u"Invalid SQL statement; the statement text is empty.");
    if (!OnlyBlanks(static_cast<const char16_t*>(tail)))
        return AdoFail(E_FAIL, u"Characters found after end of SQL statement.");
    return S_OK;
}

HRESULT SqliteStatement::Bind(const std::vector<CComVariant>& values) {
    const int markers = sqlite3_bind_parameter_count(m_stmt);
    if (static_cast<std::size_t>(markers) > values.size())
        return AdoFail(E_FAIL, u"No value given for one or more required parameters.");
    for (int i = 0; i < markers; ++i) {
        const VARIANT& value = values[static_cast<std::size_t>(i)];
        if (value.vt == VT_EMPTY)
            return AdoFail(E_FAIL, u"No value given for one or more required parameters.");
        const int rc = BindOne(m_stmt, i + 1, value);
        if (rc == SQLITE_MISMATCH)
            return AdoFail(E_FAIL, u"Parameter value of a type the provider cannot store.");
        if (rc != SQLITE_OK) return EngineError();
    }
    return S_OK;
}

std::vector<ColumnInfo> SqliteStatement::Columns() const {
    std::vector<ColumnInfo> columns;
    const int count = sqlite3_column_count(m_stmt);
    for (int i = 0; i < count; ++i) {
        columns.push_back({Text16(sqlite3_column_name16(m_stmt, i)),
                           Text16(sqlite3_column_table_name16(m_stmt, i)),
                           Text16(sqlite3_column_origin_name16(m_stmt, i))});
    }
    return columns;
}

HRESULT SqliteStatement::Run(RowSet* rows, bool leadingRowid) {
    const int count = sqlite3_column_count(m_stmt);
    const int first = leadingRowid ? 1 : 0;
    for (;;) {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            const HRESULT hr = EngineError();
            sqlite3_reset(m_stmt);
            return hr;
        }
        if (!rows) continue;
        if (leadingRowid) rows->rowids.push_back(sqlite3_column_int64(m_stmt, 0));
        std::vector<CComVariant>& row = rows->rows.emplace_back();
        row.reserve(static_cast<std::size_t>(count - first));
        for (int i = first; i < count; ++i) row.push_back(ColumnValue(m_stmt, i));
    }
    sqlite3_reset(m_stmt);
    return S_OK;
}
