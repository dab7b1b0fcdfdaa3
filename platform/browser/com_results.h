// Filling the out-parameters of the document interfaces the way MSHTML does.
#pragma once

#include <string_view>

#include "platform/com/variant.h"

namespace browser {

// A BSTR copy of text (an empty BSTR for empty text).
HRESULT ReturnString(std::u16string_view text, BSTR* out);
HRESULT ReturnBool(bool value, VARIANT_BOOL* out);
// AddRefs and stores an interface pointer, or stores null; S_OK either way.
template <class I>
HRESULT ReturnInterface(I* value, I** out) {
    if (!out) return E_POINTER;
    *out = value;
    if (value) value->AddRef();
    return S_OK;
}
// The text of a string variant, or of any variant converted to a string.
bool VariantText(const VARIANT& value, std::u16string& out);
// An integer index from a numeric variant.
bool VariantIndex(const VARIANT& value, long& out);

}  // namespace browser

// IDispatch for the document objects: the add-on calls them through their
// v-tables, so late binding answers that no member is known.
#define KESTRO_DOM_DISPATCH_STUBS()                                                              \
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {                                        \
        if (!count) return E_POINTER;                                                            \
        *count = 0;                                                                              \
        return S_OK;                                                                             \
    }                                                                                            \
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {                            \
        if (info) *info = nullptr;                                                               \
        return DISP_E_BADINDEX;                                                                  \
    }                                                                                            \
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {                \
        return DISP_E_UNKNOWNNAME;                                                               \
    }                                                                                            \
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, tagVARIANT*, EXCEPINFO*, UINT*) \
        override {                                                                               \
        return DISP_E_MEMBERNOTFOUND;                                                            \
    }
