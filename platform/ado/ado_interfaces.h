// The ADO interfaces the system drives: _Connection, _Recordset, _Command,
// Fields, Field, Parameters, _Parameter. Each carries the raw methods
// (HRESULT results, out-parameters last) and, like the wrappers #import
// writes, non-virtual methods that return the value and raise _com_error
// on failure.
#pragma once

#include "platform/ado/ado_constants.h"
#include "platform/ado/ado_error.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/variant.h"

struct _Connection;
struct _Recordset;
struct _Command;
struct Fields;
struct Field;
struct Parameters;
struct _Parameter;

using _ConnectionPtr = CComPtr<_Connection>;
using _RecordsetPtr = CComPtr<_Recordset>;
using _CommandPtr = CComPtr<_Command>;
using FieldsPtr = CComPtr<Fields>;
using FieldPtr = CComPtr<Field>;
using ParametersPtr = CComPtr<Parameters>;
using _ParameterPtr = CComPtr<_Parameter>;

struct _Connection : IDispatch {
    // Connection string keys: "Data Source" names the database file; the
    // other Jet keys are accepted and ignored. The file must exist.
    HRESULT Open(AdoText connectionString, AdoText userId, AdoText password, long options);
    HRESULT Close();
    long GetState();
    // Returns the transaction level (1). Write locks are taken at once.
    long BeginTrans();
    HRESULT CommitTrans();
    HRESULT RollbackTrans();
    // A recordset for a statement that yields rows, a closed one otherwise.
    _RecordsetPtr Execute(AdoText commandText, VARIANT* recordsAffected, long options);

    STDMETHOD(raw_Open)(BSTR connectionString, BSTR userId, BSTR password, long options) = 0;
    STDMETHOD(raw_Close)() = 0;
    STDMETHOD(get_State)(long* state) = 0;
    STDMETHOD(raw_BeginTrans)(long* level) = 0;
    STDMETHOD(raw_CommitTrans)() = 0;
    STDMETHOD(raw_RollbackTrans)() = 0;
    STDMETHOD(raw_Execute)
    (BSTR commandText, VARIANT* recordsAffected, long options, _Recordset** result) = 0;
};
KESTRO_DEFINE_IID(_Connection, "00000550-0000-0010-8000-00AA006D2EA4");

struct _Recordset : IDispatch {
    // source: the statement text; activeConnection: the connection's
    // IDispatch (or IUnknown). All rows are read at Open, so RecordCount is
    // exact for every cursor type. A lock type other than read-only makes a
    // recordset over one table writable (PutValue + Update, Delete).
    HRESULT Open(const CComVariant& source, const CComVariant& activeConnection,
                 CursorTypeEnum cursorType, LockTypeEnum lockType, long options);
    HRESULT Close();
    long GetState();
    long GetRecordCount();
    VARIANT_BOOL GetadoEOF();
    FieldsPtr GetFields();
    // Moving off a row with assigned values writes them first, as ADO does.
    HRESULT MoveNext();
    // Writes the assigned values of the current row to the row it came from.
    HRESULT Update();
    // Deletes the row it came from; the current row then reads as deleted.
    HRESULT Delete(AffectEnum affectRecords);

    STDMETHOD(raw_Open)
    (VARIANT source, VARIANT activeConnection, CursorTypeEnum cursorType, LockTypeEnum lockType,
     long options) = 0;
    STDMETHOD(raw_Close)() = 0;
    STDMETHOD(get_State)(long* state) = 0;
    STDMETHOD(get_RecordCount)(long* count) = 0;
    STDMETHOD(get_EOF)(VARIANT_BOOL* eof) = 0;
    STDMETHOD(get_Fields)(Fields** fields) = 0;
    STDMETHOD(raw_MoveNext)() = 0;
    STDMETHOD(raw_Update)() = 0;
    STDMETHOD(raw_Delete)(AffectEnum affectRecords) = 0;
};
KESTRO_DEFINE_IID(_Recordset, "00000556-0000-0010-8000-00AA006D2EA4");

struct Fields : IDispatch {
    long GetCount();
    // index: a zero-based position (any integer variant) or a column name.
    FieldPtr GetItem(const CComVariant& index);
    FieldPtr GetItem(long index) { return GetItem(CComVariant(static_cast<int>(index))); }

    STDMETHOD(get_Count)(long* count) = 0;
    STDMETHOD(get_Item)(VARIANT index, Field** field) = 0;
};
KESTRO_DEFINE_IID(Fields, "00000564-0000-0010-8000-00AA006D2EA4");

struct Field : IDispatch {
    // NULL reads as VT_NULL, text as VT_BSTR, integers as VT_I4 (VT_I8 when
    // wider), reals as VT_R8.
    CComVariant GetValue();
    void PutValue(const CComVariant& value);
    CComBSTR GetName();

    STDMETHOD(get_Value)(VARIANT* value) = 0;
    STDMETHOD(put_Value)(VARIANT value) = 0;
    STDMETHOD(get_Name)(BSTR* name) = 0;
};
KESTRO_DEFINE_IID(Field, "00000569-0000-0010-8000-00AA006D2EA4");

struct _Command : IDispatch {
    void PutRefActiveConnection(_Connection* connection);
    // Setting the text derives a fresh parameter list from its "?" markers
    // (markers inside quoted literals are not parameters).
    void PutCommandText(AdoText commandText);
    ParametersPtr GetParameters();
    // parameters: null or an empty/missing variant; values go through
    // Parameters. Returns a recordset when the statement yields rows, a
    // closed one otherwise.
    _RecordsetPtr Execute(VARIANT* recordsAffected, VARIANT* parameters, long options);

    STDMETHOD(putref_ActiveConnection)(_Connection* connection) = 0;
    STDMETHOD(put_CommandText)(BSTR commandText) = 0;
    STDMETHOD(get_Parameters)(Parameters** parameters) = 0;
    STDMETHOD(raw_Execute)
    (VARIANT* recordsAffected, VARIANT* parameters, long options, _Recordset** result) = 0;
};
KESTRO_DEFINE_IID(_Command, "986761E8-7269-4890-AA65-AD7C03697A6D");

struct Parameters : IDispatch {
    long GetCount();
    // index: a zero-based position, in marker order.
    _ParameterPtr GetItem(const CComVariant& index);
    _ParameterPtr GetItem(long index) { return GetItem(CComVariant(static_cast<int>(index))); }

    STDMETHOD(get_Count)(long* count) = 0;
    STDMETHOD(get_Item)(VARIANT index, _Parameter** parameter) = 0;
};
KESTRO_DEFINE_IID(Parameters, "0000050D-0000-0010-8000-00AA006D2EA4");

struct _Parameter : IDispatch {
    // Size is kept for the caller; values are never cut to it.
    void PutSize(long size);
    long GetSize();
    // Strings (an empty one is a zero-length text, not NULL), integers,
    // reals and VT_NULL. A parameter left without a value fails Execute.
    void PutValue(const CComVariant& value);
    CComVariant GetValue();

    STDMETHOD(put_Size)(long size) = 0;
    STDMETHOD(get_Size)(long* size) = 0;
    STDMETHOD(put_Value)(VARIANT value) = 0;
    STDMETHOD(get_Value)(VARIANT* value) = 0;
};
KESTRO_DEFINE_IID(_Parameter, "0000050C-0000-0010-8000-00AA006D2EA4");

// Wrappers: a failed raw call raises _com_error(hr, description).

inline HRESULT _Connection::Open(AdoText connectionString, AdoText userId, AdoText password,
                                 long options) {
    ClearAdoErrorDescription();
    return AdoCheck(raw_Open(connectionString.Bstr(), userId.Bstr(), password.Bstr(), options));
}
inline HRESULT _Connection::Close() {
    ClearAdoErrorDescription();
    return AdoCheck(raw_Close());
}
inline long _Connection::GetState() {
    long state = adStateClosed;
    ClearAdoErrorDescription();
    AdoCheck(get_State(&state));
    return state;
}
inline long _Connection::BeginTrans() {
    long level = 0;
    ClearAdoErrorDescription();
    AdoCheck(raw_BeginTrans(&level));
    return level;
}
inline HRESULT _Connection::CommitTrans() {
    ClearAdoErrorDescription();
    return AdoCheck(raw_CommitTrans());
}
inline HRESULT _Connection::RollbackTrans() {
    ClearAdoErrorDescription();
    return AdoCheck(raw_RollbackTrans());
}
inline _RecordsetPtr _Connection::Execute(AdoText commandText, VARIANT* recordsAffected,
                                          long options) {
    _RecordsetPtr result;
    ClearAdoErrorDescription();
    AdoCheck(raw_Execute(commandText.Bstr(), recordsAffected, options, &result));
    return result;
}

inline HRESULT _Recordset::Open(const CComVariant& source, const CComVariant& activeConnection,
                                CursorTypeEnum cursorType, LockTypeEnum lockType, long options) {
    ClearAdoErrorDescription();
    return AdoCheck(raw_Open(source, activeConnection, cursorType, lockType, options));
}
inline HRESULT _Recordset::Close() {
    ClearAdoErrorDescription();
    return AdoCheck(raw_Close());
}
inline long _Recordset::GetState() {
    long state = adStateClosed;
    ClearAdoErrorDescription();
    AdoCheck(get_State(&state));
    return state;
}
inline long _Recordset::GetRecordCount() {
    long count = 0;
    ClearAdoErrorDescription();
    AdoCheck(get_RecordCount(&count));
    return count;
}
inline VARIANT_BOOL _Recordset::GetadoEOF() {
    VARIANT_BOOL eof = VARIANT_TRUE;
    ClearAdoErrorDescription();
    AdoCheck(get_EOF(&eof));
    return eof;
}
inline FieldsPtr _Recordset::GetFields() {
    FieldsPtr fields;
    ClearAdoErrorDescription();
    AdoCheck(get_Fields(&fields));
    return fields;
}
inline HRESULT _Recordset::MoveNext() {
    ClearAdoErrorDescription();
    return AdoCheck(raw_MoveNext());
}
inline HRESULT _Recordset::Update() {
    ClearAdoErrorDescription();
    return AdoCheck(raw_Update());
}
inline HRESULT _Recordset::Delete(AffectEnum affectRecords) {
    ClearAdoErrorDescription();
    return AdoCheck(raw_Delete(affectRecords));
}

inline long Fields::GetCount() {
    long count = 0;
    ClearAdoErrorDescription();
    AdoCheck(get_Count(&count));
    return count;
}
inline FieldPtr Fields::GetItem(const CComVariant& index) {
    FieldPtr field;
    ClearAdoErrorDescription();
    AdoCheck(get_Item(index, &field));
    return field;
}

inline CComVariant Field::GetValue() {
    CComVariant value;
    ClearAdoErrorDescription();
    AdoCheck(get_Value(&value));
    return value;
}
inline void Field::PutValue(const CComVariant& value) {
    ClearAdoErrorDescription();
    AdoCheck(put_Value(value));
}
inline CComBSTR Field::GetName() {
    CComBSTR name;
    ClearAdoErrorDescription();
    AdoCheck(get_Name(&name));
    return name;
}

inline void _Command::PutRefActiveConnection(_Connection* connection) {
    ClearAdoErrorDescription();
    AdoCheck(putref_ActiveConnection(connection));
}
inline void _Command::PutCommandText(AdoText commandText) {
    ClearAdoErrorDescription();
    AdoCheck(put_CommandText(commandText.Bstr()));
}
inline ParametersPtr _Command::GetParameters() {
    ParametersPtr parameters;
    ClearAdoErrorDescription();
    AdoCheck(get_Parameters(&parameters));
    return parameters;
}
inline _RecordsetPtr _Command::Execute(VARIANT* recordsAffected, VARIANT* parameters,
                                       long options) {
    _RecordsetPtr result;
    ClearAdoErrorDescription();
    AdoCheck(raw_Execute(recordsAffected, parameters, options, &result));
    return result;
}

inline long Parameters::GetCount() {
    long count = 0;
    ClearAdoErrorDescription();
    AdoCheck(get_Count(&count));
    return count;
}
inline _ParameterPtr Parameters::GetItem(const CComVariant& index) {
    _ParameterPtr parameter;
    ClearAdoErrorDescription();
    AdoCheck(get_Item(index, &parameter));
    return parameter;
}

inline void _Parameter::PutSize(long size) {
    ClearAdoErrorDescription();
    AdoCheck(put_Size(size));
}
inline long _Parameter::GetSize() {
    long size = 0;
    ClearAdoErrorDescription();
    AdoCheck(get_Size(&size));
    return size;
}
inline void _Parameter::PutValue(const CComVariant& value) {
    ClearAdoErrorDescription();
    AdoCheck(put_Value(value));
}
inline CComVariant _Parameter::GetValue() {
    CComVariant value;
    ClearAdoErrorDescription();
    AdoCheck(get_Value(&value));
    return value;
}
