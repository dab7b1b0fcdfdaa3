// The library's entry points: what the loader, the class factory lookup and
// regsvr32 call by name.
#include "addon/doc_event_sink.h"
#include "addon/edit_html.h"
#include "addon/farrow_module.h"

#define FARROW_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_DocEventSink, CDocEventSink)
OBJECT_ENTRY(CLSID_EditHtml, CEditHtml)
END_OBJECT_MAP()

}  // namespace

FARROW_EXPORT BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH && FAILED(_AtlModule.Init(ObjectMap, instance))) return FALSE;
    return _AtlModule.DllMain(reason, reserved);
}

FARROW_EXPORT HRESULT DllCanUnloadNow() {
    return _AtlModule.DllCanUnloadNow();
}

FARROW_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return _AtlModule.DllGetClassObject(clsid, riid, ppv);
}

FARROW_EXPORT HRESULT DllRegisterServer() {
    return _AtlModule.DllRegisterServer();
}

FARROW_EXPORT HRESULT DllUnregisterServer() {
    return _AtlModule.DllUnregisterServer();
}
