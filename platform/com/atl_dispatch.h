// IDispatchImpl: the dispatch half of a dual interface, answered from the
// interface's type information. Without a library id that is the least
// type information a member-less dual interface has (CreateDualTypeInfo);
// with one it comes from that type library: the registered one, else the
// TYPELIB resource 1 of the image the class is built into.
#pragma once

#include "platform/com/dispatch.h"
#include "platform/win/module.h"

// The image (program or library) whose code calls it: every image that
// links the platform has its own copy.
__attribute__((visibility("hidden"))) HMODULE AtlThisImage();

// The interface's type information from the registered library (libid at
// major.minor or a later minor version), else from the TYPELIB resource 1
// of `image` when that is the same library. TYPE_E_LIBNOTREGISTERED when
// neither has it; TYPE_E_ELEMENTNOTFOUND when the library lacks the
// interface.
HRESULT LoadInterfaceTypeInfo(REFGUID libid, WORD major, WORD minor, LCID lcid, REFIID iid,
                              HMODULE image, ITypeInfo** info);

template <class T, const IID* piid, const GUID* plibid = &GUID_NULL, WORD wMajor = 1,
          WORD wMinor = 0>
class IDispatchImpl : public T {
public:
    STDMETHOD(GetTypeInfoCount)(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        if (*plibid == GUID_NULL) return CreateDualTypeInfo(*piid, wMajor, wMinor, info);
        return LoadInterfaceTypeInfo(*plibid, wMajor, wMinor, lcid, *piid, AtlThisImage(), info);
    }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
        CComPtr<ITypeInfo> info;
        HRESULT hr = GetTypeInfo(0, lcid, &info);
        if (FAILED(hr)) return hr;
        return info->GetIDsOfNames(names, count, ids);
    }
    STDMETHOD(Invoke)
    (DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, tagVARIANT* result,
     EXCEPINFO* excepInfo, UINT* argErr) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        CComPtr<ITypeInfo> info;
        HRESULT hr = GetTypeInfo(0, lcid, &info);
        if (FAILED(hr)) return hr;
        return info->Invoke(static_cast<T*>(this), id, flags, params, result, excepInfo, argErr);
    }
};
