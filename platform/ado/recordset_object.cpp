#include "platform/ado/recordset_object.h"

#include "platform/ado/ado_objects.h"
#include "platform/ado/database_source.h"
#include "platform/ado/fields_object.h"
#include "platform/ado/jet_dialect.h"
#include "platform/ado/object_support.h"
#include "platform/win/text.h"

namespace {

std::u16string QuotedName(const std::u16string& name) {
    std::u16string out = u"\"";
    for (char16_t c : name) {
        if (c == u'"') out += u'"';
        out += c;
    }
    return out + u"\"";
}

HRESULT RowGoneError() {
    return AdoFail(E_FAIL,
                   u"Row cannot be located for updating. Some values may have been changed "
                   u"since it was last read.");
}

// The value as the row will hold it: Empty is NULL, references are
// followed, and types the engine cannot store become text.
HRESULT StorableValue(const VARIANT& value, CComVariant* stored) {
    CComVariant plain;
    if (FAILED(VariantCopyInd(&plain, &value))) return InvalidArgumentError();
    switch (plain.vt) {
        case VT_EMPTY:
            stored->Clear();
            stored->vt = VT_NULL;
            return S_OK;
        case VT_NULL:
        case VT_BSTR:
        case VT_I1:
        case VT_UI1:
        case VT_I2:
        case VT_UI2:
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_I8:
        case VT_R4:
        case VT_R8:
        case VT_BOOL:
            *stored = plain;
            return S_OK;
        default:
            if (FAILED(stored->ChangeType(VT_BSTR, &plain)))
                return AdoFail(E_FAIL,
                               u"Multiple-step operation generated errors. Check each status "
                               u"value.");
            return S_OK;
    }
}

}  // namespace

STDMETHODIMP RecordsetObject::raw_Open(VARIANT source, VARIANT activeConnection, CursorTypeEnum,
                                       LockTypeEnum lockType, long options) {
    if (m_open) return ObjectOpenError();
    std::u16string text;
    if (!TextOf(source, &text) || !IsTextCommand(options)) return InvalidArgumentError();
    std::shared_ptr<SqliteDatabase> database;
    HRESULT hr = OpenDatabaseOf(activeConnection, &database);
    if (FAILED(hr)) return hr;
    const std::u16string sql = TranslateJetSql(text);
    RowSet rows;
    const bool writable = lockType != adLockReadOnly && lockType != adLockUnspecified;
    hr = writable ? database->RunWritableQuery(sql, &rows) : database->Run(sql, {}, &rows, nullptr);
    if (FAILED(hr)) return hr;
    // A statement that yields no rows leaves the recordset closed, as ADO does.
    if (!rows.columns.empty()) Attach(std::move(rows), std::move(database));
    return S_OK;
}

void RecordsetObject::Attach(RowSet rows, std::shared_ptr<SqliteDatabase> database) {
    m_rows = std::move(rows);
    m_database = std::move(database);
    m_position = 0;
    m_deletedCount = 0;
    m_currentDeleted = false;
    m_pending.clear();
    m_open = true;
}

STDMETHODIMP RecordsetObject::raw_Close() {
    if (!m_open) return ObjectClosedError();
    // Values assigned without Update are dropped.
    m_open = false;
    m_rows = RowSet();
    m_database.reset();
    m_pending.clear();
    return S_OK;
}

STDMETHODIMP RecordsetObject::get_State(long* state) {
    if (!state) return E_POINTER;
    *state = m_open ? adStateOpen : adStateClosed;
    return S_OK;
}

STDMETHODIMP RecordsetObject::get_RecordCount(long* count) {
    if (!count) return E_POINTER;
    if (!m_open) return ObjectClosedError();
    *count = static_cast<long>(m_rows.rows.size()) - m_deletedCount;
    return S_OK;
}

STDMETHODIMP RecordsetObject::get_EOF(VARIANT_BOOL* eof) {
    if (!eof) return E_POINTER;
    if (!m_open) return ObjectClosedError();
    *eof = m_position >= m_rows.rows.size() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP RecordsetObject::get_Fields(Fields** fields) {
    if (!fields) return E_POINTER;
    *fields = nullptr;
    if (!m_open) return ObjectClosedError();
    return CreateFieldsObject(this, fields);
}

STDMETHODIMP RecordsetObject::raw_MoveNext() {
    if (!m_open) return ObjectClosedError();
    if (m_position >= m_rows.rows.size()) return NoCurrentRecordError();
    // Leaving an edited row writes it, as ADO does.
    if (!m_pending.empty()) {
        const HRESULT hr = raw_Update();
        if (FAILED(hr)) return hr;
    }
    ++m_position;
    m_currentDeleted = false;
    return S_OK;
}

STDMETHODIMP RecordsetObject::raw_Update() {
    if (!m_open) return ObjectClosedError();
    if (!m_rows.Writable()) return NotUpdatableError();
    if (!OnCurrentRow()) return NoCurrentRecordError();
    if (m_pending.empty()) return S_OK;
    std::u16string sql = u"UPDATE " + QuotedName(m_rows.table) + u" SET ";
    std::vector<CComVariant> values;
    for (const auto& [column, value] : m_pending) {
        if (!values.empty()) sql += u", ";
        sql += QuotedName(m_rows.columns[static_cast<std::size_t>(column)].origin) + u" = ?";
        values.push_back(value);
    }
    sql += u" WHERE rowid = ?";
    values.emplace_back(static_cast<long long>(m_rows.rowids[m_position]));
    const HRESULT hr = WriteRow(sql, std::move(values));
    if (FAILED(hr)) return hr;
    std::vector<CComVariant>& row = m_rows.rows[m_position];
    for (auto& [column, value] : m_pending) row[static_cast<std::size_t>(column)] = value;
    m_pending.clear();
    return S_OK;
}

STDMETHODIMP RecordsetObject::raw_Delete(AffectEnum affectRecords) {
    if (!m_open) return ObjectClosedError();
    if (affectRecords != adAffectCurrent) return InvalidArgumentError();
    if (!m_rows.Writable()) return NotUpdatableError();
    if (!OnCurrentRow()) return NoCurrentRecordError();
    const HRESULT hr = WriteRow(u"DELETE FROM " + QuotedName(m_rows.table) + u" WHERE rowid = ?",
                                {CComVariant(static_cast<long long>(m_rows.rowids[m_position]))});
    if (FAILED(hr)) return hr;
    m_pending.clear();
    m_currentDeleted = true;
    ++m_deletedCount;
    return S_OK;
}

HRESULT RecordsetObject::WriteRow(const std::u16string& sql, std::vector<CComVariant> values) {
    if (!m_database || !m_database->IsOpen()) return InvalidConnectionError();
    long changes = 0;
    const HRESULT hr = m_database->Run(sql, values, nullptr, &changes);
    if (FAILED(hr)) return hr;
    return changes == 0 ? RowGoneError() : S_OK;
}

bool RecordsetObject::OnCurrentRow() const {
    return m_position < m_rows.rows.size() && !m_currentDeleted;
}

HRESULT RecordsetObject::CheckColumn(long column) const {
    if (!m_open) return ObjectClosedError();
    if (column < 0 || static_cast<std::size_t>(column) >= m_rows.columns.size())
        return ItemNotFoundError();
    return S_OK;
}

HRESULT RecordsetObject::ColumnCount(long* count) const {
    if (!m_open) return ObjectClosedError();
    *count = static_cast<long>(m_rows.columns.size());
    return S_OK;
}

HRESULT RecordsetObject::ColumnOf(const VARIANT& index, long* column) const {
    if (!m_open) return ObjectClosedError();
    long position = 0;
    if (PositionOf(index, &position)) {
        *column = position;
        return CheckColumn(position);
    }
    std::u16string name;
    if (!TextOf(index, &name)) return ItemNotFoundError();
    for (std::size_t i = 0; i < m_rows.columns.size(); ++i) {
        if (WideEqualsNoCase(m_rows.columns[i].name, name)) {
            *column = static_cast<long>(i);
            return S_OK;
        }
    }
    return ItemNotFoundError();
}

HRESULT RecordsetObject::ColumnName(long column, BSTR* name) const {
    const HRESULT hr = CheckColumn(column);
    if (FAILED(hr)) return hr;
    return CComBSTR(m_rows.columns[static_cast<std::size_t>(column)].name).CopyTo(name);
}

HRESULT RecordsetObject::ReadValue(long column, VARIANT* value) const {
    HRESULT hr = CheckColumn(column);
    if (FAILED(hr)) return hr;
    if (!OnCurrentRow()) return NoCurrentRecordError();
    VariantInit(value);
    const auto pending = m_pending.find(column);
    if (pending != m_pending.end()) return VariantCopy(value, &pending->second);
    return VariantCopy(value, &m_rows.rows[m_position][static_cast<std::size_t>(column)]);
}

HRESULT RecordsetObject::AssignValue(long column, const VARIANT& value) {
    HRESULT hr = CheckColumn(column);
    if (FAILED(hr)) return hr;
    if (!m_rows.Writable()) return NotUpdatableError();
    if (m_rows.columns[static_cast<std::size_t>(column)].origin.empty())
        return AdoFail(E_FAIL, u"Field '" + m_rows.columns[static_cast<std::size_t>(column)].name +
                                   u"' is based on an expression and cannot be edited.");
    if (!OnCurrentRow()) return NoCurrentRecordError();
    CComVariant stored;
    hr = StorableValue(value, &stored);
    if (FAILED(hr)) return hr;
    m_pending[column] = std::move(stored);
    return S_OK;
}

HRESULT CreateRecordsetObject(IUnknown* outer, REFIID riid, void** ppv) {
    return CComCreator<RecordsetObject>::CreateInstance(outer, riid, ppv);
}

HRESULT CreateResultRecordset(RowSet rows, std::shared_ptr<SqliteDatabase> database,
                              _Recordset** result) {
    CComObject<RecordsetObject>* object = nullptr;
    const HRESULT hr = CComObject<RecordsetObject>::CreateInstance(&object);
    if (FAILED(hr)) return hr;
    object->AddRef();
    if (!rows.columns.empty()) object->Attach(std::move(rows), std::move(database));
    *result = object;
    return S_OK;
}
