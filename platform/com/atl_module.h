// The module object of a COM library: lock count, object map, class
// objects and registration driven by registry scripts.
#pragma once

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/class_factory.h"
#include "platform/com/type_library.h"
#include "platform/win/module.h"
#include "platform/win/resource.h"

// One class of a library's object map.
struct _ATL_OBJMAP_ENTRY {
    const CLSID* pclsid;
    HRESULT (*pfnUpdateRegistry)(BOOL bRegister);
    HRESULT (*pfnCreateInstance)(IUnknown* outer, REFIID riid, void** ppv);
};

#define BEGIN_OBJECT_MAP(x) static const _ATL_OBJMAP_ENTRY x[] = {
#define OBJECT_ENTRY(clsid, cls) \
    {&clsid, &cls::UpdateRegistry, &cls::_CreatorClass::CreateInstance},
#define END_OBJECT_MAP()          \
    { nullptr, nullptr, nullptr } \
    }                             \
    ;

// Programs export their symbols so that a library's platform calls reach the
// program's one copy of the platform state. What belongs to one image (its
// module object) must not be shared that way: such members are hidden.
#define ATL_PER_IMAGE __attribute__((visibility("hidden")))

using RegistryReplacements = std::vector<std::pair<std::u16string, std::u16string>>;

class CAtlModule : public ServerLock {
public:
    ATL_PER_IMAGE CAtlModule();
    ATL_PER_IMAGE virtual ~CAtlModule();
    CAtlModule(const CAtlModule&) = delete;
    CAtlModule& operator=(const CAtlModule&) = delete;

    LONG Lock() override { return ++m_nLockCnt; }
    LONG Unlock() override { return --m_nLockCnt; }
    LONG GetLockCount() const { return m_nLockCnt; }

    // Replacements every script of this module gets besides %MODULE%.
    virtual HRESULT AddCommonRGSReplacements(RegistryReplacements& replacements);
    // Runs the REGISTRY resource `id` of this module for (un)registration.
    HRESULT UpdateRegistryFromResource(UINT id, BOOL bRegister,
                                       const RegistryReplacements& extra = {});

    HINSTANCE m_hInstance = nullptr;

protected:
    std::atomic<LONG> m_nLockCnt{0};
};

// The module of the image being built. Each library and program has its
// own: the symbol is hidden so that a library's objects never count locks
// on the program's module.
extern CAtlModule* _pAtlModule __attribute__((visibility("hidden")));

// Registers (unregisters) the module's TYPELIB resource under the module's
// file path: index null names resource 1, u"\\2" resource 2. The loading
// and registration errors of type_library.h.
HRESULT AtlRegisterTypeLib(HINSTANCE module, LPCOLESTR index);
HRESULT AtlUnRegisterTypeLib(HINSTANCE module, LPCOLESTR index);

// Keeps GetThreadLocale as it was across a registration call.
LCID GetThreadLocale();
BOOL SetThreadLocale(LCID locale);

template <class T>
class CAtlDllModuleT : public CAtlModule {
public:
    // Records the object map and the library's handle; the library's
    // DllMain calls it at process attach.
    HRESULT Init(const _ATL_OBJMAP_ENTRY* objectMap, HINSTANCE instance) {
        m_pObjMap = objectMap;
        m_hInstance = instance;
        return S_OK;
    }

    BOOL DllMain(DWORD /*reason*/, void* /*reserved*/) { return TRUE; }

    HRESULT DllCanUnloadNow() { return GetLockCount() == 0 ? S_OK : S_FALSE; }

    HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        for (const _ATL_OBJMAP_ENTRY* e = m_pObjMap; e && e->pclsid; ++e) {
            if (*e->pclsid != clsid) continue;
            auto* factory = new (std::nothrow) CComClassFactory(e->pfnCreateInstance, this);
            if (!factory) return E_OUTOFMEMORY;
            factory->AddRef();
            const HRESULT hr = factory->QueryInterface(riid, ppv);
            factory->Release();
            return hr;
        }
        return CLASS_E_CLASSNOTAVAILABLE;
    }

    // The module's own script first, then each class in map order; the
    // thread locale is the system default meanwhile.
    HRESULT DllRegisterServer(BOOL bRegTypeLib = TRUE) {
        return WithSystemLocale([&] {
            HRESULT hr = T::UpdateRegistryAppId(TRUE);
            if (FAILED(hr)) return hr;
            for (const _ATL_OBJMAP_ENTRY* e = m_pObjMap; e && e->pclsid; ++e) {
                hr = e->pfnUpdateRegistry(TRUE);
                if (FAILED(hr)) return hr;
            }
            return bRegTypeLib ? static_cast<T*>(this)->RegisterTypeLibrary(TRUE) : S_OK;
        });
    }

    HRESULT DllUnregisterServer(BOOL bUnRegTypeLib = TRUE) {
        return WithSystemLocale([&] {
            HRESULT hr = S_OK;
            for (const _ATL_OBJMAP_ENTRY* e = m_pObjMap; e && e->pclsid; ++e) {
                hr = e->pfnUpdateRegistry(FALSE);
                if (FAILED(hr)) return hr;
            }
            if (bUnRegTypeLib) {
                hr = static_cast<T*>(this)->RegisterTypeLibrary(FALSE);
                if (FAILED(hr)) return hr;
            }
            return T::UpdateRegistryAppId(FALSE);
        });
    }

    // The module's TYPELIB resource 1; a module without one has nothing to
    // register.
    HRESULT RegisterTypeLibrary(BOOL bRegister) {
        if (!FindResourceW(m_hInstance, MAKEINTRESOURCEW(1), u"TYPELIB")) return S_OK;
        return bRegister ? AtlRegisterTypeLib(m_hInstance, nullptr)
                         : AtlUnRegisterTypeLib(m_hInstance, nullptr);
    }
    static HRESULT UpdateRegistryAppId(BOOL) { return S_OK; }

protected:
    template <class F>
    HRESULT WithSystemLocale(F&& work) {
        const LCID saved = GetThreadLocale();
        SetThreadLocale(0x0800);  // LOCALE_SYSTEM_DEFAULT
        const HRESULT hr = work();
        SetThreadLocale(saved);
        return hr;
    }

    const _ATL_OBJMAP_ENTRY* m_pObjMap = nullptr;
};

// The module's own script (the application id), run with %APPID% set.
#define DECLARE_REGISTRY_APPID_RESOURCEID(resid, appid)                                \
    static HRESULT UpdateRegistryAppId(BOOL bRegister) {                               \
        return _pAtlModule ? _pAtlModule->UpdateRegistryFromResource(resid, bRegister) \
                           : E_UNEXPECTED;                                             \
    }                                                                                  \
    HRESULT AddCommonRGSReplacements(RegistryReplacements& replacements) override {    \
        replacements.emplace_back(u"APPID", appid);                                    \
        return S_OK;                                                                   \
    }
