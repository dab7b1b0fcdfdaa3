// IObjectWithSite and its ATL implementation: the object keeps the site it
// was given and answers GetSite from it.
#pragma once

#include "platform/com/com_ptr.h"

struct IObjectWithSite : IUnknown {
    STDMETHOD(SetSite)(IUnknown* site) = 0;
    STDMETHOD(GetSite)(REFIID riid, void** ppvSite) = 0;
};
KESTRO_DEFINE_IID(IObjectWithSite, "FC4801A3-2BA9-11CF-A229-00AA003D7352");

template <class T>
class IObjectWithSiteImpl : public IObjectWithSite {
public:
    STDMETHOD(SetSite)(IUnknown* site) override {
        m_spUnkSite = site;
        return S_OK;
    }
    STDMETHOD(GetSite)(REFIID riid, void** ppvSite) override {
        if (!ppvSite) return E_POINTER;
        *ppvSite = nullptr;
        if (!m_spUnkSite) return E_FAIL;
        return m_spUnkSite->QueryInterface(riid, ppvSite);
    }

    CComPtr<IUnknown> m_spUnkSite;
};
