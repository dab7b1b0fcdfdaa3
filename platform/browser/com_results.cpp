#include "platform/browser/com_results.h"

namespace browser {

HRESULT ReturnString(std::u16string_view text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnBool(bool value, VARIANT_BOOL* out) {
    if (!out) return E_POINTER;
    *out = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

bool VariantText(const VARIANT& value, std::u16string& out) {
    if (value.vt == VT_BSTR) {
        out.assign(value.bstrVal ? value.bstrVal : u"", SysStringLen(value.bstrVal));
        return true;
    }
    if (value.vt == VT_EMPTY || value.vt == VT_NULL || value.vt == VT_ERROR) return false;
    CComVariant text;
    if (FAILED(VariantChangeType(&text, &value, 0, VT_BSTR))) return false;
    out.assign(text.bstrVal ? text.bstrVal : u"", SysStringLen(text.bstrVal));
    return true;
}

bool VariantIndex(const VARIANT& value, long& out) {
    switch (value.vt & ~VT_BYREF) {
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_I8:
        case VT_INT:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_UI8:
        case VT_UINT:
        case VT_R4:
        case VT_R8: {
            CComVariant number;
            if (FAILED(VariantChangeType(&number, &value, 0, VT_I4))) return false;
            out = number.lVal;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace browser
