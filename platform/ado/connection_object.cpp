// The Connection class: one SQLite connection on the file named by the
// connection string, with explicit transactions and direct statements.
#include "platform/ado/ado_objects.h"
#include "platform/ado/connection_string.h"
#include "platform/ado/database_source.h"
#include "platform/ado/jet_dialect.h"
#include "platform/ado/object_support.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"

namespace {

class ConnectionObject : public CComObjectRootEx<CComSingleThreadModel>,
                         public IDispatchImpl<_Connection, &IID__Connection>,
                         public IAdoDatabaseSource {
public:
    BEGIN_COM_MAP(ConnectionObject)
    COM_INTERFACE_ENTRY(_Connection)
    COM_INTERFACE_ENTRY(IDispatch)
    COM_INTERFACE_ENTRY(IAdoDatabaseSource)
    END_COM_MAP()

    STDMETHODIMP raw_Open(BSTR connectionString, BSTR, BSTR, long) override {
        if (IsOpen()) return ObjectOpenError();
        const std::u16string text(connectionString ? connectionString : u"",
                                  SysStringLen(connectionString));
        const std::optional<std::u16string> path = DataSourceOf(text);
        if (!path)
            return AdoFail(E_FAIL, u"The connection string names no database file (Data Source).");
        auto database = std::make_shared<SqliteDatabase>();
        const HRESULT hr = database->Open(*path);
        if (FAILED(hr)) return hr;
        m_database = std::move(database);
        return S_OK;
    }

    STDMETHODIMP raw_Close() override {
        if (!IsOpen()) return ObjectClosedError();
        m_database->Close();
        return S_OK;
    }

    STDMETHODIMP get_State(long* state) override {
        if (!state) return E_POINTER;
        *state = IsOpen() ? adStateOpen : adStateClosed;
        return S_OK;
    }

    STDMETHODIMP raw_BeginTrans(long* level) override {
        if (!IsOpen()) return ObjectClosedError();
        long ignored = 0;
        return m_database->BeginTransaction(level ? level : &ignored);
    }

    STDMETHODIMP raw_CommitTrans() override {
        if (!IsOpen()) return ObjectClosedError();
        return m_database->CommitTransaction();
    }

    STDMETHODIMP raw_RollbackTrans() override {
        if (!IsOpen()) return ObjectClosedError();
        return m_database->RollbackTransaction();
    }

    STDMETHODIMP raw_Execute(BSTR commandText, VARIANT* recordsAffected, long options,
                             _Recordset** result) override {
        if (result) *result = nullptr;
        if (!IsOpen()) return ObjectClosedError();
        if (!IsTextCommand(options)) return InvalidArgumentError();
        const std::u16string sql =
            TranslateJetSql({commandText ? commandText : u"", SysStringLen(commandText)});
        RowSet rows;
        long changes = 0;
        const HRESULT hr = m_database->Run(sql, {}, &rows, &changes);
        if (FAILED(hr)) return hr;
        if (recordsAffected) {
            VariantInit(recordsAffected);
            recordsAffected->vt = VT_I4;
            recordsAffected->lVal = changes;
        }
        if (!result || (options != adCmdUnspecified && (options & adExecuteNoRecords))) return S_OK;
        return CreateResultRecordset(std::move(rows), m_database, result);
    }

    std::shared_ptr<SqliteDatabase> Database() override { return m_database; }

private:
    bool IsOpen() const { return m_database && m_database->IsOpen(); }

    std::shared_ptr<SqliteDatabase> m_database;
};

}  // namespace

HRESULT CreateConnectionObject(IUnknown* outer, REFIID riid, void** ppv) {
    return CComCreator<ConnectionObject>::CreateInstance(outer, riid, ppv);
}

HRESULT OpenDatabaseOf(IUnknown* connection, std::shared_ptr<SqliteDatabase>* database) {
    CComPtr<IAdoDatabaseSource> source;
    if (connection)
        connection->QueryInterface(IID_IAdoDatabaseSource, reinterpret_cast<void**>(&source));
    if (!source) return InvalidConnectionError();
    std::shared_ptr<SqliteDatabase> found = source->Database();
    if (!found || !found->IsOpen()) return InvalidConnectionError();
    *database = std::move(found);
    return S_OK;
}

HRESULT OpenDatabaseOf(const VARIANT& connection, std::shared_ptr<SqliteDatabase>* database) {
    const VARIANT* value = &connection;
    if (value->vt == (VT_BYREF | VT_VARIANT) && value->pvarVal) value = value->pvarVal;
    switch (value->vt) {
        case VT_DISPATCH:
            return OpenDatabaseOf(value->pdispVal, database);
        case VT_UNKNOWN:
            return OpenDatabaseOf(value->punkVal, database);
        case VT_BYREF | VT_DISPATCH:
            return OpenDatabaseOf(value->ppdispVal ? *value->ppdispVal : nullptr, database);
        case VT_BYREF | VT_UNKNOWN:
            return OpenDatabaseOf(value->ppunkVal ? *value->ppunkVal : nullptr, database);
        default:
            return InvalidConnectionError();
    }
}
