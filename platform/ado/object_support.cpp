#include "platform/ado/object_support.h"

#include <cmath>

namespace {

const VARIANT& Deref(const VARIANT& value) {
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal) return *value.pvarVal;
    return value;
}

}  // namespace

bool PositionOf(const VARIANT& index, long* position) {
    const VARIANT& value = Deref(index);
    if (value.vt == VT_BSTR || value.vt == VT_EMPTY || value.vt == VT_NULL) return false;
    if ((value.vt == VT_R4 || value.vt == VT_R8) &&
        std::trunc(value.vt == VT_R4 ? value.fltVal : value.dblVal) !=
            (value.vt == VT_R4 ? value.fltVal : value.dblVal))
        return false;
    CComVariant number;
    if (FAILED(VariantChangeType(&number, &value, 0, VT_I4))) return false;
    *position = number.lVal;
    return true;
}

bool TextOf(const VARIANT& value, std::u16string* text) {
    const VARIANT& v = Deref(value);
    if (v.vt == VT_BSTR) {
        *text = std::u16string(v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal));
        return true;
    }
    if (v.vt == (VT_BYREF | VT_BSTR) && v.pbstrVal) {
        *text = std::u16string(*v.pbstrVal ? *v.pbstrVal : u"", SysStringLen(*v.pbstrVal));
        return true;
    }
    return false;
}

bool IsTextCommand(long options) {
    if (options == adCmdUnspecified) return true;
    const long type = options & ~static_cast<long>(adExecuteNoRecords);
    return type == 0 || type == adCmdText || type == adCmdUnknown;
}

HRESULT ObjectClosedError() {
    return AdoFail(AdoErrorHresult(adErrObjectClosed),
                   u"Operation is not allowed when the object is closed.");
}

HRESULT ObjectOpenError() {
    return AdoFail(AdoErrorHresult(adErrObjectOpen),
                   u"Operation is not allowed when the object is open.");
}

HRESULT NoCurrentRecordError() {
    return AdoFail(AdoErrorHresult(adErrNoCurrentRecord),
                   u"Either BOF or EOF is True, or the current record has been deleted. "
                   u"Requested operation requires a current record.");
}

HRESULT ItemNotFoundError() {
    return AdoFail(AdoErrorHresult(adErrItemNotFound),
                   u"Item cannot be found in the collection corresponding to the requested "
                   u"name or ordinal.");
}

HRESULT InvalidConnectionError() {
    return AdoFail(AdoErrorHresult(adErrInvalidConnection),
                   u"The connection cannot be used to perform this operation. It is either "
                   u"closed or invalid in this context.");
}

HRESULT InvalidArgumentError() {
    return AdoFail(AdoErrorHresult(adErrInvalidArgument),
                   u"Arguments are of the wrong type, are out of acceptable range, or are in "
                   u"conflict with one another.");
}

HRESULT NotUpdatableError() {
    return AdoFail(AdoErrorHresult(adErrFeatureNotAvailable),
                   u"Current Recordset does not support updating. This may be a limitation of "
                   u"the provider, or of the selected locktype.");
}
