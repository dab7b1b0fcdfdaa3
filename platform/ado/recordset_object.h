// The Recordset class. Open reads every row at once; the current row is a
// position in them. A writable recordset over one table keeps each row's
// rowid: assigned values are written with UPDATE ... WHERE rowid, and
// Delete removes that row, whatever the statement's WHERE clause was.
#pragma once

#include <map>
#include <memory>

#include "platform/ado/ado_interfaces.h"
#include "platform/ado/row_set.h"
#include "platform/ado/sqlite_database.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"

class RecordsetObject : public CComObjectRootEx<CComSingleThreadModel>,
                        public IDispatchImpl<_Recordset, &IID__Recordset> {
public:
    BEGIN_COM_MAP(RecordsetObject)
    COM_INTERFACE_ENTRY(_Recordset)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    STDMETHODIMP raw_Open(VARIANT source, VARIANT activeConnection, CursorTypeEnum cursorType,
                          LockTypeEnum lockType, long options) override;
    STDMETHODIMP raw_Close() override;
    STDMETHODIMP get_State(long* state) override;
    STDMETHODIMP get_RecordCount(long* count) override;
    STDMETHODIMP get_EOF(VARIANT_BOOL* eof) override;
    STDMETHODIMP get_Fields(Fields** fields) override;
    STDMETHODIMP raw_MoveNext() override;
    STDMETHODIMP raw_Update() override;
    STDMETHODIMP raw_Delete(AffectEnum affectRecords) override;

    // Opens over rows already read (a statement's result).
    void Attach(RowSet rows, std::shared_ptr<SqliteDatabase> database);

    // For Fields and Field.
    HRESULT ColumnCount(long* count) const;
    HRESULT ColumnOf(const VARIANT& index, long* column) const;
    HRESULT ColumnName(long column, BSTR* name) const;
    HRESULT ReadValue(long column, VARIANT* value) const;
    HRESULT AssignValue(long column, const VARIANT& value);

private:
    bool OnCurrentRow() const;
    HRESULT CheckColumn(long column) const;
    HRESULT WriteRow(const std::u16string& sql, std::vector<CComVariant> values);

    bool m_open = false;
    RowSet m_rows;
    std::shared_ptr<SqliteDatabase> m_database;
    std::size_t m_position = 0;
    long m_deletedCount = 0;
    bool m_currentDeleted = false;
    // Values assigned to the current row and not yet written, by column.
    std::map<long, CComVariant> m_pending;
};
