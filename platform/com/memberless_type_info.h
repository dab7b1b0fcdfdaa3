// The part every type information object of this platform shares: it
// describes an interface that adds no members to IDispatch, so every name
// is unknown and no member can be invoked.
#pragma once

#include "platform/com/dispatch.h"
#include "platform/com/single_interface_object.h"

template <class Derived>
class MemberlessTypeInfo : public SingleInterfaceObject<Derived, ITypeInfo> {
public:
    STDMETHODIMP GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override {
        if (!names || !ids) return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, tagVARIANT*, EXCEPINFO*,
                        UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};
