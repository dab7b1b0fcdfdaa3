#include "platform/com/variant.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/com/safearray.h"
#include "platform/win/text.h"

namespace {

// A shallow view of the value behind a VT_BYREF variant.
VARIANT Dereference(const VARIANT& v) {
    if (!(v.vt & VT_BYREF)) return v;
    VARIANT out;
    VariantInit(&out);
    const VARTYPE base = v.vt & ~VT_BYREF;
    if (base == VT_VARIANT) return v.pvarVal ? Dereference(*v.pvarVal) : out;
    if (!v.byref) return out;
    out.vt = base;
    switch (base) {
        case VT_UI1:
        case VT_I1:
            out.bVal = *v.pbVal;
            break;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL:
            out.iVal = *v.piVal;
            break;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_ERROR:
        case VT_R4:
            out.lVal = *v.plVal;
            break;
        case VT_I8:
        case VT_UI8:
        case VT_R8:
        case VT_DATE:
        case VT_INT_PTR:
        case VT_UINT_PTR:
            out.llVal = *v.pllVal;
            break;
        case VT_BSTR:
            out.bstrVal = *v.pbstrVal;
            break;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            out.punkVal = *v.ppunkVal;
            break;
        default:
            if (base & VT_ARRAY)
                out.parray = *v.pparray;
            else
                out.vt = VT_EMPTY;
    }
    return out;
}

bool IsInteger(VARTYPE vt) {
    switch (vt) {
        case VT_I1:
        case VT_UI1:
        case VT_I2:
        case VT_UI2:
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_I8:
        case VT_UI8:
        case VT_INT_PTR:
        case VT_UINT_PTR:
        case VT_BOOL:
        case VT_ERROR:
            return true;
        default:
            return false;
    }
}

long long IntegerOf(const VARIANT& v) {
    switch (v.vt) {
        case VT_I1:
            return v.cVal;
        case VT_UI1:
            return v.bVal;
        case VT_I2:
            return v.iVal;
        case VT_UI2:
            return v.uiVal;
        case VT_BOOL:
            return v.boolVal;
        case VT_I4:
        case VT_INT:
        case VT_ERROR:
            return v.lVal;
        case VT_UI4:
        case VT_UINT:
            return v.ulVal;
        default:
            return v.llVal;  // I8, UI8, INT_PTR, UINT_PTR
    }
}

std::u16string NumberText(double d) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", d);
    std::string s = buffer;
    return std::u16string(s.begin(), s.end());
}

// Parses a whole decimal number (blanks around it allowed).
HRESULT ParseNumber(std::u16string_view text, double& out) {
    std::string narrow;
    for (char16_t c : text) {
        if (c > 0x7F) return DISP_E_TYPEMISMATCH;
        narrow += static_cast<char>(c);
    }
    const char* begin = narrow.c_str();
    while (*begin == ' ' || *begin == '\t') ++begin;
    if (!*begin) return DISP_E_TYPEMISMATCH;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(begin, &end);
    while (*end == ' ' || *end == '\t') ++end;
    if (*end || end == begin) return DISP_E_TYPEMISMATCH;
    if (errno == ERANGE || !std::isfinite(out)) return DISP_E_OVERFLOW;
    return S_OK;
}

HRESULT ToDouble(const VARIANT& v, double& out) {
    if (v.vt == VT_EMPTY) return out = 0, S_OK;
    if (v.vt == VT_R8 || v.vt == VT_DATE) return out = v.dblVal, S_OK;
    if (v.vt == VT_R4) return out = v.fltVal, S_OK;
    if (v.vt == VT_UI8) return out = static_cast<double>(v.ullVal), S_OK;
    if (IsInteger(v.vt)) return out = static_cast<double>(IntegerOf(v)), S_OK;
    if (v.vt == VT_BSTR) {
        std::u16string_view text(v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal));
        if (WideEqualsNoCase(text, u"true")) return out = -1, S_OK;
        if (WideEqualsNoCase(text, u"false")) return out = 0, S_OK;
        return ParseNumber(text, out);
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT ToText(const VARIANT& v, USHORT flags, std::u16string& out) {
    switch (v.vt) {
        case VT_EMPTY:
            out.clear();
            return S_OK;
        case VT_BSTR:
            out.assign(v.bstrVal ? v.bstrVal : u"", SysStringLen(v.bstrVal));
            return S_OK;
        case VT_BOOL:
            if (flags & VARIANT_ALPHABOOL)
                out = v.boolVal ? u"True" : u"False";
            else
                out = v.boolVal ? u"-1" : u"0";
            return S_OK;
        case VT_R4:
            out = NumberText(v.fltVal);
            return S_OK;
        case VT_R8:
            out = NumberText(v.dblVal);
            return S_OK;
        case VT_UI8:
            out = WideFromUnsigned(v.ullVal);
            return S_OK;
        default:
            if (IsInteger(v.vt)) {
                out = WideFromInt(IntegerOf(v));
                return S_OK;
            }
            return DISP_E_TYPEMISMATCH;
    }
}

template <class T>
HRESULT Narrow(double d, T& out) {
    const double rounded = std::nearbyint(d);  // banker's rounding, as Windows
    if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max()))
        return DISP_E_OVERFLOW;
    out = static_cast<T>(rounded);
    return S_OK;
}

HRESULT ToInterface(const VARIANT& v, VARTYPE vt, VARIANT& out) {
    if (v.vt != VT_UNKNOWN && v.vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    out.vt = vt;
    out.punkVal = nullptr;
    if (!v.punkVal) return S_OK;
    const IID& iid = vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
    const HRESULT hr = v.punkVal->QueryInterface(iid, reinterpret_cast<void**>(&out.punkVal));
    if (FAILED(hr)) out.vt = VT_EMPTY;
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT Convert(const VARIANT& v, USHORT flags, VARTYPE vt, VARIANT& out) {
    VariantInit(&out);
    if (vt == VT_EMPTY) return S_OK;
    if (v.vt == VT_NULL) {
        if (vt != VT_NULL) return DISP_E_TYPEMISMATCH;
        out.vt = VT_NULL;
        return S_OK;
    }
    if (vt == VT_NULL) return DISP_E_TYPEMISMATCH;
    if (vt == VT_UNKNOWN || vt == VT_DISPATCH) return ToInterface(v, vt, out);
    if (vt == VT_BSTR) {
        std::u16string text;
        if (HRESULT hr = ToText(v, flags, text); FAILED(hr)) return hr;
        out.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!out.bstrVal) return E_OUTOFMEMORY;
        out.vt = VT_BSTR;
        return S_OK;
    }
    double d = 0;
    if (HRESULT hr = ToDouble(v, d); FAILED(hr)) return hr;
    HRESULT hr = S_OK;
    switch (vt) {
        case VT_BOOL:
            out.boolVal = d != 0 ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VT_R8:
            out.dblVal = d;
            break;
        case VT_R4:
            out.fltVal = static_cast<float>(d);
            break;
        case VT_UI1:
            hr = Narrow(d, out.bVal);
            break;
        case VT_I2:
            hr = Narrow(d, out.iVal);
            break;
        case VT_UI2:
            hr = Narrow(d, out.uiVal);
            break;
        case VT_I4:
        case VT_INT:
            hr = Narrow(d, out.lVal);
            break;
        case VT_UI4:
        case VT_UINT:
            hr = Narrow(d, out.ulVal);
            break;
        case VT_I8:
        case VT_INT_PTR:
            // Integers keep their full 64-bit precision.
            if (IsInteger(v.vt))
                out.llVal = IntegerOf(v);
            else
                hr = Narrow(d, out.llVal);
            break;
        default:
            return DISP_E_BADVARTYPE;
    }
    if (SUCCEEDED(hr)) out.vt = vt;
    return hr;
}

}  // namespace

void VariantInit(VARIANT* v) {
    if (!v) return;
    v->vt = VT_EMPTY;
    v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
    v->llVal = 0;
}

HRESULT VariantClear(VARIANT* v) {
    if (!v) return E_INVALIDARG;
    if (!(v->vt & VT_BYREF)) {
        if (v->vt & VT_ARRAY) {
            if (HRESULT hr = SafeArrayDestroy(v->parray); FAILED(hr)) return hr;
        } else if (v->vt == VT_BSTR) {
            SysFreeString(v->bstrVal);
        } else if ((v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) && v->punkVal) {
            v->punkVal->Release();
        }
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src) return E_INVALIDARG;
    if (dest == src) return S_OK;
    VARIANT copy = *src;
    if (!(src->vt & VT_BYREF)) {
        if (src->vt & VT_ARRAY) {
            if (HRESULT hr = SafeArrayCopy(src->parray, &copy.parray); FAILED(hr)) return hr;
        } else if (src->vt == VT_BSTR && src->bstrVal) {
            copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<const char*>(src->bstrVal),
                                                 SysStringByteLen(src->bstrVal));
            if (!copy.bstrVal) return E_OUTOFMEMORY;
        } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal) {
            src->punkVal->AddRef();
        }
    }
    if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src) return E_INVALIDARG;
    const VARIANT value = Dereference(*src);
    return VariantCopy(dest, &value);
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
    if (!dest || !src) return E_INVALIDARG;
    const VARIANT value = Dereference(*src);
    if (value.vt == vt) return VariantCopy(dest, &value);
    VARIANT out;
    if (HRESULT hr = Convert(value, flags, vt, out); FAILED(hr)) return hr;
    if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
        VariantClear(&out);
        return hr;
    }
    *dest = out;
    return S_OK;
}

HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, LCID, USHORT flags, VARTYPE vt) {
    return VariantChangeType(dest, src, flags, vt);
}

HRESULT VarBstrCmp(BSTR left, BSTR right, LCID, ULONG flags) {
    std::u16string_view a(left ? left : u"", SysStringLen(left));
    std::u16string_view b(right ? right : u"", SysStringLen(right));
    const int c = (flags & NORM_IGNORECASE) ? WideCompareNoCase(a, b) : a.compare(b);
    return c < 0 ? VARCMP_LT : (c == 0 ? VARCMP_EQ : VARCMP_GT);
}

CComVariant::CComVariant(CComVariant&& other) noexcept : tagVARIANT(other) {
    VariantInit(&other);
}

CComVariant::CComVariant(const OLECHAR* text) : CComVariant() {
    vt = VT_BSTR;
    bstrVal = SysAllocString(text ? text : u"");
}

CComVariant::CComVariant(std::u16string_view text) : CComVariant() {
    vt = VT_BSTR;
    bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

CComVariant::CComVariant(const CComBSTR& text) : CComVariant() {
    vt = VT_BSTR;
    bstrVal = text.Copy();
}

CComVariant::CComVariant(bool value) noexcept : CComVariant() {
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

CComVariant::CComVariant(int value, VARTYPE type) noexcept : CComVariant() {
    vt = (type == VT_INT) ? VT_INT : VT_I4;
    lVal = value;
}

CComVariant::CComVariant(unsigned int value, VARTYPE type) noexcept : CComVariant() {
    vt = (type == VT_UINT) ? VT_UINT : VT_UI4;
    ulVal = value;
}

CComVariant::CComVariant(long long value) noexcept : CComVariant() {
    vt = VT_I8;
    llVal = value;
}

CComVariant::CComVariant(double value) noexcept : CComVariant() {
    vt = VT_R8;
    dblVal = value;
}

CComVariant::CComVariant(IDispatch* value) noexcept : CComVariant() {
    vt = VT_DISPATCH;
    pdispVal = value;
    if (value) value->AddRef();
}

CComVariant::CComVariant(IUnknown* value) noexcept : CComVariant() {
    vt = VT_UNKNOWN;
    punkVal = value;
    if (value) value->AddRef();
}

CComVariant& CComVariant::operator=(const CComVariant& other) {
    if (this != &other) InternalCopy(&other);
    return *this;
}

CComVariant& CComVariant::operator=(CComVariant&& other) noexcept {
    if (this != &other) {
        Clear();
        static_cast<tagVARIANT&>(*this) = other;
        VariantInit(&other);
    }
    return *this;
}

CComVariant& CComVariant::operator=(const VARIANT& other) {
    if (&other != this) InternalCopy(&other);
    return *this;
}

void CComVariant::InternalCopy(const VARIANT* src) {
    if (FAILED(VariantCopy(this, src))) {
        VariantClear(this);
        vt = VT_ERROR;
        scode = E_OUTOFMEMORY;
    }
}

HRESULT CComVariant::Copy(const VARIANT* src) {
    return VariantCopy(this, src);
}

HRESULT CComVariant::CopyTo(BSTR* out) const {
    if (!out) return E_POINTER;
    if (vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
    *out = bstrVal ? SysAllocStringByteLen(reinterpret_cast<const char*>(bstrVal),
                                           SysStringByteLen(bstrVal))
                   : nullptr;
    return S_OK;
}

HRESULT CComVariant::Attach(VARIANT* src) {
    if (!src) return E_INVALIDARG;
    if (HRESULT hr = Clear(); FAILED(hr)) return hr;
    static_cast<tagVARIANT&>(*this) = *src;
    src->vt = VT_EMPTY;
    return S_OK;
}

HRESULT CComVariant::Detach(VARIANT* dest) {
    if (!dest) return E_POINTER;
    if (HRESULT hr = VariantClear(dest); FAILED(hr)) return hr;
    *dest = *this;
    vt = VT_EMPTY;
    return S_OK;
}

HRESULT CComVariant::ChangeType(VARTYPE type, const VARIANT* src) {
    return VariantChangeType(this, src ? src : this, 0, type);
}

bool CComVariant::operator==(const VARIANT& other) const {
    if (vt != other.vt) return false;
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
            return true;
        case VT_BSTR:
            return VarBstrCmp(bstrVal, other.bstrVal, 0, 0) == VARCMP_EQ;
        case VT_BOOL:
            return boolVal == other.boolVal;
        case VT_R4:
            return fltVal == other.fltVal;
        case VT_R8:
        case VT_DATE:
            return dblVal == other.dblVal;
        case VT_UNKNOWN:
        case VT_DISPATCH:
            return punkVal == other.punkVal;
        default:
            return IsInteger(vt) ? IntegerOf(*this) == IntegerOf(other) : llVal == other.llVal;
    }
}
