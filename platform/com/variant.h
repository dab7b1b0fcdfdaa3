// VARIANT, the tagged value that crosses dispatch interfaces, with the
// conversions and comparisons the system uses.
#pragma once

#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/dispatch.h"

using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
using DATE = double;
using FLOAT = float;
using DOUBLE = double;
struct SAFEARRAY;

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_I1 = 16,
    VT_UI1 = 17,
    VT_UI2 = 18,
    VT_UI4 = 19,
    VT_I8 = 20,
    VT_UI8 = 21,
    VT_INT = 22,
    VT_UINT = 23,
    VT_INT_PTR = 37,
    VT_UINT_PTR = 38,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONGLONG llVal;  // also VT_INT_PTR on this 64-bit platform
        ULONGLONG ullVal;
        LONG lVal;
        ULONG ulVal;
        INT intVal;
        UINT uintVal;
        BYTE bVal;
        CHAR cVal;
        SHORT iVal;
        USHORT uiVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        LONGLONG* pllVal;
        INT* pintVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        tagVARIANT* pvarVal;
        PVOID byref;
    };
};
using VARIANT = tagVARIANT;
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;

constexpr USHORT VARIANT_NOVALUEPROP = 0x01;
constexpr USHORT VARIANT_ALPHABOOL = 0x02;

void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// Copies, taking the value behind VT_BYREF.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);
HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, LCID lcid, USHORT flags, VARTYPE vt);

constexpr HRESULT VARCMP_LT = 0;
constexpr HRESULT VARCMP_EQ = 1;
constexpr HRESULT VARCMP_GT = 2;
constexpr HRESULT VARCMP_NULL = 3;
constexpr ULONG NORM_IGNORECASE = 0x00000001;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
// Exact comparison by code unit without flags; a null BSTR equals "".
HRESULT VarBstrCmp(BSTR left, BSTR right, LCID lcid, ULONG flags);

// Owns one VARIANT.
class CComVariant : public tagVARIANT {
public:
    CComVariant() noexcept { VariantInit(this); }
    ~CComVariant() { Clear(); }
    CComVariant(const VARIANT& other) : CComVariant() { InternalCopy(&other); }
    CComVariant(const CComVariant& other) : CComVariant() { InternalCopy(&other); }
    CComVariant(CComVariant&& other) noexcept;
    CComVariant(const OLECHAR* text);
    CComVariant(std::u16string_view text);
    CComVariant(const CComBSTR& text);
    CComVariant(bool value) noexcept;
    CComVariant(int value, VARTYPE type = VT_I4) noexcept;
    CComVariant(unsigned int value, VARTYPE type = VT_UI4) noexcept;
    CComVariant(long long value) noexcept;
    CComVariant(double value) noexcept;
    CComVariant(IDispatch* value) noexcept;
    CComVariant(IUnknown* value) noexcept;
    CComVariant(std::nullptr_t) = delete;

    CComVariant& operator=(const CComVariant& other);
    CComVariant& operator=(CComVariant&& other) noexcept;
    CComVariant& operator=(const VARIANT& other);

    HRESULT Clear() { return VariantClear(this); }
    HRESULT Copy(const VARIANT* src);
    HRESULT CopyTo(BSTR* out) const;
    HRESULT Attach(VARIANT* src);
    HRESULT Detach(VARIANT* dest);
    HRESULT ChangeType(VARTYPE vt, const VARIANT* src = nullptr);

    bool operator==(const VARIANT& other) const;

private:
    void InternalCopy(const VARIANT* src);
};
