// A small in-process COM server, registered through registry scripts and
// created through the registry, as the add-on is. It refuses to load into
// a program whose path contains "refuse" in any letter case.
#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"
#include "tests/platform/com/test_server/gadget.h"

namespace {

constexpr char kModuleScript[] = R"(HKCR
{
    NoRemove AppID
    {
        '%APPID%' = s 'Gadget'
        'Gadget.DLL'
        {
            val AppID = s '%APPID%'
        }
    }
}
HKLM
{
    NoRemove SOFTWARE
    {
        NoRemove Kestro
        {
            NoRemove Tests
            {
                Gadget = s 'Gadget settings'
                {
                    val 'Maximum Links' = d '15'
                    val 'Last File Name' = s ''
                    val 'Percent' = s '100%%'
                }
            }
        }
    }
})";

constexpr char kClassScript[] = R"(HKCR
{
    Gadget.Thing.1 = s 'Gadget Class'
    {
        CLSID = s '{7D1C4E11-9A53-4C1B-8F0E-2B6A1D3C5E70}'
    }
    NoRemove CLSID
    {
        ForceRemove {7D1C4E11-9A53-4C1B-8F0E-2B6A1D3C5E70} = s 'Gadget Class'
        {
            ProgID = s 'Gadget.Thing.1'
            ForceRemove Programmable
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            val AppID = s '%APPID%'
        }
    }
})";

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(u"REGISTRY", 101, kModuleScript),
    ResourceEntry(u"REGISTRY", 201, kClassScript),
};

class CGadget : public CComObjectRootEx<CComSingleThreadModel>,
                public CComCoClass<CGadget, &CLSID_Gadget>,
                public IDispatchImpl<IGadget, &IID_IGadget, &LIBID_GadgetLib, 1, 0> {
public:
    DECLARE_REGISTRY_RESOURCEID(201)

    BEGIN_COM_MAP(CGadget)
    COM_INTERFACE_ENTRY(IGadget)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    STDMETHODIMP Answer(LONG* out) override {
        if (!out) return E_POINTER;
        *out = 42;
        return S_OK;
    }
};

class CGadgetModule : public CAtlDllModuleT<CGadgetModule> {
public:
    DECLARE_REGISTRY_APPID_RESOURCEID(101, kGadgetAppId)
};

CGadgetModule _AtlModule;

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_Gadget, CGadget)
END_OBJECT_MAP()

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)

extern "C" __attribute__((visibility("default"))) BOOL DllMain(HINSTANCE instance, DWORD reason,
                                                               LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        char16_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (WideLower(std::u16string_view(path, length)).find(u"refuse") != std::u16string::npos)
            return FALSE;
        if (FAILED(_AtlModule.Init(ObjectMap, instance))) return FALSE;
    }
    return _AtlModule.DllMain(reason, reserved);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return _AtlModule.DllCanUnloadNow();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid,
                                                                            REFIID riid,
                                                                            void** ppv) {
    return _AtlModule.DllGetClassObject(clsid, riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return _AtlModule.DllRegisterServer();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return _AtlModule.DllUnregisterServer();
}
