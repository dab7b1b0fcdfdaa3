// The add-on's shape for type libraries: its TYPELIB resource, a class whose
// dispatch comes from it, and registration through the ATL module.
#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"
#include "platform/com/type_library.h"
#include "tests/platform/com/typelib_server/typelib_server.h"

namespace {

constexpr TypeLibImport kImports[] = {kStdOleImport};
constexpr TypeLibInterface kInterfaces[] = {
    {IID_IEditHtml, u"IEditHtml", u"IEditHtml Interface"},
    {IID_IDocEventSink, u"IDocEventSink", u"IDocEventSink Interface"},
};
constexpr TypeLibCoClass kClasses[] = {
    {CLSID_EditHtml, u"EditHtml", u"EditHtml Class", IID_IEditHtml},
    {CLSID_DocEventSink, u"DocEventSink", u"DocEventSink Class", IID_IDocEventSink},
};
constexpr TypeLibTemplate kTypeLib =
    TypeLib(LIBID_FarrowLib, 1, 0, u"FarrowLib", u"Farrow 1.0 Type Library", kImports, kInterfaces,
            kClasses);

constexpr TypeLibInterface kSecondInterfaces[] = {
    {IID_ISecondThing, u"ISecondThing", u"ISecondThing Interface"},
};
constexpr TypeLibTemplate kSecondTypeLib{
    LIBID_SecondLib, 2, 3, u"SecondLib", u"Second", kImports, 1, kSecondInterfaces, 1, nullptr, 0};

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(u"TYPELIB", 1, kTypeLib),
    ResourceEntry(u"TYPELIB", 2, kSecondTypeLib),
};

class CEditHtml : public CComObjectRootEx<CComSingleThreadModel>,
                  public CComCoClass<CEditHtml, &CLSID_EditHtml>,
                  public IDispatchImpl<IEditHtml, &IID_IEditHtml, &LIBID_FarrowLib, 1, 0> {
public:
    DECLARE_NO_REGISTRY()

    BEGIN_COM_MAP(CEditHtml)
    COM_INTERFACE_ENTRY(IEditHtml)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()
};

class CTypeLibServerModule : public CAtlDllModuleT<CTypeLibServerModule> {};

CTypeLibServerModule _AtlModule;

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_EditHtml, CEditHtml)
END_OBJECT_MAP()

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)

extern "C" __attribute__((visibility("default"))) BOOL DllMain(HINSTANCE instance, DWORD reason,
                                                               LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH && FAILED(_AtlModule.Init(ObjectMap, instance))) return FALSE;
    return _AtlModule.DllMain(reason, reserved);
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
