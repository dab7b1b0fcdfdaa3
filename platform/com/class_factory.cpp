#include "platform/com/class_factory.h"

#include <cstdlib>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "platform/win/module.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"

namespace {

struct ApartmentState {
    int count = 0;
    DWORD model = 0;
};
thread_local ApartmentState t_apartment;

struct BuiltinClass {
    CLSID clsid;
    BuiltinClassCreator creator;
};

std::mutex& BuiltinMutex() {
    static std::mutex m;
    return m;
}

std::vector<BuiltinClass>& BuiltinClasses() {
    static std::vector<BuiltinClass> classes;
    return classes;
}

BuiltinClassCreator FindBuiltin(REFCLSID clsid) {
    std::lock_guard lock(BuiltinMutex());
    for (const BuiltinClass& c : BuiltinClasses())
        if (c.clsid == clsid) return c.creator;
    return nullptr;
}

// The InprocServer32 path of a registered class, or an error.
HRESULT InprocServerPath(REFCLSID clsid, std::u16string& path) {
    const std::u16string key = u"CLSID\\" + GuidToString(clsid) + u"\\InprocServer32";
    HKEY hkey = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &hkey) != ERROR_SUCCESS)
        return REGDB_E_CLASSNOTREG;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(hkey, nullptr, nullptr, &type, nullptr, &size);
    std::u16string value(size / sizeof(char16_t) + 1, u'\0');
    if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        rc = RegQueryValueExW(hkey, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                              &size);
    } else {
        rc = ERROR_FILE_NOT_FOUND;
    }
    RegCloseKey(hkey);
    if (rc != ERROR_SUCCESS) return REGDB_E_CLASSNOTREG;
    value.resize(WideLength(value.c_str()));
    if (value.empty()) return REGDB_E_CLASSNOTREG;
    path = value;
    return S_OK;
}

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);

HRESULT InprocClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    std::u16string path;
    if (HRESULT hr = InprocServerPath(clsid, path); FAILED(hr)) return hr;
    // Loaded libraries stay loaded for the life of the process: objects
    // they made may outlive any caller's reference to the factory.
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    auto entry =
        reinterpret_cast<DllGetClassObjectFunction>(GetProcAddress(module, "DllGetClassObject"));
    if (!entry) return CO_E_ERRORINDLL;
    return entry(clsid, riid, ppv);
}

}  // namespace

HRESULT CoInitialize(void* reserved) {
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(void*, DWORD coInit) {
    const DWORD model = coInit & COINIT_APARTMENTTHREADED;
    if (t_apartment.count > 0 && t_apartment.model != model) return RPC_E_CHANGED_MODE;
    t_apartment.model = model;
    return t_apartment.count++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (t_apartment.count > 0) --t_apartment.count;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID riid, void** ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (t_apartment.count == 0) return CO_E_NOTINITIALIZED;
    if (BuiltinClassCreator creator = FindBuiltin(clsid)) {
        CComPtr<IClassFactory> factory = new (std::nothrow) CComClassFactory(creator);
        if (!factory) return E_OUTOFMEMORY;
        return factory->QueryInterface(riid, ppv);
    }
    if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    return InprocClassObject(clsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    CComPtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(outer, riid, ppv);
}

void* CoTaskMemAlloc(SIZE_T size) {
    return std::malloc(size ? size : 1);
}

void* CoTaskMemRealloc(void* block, SIZE_T size) {
    return std::realloc(block, size ? size : 1);
}

void CoTaskMemFree(void* block) {
    std::free(block);
}

void RegisterBuiltinClass(REFCLSID clsid, BuiltinClassCreator creator) {
    std::lock_guard lock(BuiltinMutex());
    for (BuiltinClass& c : BuiltinClasses()) {
        if (c.clsid == clsid) {
            c.creator = creator;
            return;
        }
    }
    BuiltinClasses().push_back({clsid, creator});
}
