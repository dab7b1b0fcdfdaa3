// IDispatchImpl: the dispatch half of a dual interface, answered from the
// interface's type information.
#pragma once

#include "platform/com/dispatch.h"

template <class T, const IID* piid, const GUID* plibid = &GUID_NULL, WORD wMajor = 1,
          WORD wMinor = 0>
class IDispatchImpl : public T {
public:
    STDMETHOD(GetTypeInfoCount)(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return CreateDualTypeInfo(*piid, wMajor, wMinor, info);
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
