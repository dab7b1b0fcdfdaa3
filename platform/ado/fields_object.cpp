#include "platform/ado/fields_object.h"

#include "platform/ado/object_support.h"
#include "platform/ado/recordset_object.h"

namespace {

class FieldObject : public CComObjectRootEx<CComSingleThreadModel>,
                    public IDispatchImpl<Field, &IID_Field> {
public:
    BEGIN_COM_MAP(FieldObject)
    COM_INTERFACE_ENTRY(Field)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    void Bind(RecordsetObject* recordset, long column) {
        m_recordset = recordset;
        m_column = column;
    }

    STDMETHODIMP get_Value(VARIANT* value) override {
        if (!value) return E_POINTER;
        return m_recordset->ReadValue(m_column, value);
    }
    STDMETHODIMP put_Value(VARIANT value) override {
        return m_recordset->AssignValue(m_column, value);
    }
    STDMETHODIMP get_Name(BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        return m_recordset->ColumnName(m_column, name);
    }

private:
    CComPtr<RecordsetObject> m_recordset;
    long m_column = 0;
};

class FieldsObject : public CComObjectRootEx<CComSingleThreadModel>,
                     public IDispatchImpl<Fields, &IID_Fields> {
public:
    BEGIN_COM_MAP(FieldsObject)
    COM_INTERFACE_ENTRY(Fields)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    void Bind(RecordsetObject* recordset) { m_recordset = recordset; }

    STDMETHODIMP get_Count(long* count) override {
        if (!count) return E_POINTER;
        return m_recordset->ColumnCount(count);
    }

    STDMETHODIMP get_Item(VARIANT index, Field** field) override {
        if (!field) return E_POINTER;
        *field = nullptr;
        long column = 0;
        HRESULT hr = m_recordset->ColumnOf(index, &column);
        if (FAILED(hr)) return hr;
        CComObject<FieldObject>* object = nullptr;
        hr = CComObject<FieldObject>::CreateInstance(&object);
        if (FAILED(hr)) return hr;
        object->AddRef();
        object->Bind(m_recordset, column);
        *field = object;
        return S_OK;
    }

private:
    CComPtr<RecordsetObject> m_recordset;
};

}  // namespace

HRESULT CreateFieldsObject(RecordsetObject* recordset, Fields** fields) {
    CComObject<FieldsObject>* object = nullptr;
    const HRESULT hr = CComObject<FieldsObject>::CreateInstance(&object);
    if (FAILED(hr)) return hr;
    object->AddRef();
    object->Bind(recordset);
    *fields = object;
    return S_OK;
}
