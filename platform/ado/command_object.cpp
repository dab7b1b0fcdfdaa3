// The Command class: a statement with "?" markers, its parameters derived
// from the markers, run on its active connection.
#include <vector>

#include "platform/ado/ado_objects.h"
#include "platform/ado/database_source.h"
#include "platform/ado/jet_dialect.h"
#include "platform/ado/object_support.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"

namespace {

class ParameterObject : public CComObjectRootEx<CComSingleThreadModel>,
                        public IDispatchImpl<_Parameter, &IID__Parameter> {
public:
    BEGIN_COM_MAP(ParameterObject)
    COM_INTERFACE_ENTRY(_Parameter)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    STDMETHODIMP put_Size(long size) override {
        if (size < 0) return InvalidArgumentError();
        m_size = size;
        return S_OK;
    }
    STDMETHODIMP get_Size(long* size) override {
        if (!size) return E_POINTER;
        *size = m_size;
        return S_OK;
    }
    STDMETHODIMP put_Value(VARIANT value) override {
        CComVariant copy;
        if (FAILED(VariantCopyInd(&copy, &value))) return InvalidArgumentError();
        m_value = std::move(copy);
        return S_OK;
    }
    STDMETHODIMP get_Value(VARIANT* value) override {
        if (!value) return E_POINTER;
        VariantInit(value);
        return VariantCopy(value, &m_value);
    }

    const CComVariant& Value() const { return m_value; }

private:
    long m_size = 0;
    CComVariant m_value;
};

using ParameterList = std::vector<CComPtr<CComObject<ParameterObject>>>;

class ParametersObject : public CComObjectRootEx<CComSingleThreadModel>,
                         public IDispatchImpl<Parameters, &IID_Parameters> {
public:
    BEGIN_COM_MAP(ParametersObject)
    COM_INTERFACE_ENTRY(Parameters)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    void Bind(std::shared_ptr<ParameterList> list) { m_list = std::move(list); }

    STDMETHODIMP get_Count(long* count) override {
        if (!count) return E_POINTER;
        *count = static_cast<long>(m_list->size());
        return S_OK;
    }
    STDMETHODIMP get_Item(VARIANT index, _Parameter** parameter) override {
        if (!parameter) return E_POINTER;
        *parameter = nullptr;
        long position = 0;
        if (!PositionOf(index, &position) || position < 0 ||
            static_cast<std::size_t>(position) >= m_list->size())
            return ItemNotFoundError();
        _Parameter* item = (*m_list)[static_cast<std::size_t>(position)];
        item->AddRef();
        *parameter = item;
        return S_OK;
    }

private:
    std::shared_ptr<ParameterList> m_list;
};

class CommandObject : public CComObjectRootEx<CComSingleThreadModel>,
                      public IDispatchImpl<_Command, &IID__Command> {
public:
    BEGIN_COM_MAP(CommandObject)
    COM_INTERFACE_ENTRY(_Command)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    STDMETHODIMP putref_ActiveConnection(_Connection* connection) override {
        m_connection = connection;
        return S_OK;
    }

    STDMETHODIMP put_CommandText(BSTR commandText) override {
        m_text.assign(commandText ? commandText : u"", SysStringLen(commandText));
        // A parameters collection handed out earlier keeps the old list.
        auto list = std::make_shared<ParameterList>();
        const long markers = CountParameterMarkers(m_text);
        for (long i = 0; i < markers; ++i) {
            CComObject<ParameterObject>* parameter = nullptr;
            const HRESULT hr = CComObject<ParameterObject>::CreateInstance(&parameter);
            if (FAILED(hr)) return hr;
            list->emplace_back(parameter);
        }
        m_parameters = std::move(list);
        return S_OK;
    }

    STDMETHODIMP get_Parameters(Parameters** parameters) override {
        if (!parameters) return E_POINTER;
        *parameters = nullptr;
        CComObject<ParametersObject>* object = nullptr;
        const HRESULT hr = CComObject<ParametersObject>::CreateInstance(&object);
        if (FAILED(hr)) return hr;
        object->AddRef();
        object->Bind(m_parameters);
        *parameters = object;
        return S_OK;
    }

    STDMETHODIMP raw_Execute(VARIANT* recordsAffected, VARIANT* parameters, long options,
                             _Recordset** result) override {
        if (result) *result = nullptr;
        if (!IsTextCommand(options)) return InvalidArgumentError();
        // Values come through Parameters; an array of values is not taken.
        if (parameters && parameters->vt != VT_EMPTY && parameters->vt != VT_ERROR)
            return InvalidArgumentError();
        std::shared_ptr<SqliteDatabase> database;
        HRESULT hr = OpenDatabaseOf(m_connection.p, &database);
        if (FAILED(hr)) return hr;
        std::vector<CComVariant> values;
        values.reserve(m_parameters->size());
        for (const auto& parameter : *m_parameters) values.push_back(parameter->Value());
        RowSet rows;
        long changes = 0;
        hr = database->Run(TranslateJetSql(m_text), values, &rows, &changes);
        if (FAILED(hr)) return hr;
        if (recordsAffected) {
            VariantInit(recordsAffected);
            recordsAffected->vt = VT_I4;
            recordsAffected->lVal = changes;
        }
        if (!result || (options != adCmdUnspecified && (options & adExecuteNoRecords))) return S_OK;
        return CreateResultRecordset(std::move(rows), std::move(database), result);
    }

private:
    _ConnectionPtr m_connection;
    std::u16string m_text;
    std::shared_ptr<ParameterList> m_parameters = std::make_shared<ParameterList>();
};

}  // namespace

HRESULT CreateCommandObject(IUnknown* outer, REFIID riid, void** ppv) {
    return CComCreator<CommandObject>::CreateInstance(outer, riid, ppv);
}
