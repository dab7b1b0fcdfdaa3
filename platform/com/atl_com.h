// The ATL shapes COM classes are written in: an object root with a
// reference count and an interface map, CComObject around the class, and
// CComCoClass with its class factory.
#pragma once

#include <atomic>
#include <limits>
#include <new>

#include "platform/com/atl_module.h"
#include "platform/com/class_factory.h"

class CComSingleThreadModel {
public:
    static ULONG Increment(LONG* p) noexcept { return static_cast<ULONG>(++*p); }
    static ULONG Decrement(LONG* p) noexcept { return static_cast<ULONG>(--*p); }
};

class CComMultiThreadModel {
public:
    static ULONG Increment(LONG* p) noexcept {
        return static_cast<ULONG>(std::atomic_ref<LONG>(*p).fetch_add(1) + 1);
    }
    static ULONG Decrement(LONG* p) noexcept {
        return static_cast<ULONG>(std::atomic_ref<LONG>(*p).fetch_sub(1) - 1);
    }
};

// One row of an interface map: the interface id and how to reach that
// interface from the object. A null id ends the map.
struct _ATL_INTMAP_ENTRY {
    const IID* piid;
    IUnknown* (*cast)(void* object);
};

class CComObjectRootBase {
public:
    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}
    void InternalFinalConstructAddRef() {}
    void InternalFinalConstructRelease() {}

    // IUnknown answers with the first entry, so every interface of the
    // object yields the same IUnknown.
    static HRESULT InternalQueryInterface(void* object, const _ATL_INTMAP_ENTRY* entries,
                                          REFIID iid, void** ppv) {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (!entries || !entries->piid) return E_NOINTERFACE;
        if (iid == IID_IUnknown) {
            IUnknown* unknown = entries->cast(object);
            unknown->AddRef();
            *ppv = unknown;
            return S_OK;
        }
        for (const _ATL_INTMAP_ENTRY* e = entries; e->piid; ++e) {
            if (*e->piid == iid) {
                IUnknown* unknown = e->cast(object);
                unknown->AddRef();
                *ppv = unknown;
                return S_OK;
            }
        }
        return E_NOINTERFACE;
    }

    LONG m_dwRef = 0;
};

template <class ThreadModel>
class CComObjectRootEx : public CComObjectRootBase {
public:
    ULONG InternalAddRef() { return ThreadModel::Increment(&m_dwRef); }
    ULONG InternalRelease() { return ThreadModel::Decrement(&m_dwRef); }
};

#define BEGIN_COM_MAP(x)                                              \
public:                                                               \
    using _ComMapClass = x;                                           \
    HRESULT _InternalQueryInterface(REFIID iid, void** ppv) {         \
        return InternalQueryInterface(this, _GetEntries(), iid, ppv); \
    }                                                                 \
    IUnknown* GetUnknown() {                                          \
        return _GetEntries()[0].cast(this);                           \
    }                                                                 \
    static const _ATL_INTMAP_ENTRY* _GetEntries() {                   \
        static const _ATL_INTMAP_ENTRY _entries[] = {
#define COM_INTERFACE_ENTRY(I) \
    {&__uuidof(I),             \
     [](void* p) -> IUnknown* { return static_cast<I*>(static_cast<_ComMapClass*>(p)); }},

#define COM_INTERFACE_ENTRY_IID(iid, I) \
    {&iid, [](void* p) -> IUnknown* { return static_cast<I*>(static_cast<_ComMapClass*>(p)); }},

// I reached through the base I2 (when several bases derive from I).
#define COM_INTERFACE_ENTRY2(I, I2)                                               \
    {&__uuidof(I), [](void* p) -> IUnknown* {                                     \
         return static_cast<I*>(static_cast<I2*>(static_cast<_ComMapClass*>(p))); \
     }},

#define END_COM_MAP()                                      \
    { nullptr, nullptr }                                   \
    }                                                      \
    ;                                                      \
    return _entries;                                       \
    }                                                      \
    STDMETHOD(QueryInterface)(REFIID iid, void** ppv) = 0; \
    STDMETHOD_(ULONG, AddRef)() = 0;                       \
    STDMETHOD_(ULONG, Release)() = 0;

#define DECLARE_PROTECT_FINAL_CONSTRUCT()
#define DECLARE_NOT_AGGREGATABLE(x)
#define DECLARE_NO_REGISTRY()             \
    static HRESULT UpdateRegistry(BOOL) { \
        return S_OK;                      \
    }
#define DECLARE_REGISTRY_RESOURCEID(id)                                             \
    static HRESULT UpdateRegistry(BOOL bRegister) {                                 \
        return _pAtlModule ? _pAtlModule->UpdateRegistryFromResource(id, bRegister) \
                           : E_UNEXPECTED;                                          \
    }

// The object as created: the class's IUnknown methods over its root.
template <class Base>
class CComObject final : public Base {
public:
    CComObject(void* = nullptr) {
        if (_pAtlModule) _pAtlModule->Lock();
    }
    ~CComObject() {
        this->m_dwRef =
            -(std::numeric_limits<LONG>::max() / 2);  // guards against reentrant deletion
        this->FinalRelease();
        if (_pAtlModule) _pAtlModule->Unlock();
    }

    STDMETHODIMP_(ULONG) AddRef() override { return this->InternalAddRef(); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = this->InternalRelease();
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        return this->_InternalQueryInterface(iid, ppv);
    }

    // Creates the object with a reference count of 0 after FinalConstruct.
    static HRESULT CreateInstance(CComObject<Base>** pp) {
        if (!pp) return E_POINTER;
        *pp = nullptr;
        auto* object = new (std::nothrow) CComObject<Base>();
        if (!object) return E_OUTOFMEMORY;
        object->InternalAddRef();  // keeps FinalConstruct's own QI/Release from deleting it
        HRESULT hr = object->FinalConstruct();
        object->InternalRelease();
        if (FAILED(hr)) {
            delete object;
            return hr;
        }
        *pp = object;
        return S_OK;
    }
};

// Creates the class and asks it for riid.
template <class T>
class CComCreator {
public:
    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        CComObject<T>* object = nullptr;
        HRESULT hr = CComObject<T>::CreateInstance(&object);
        if (FAILED(hr)) return hr;
        object->AddRef();
        hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
};

template <class T, const CLSID* pclsid>
class CComCoClass {
public:
    using _CreatorClass = CComCreator<T>;
    static const CLSID& GetObjectCLSID() { return *pclsid; }
};
