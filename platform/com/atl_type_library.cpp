// The ATL side of type libraries: a module registering its own TYPELIB
// resource, and IDispatchImpl finding its interface's type information.
#include "platform/com/atl_dispatch.h"
#include "platform/com/atl_module.h"
#include "platform/com/type_library.h"

namespace {

// The module's type library, and the path it is registered under: the
// module's file with the index after it.
HRESULT LoadModuleTypeLib(HMODULE module, LPCOLESTR index, std::u16string& path,
                          CComPtr<ITypeLib>& typeLib) {
    std::u16string file(4096, u'\0');
    const DWORD length = GetModuleFileNameW(module, file.data(), static_cast<DWORD>(file.size()));
    if (length == 0 || length >= file.size()) return TYPE_E_CANTLOADLIBRARY;
    path = file.substr(0, length) + (index ? index : u"");
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, &typeLib);
}

bool IsLibrary(ITypeLib* typeLib, REFGUID libid) {
    TLIBATTR* attr = nullptr;
    if (FAILED(typeLib->GetLibAttr(&attr))) return false;
    const bool same = attr->guid == libid;
    typeLib->ReleaseTLibAttr(attr);
    return same;
}

}  // namespace

HMODULE AtlThisImage() {
    return ModuleFromAddress(reinterpret_cast<const void*>(&AtlThisImage));
}

HRESULT LoadInterfaceTypeInfo(REFGUID libid, WORD major, WORD minor, LCID lcid, REFIID iid,
                              HMODULE image, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    CComPtr<ITypeLib> typeLib;
    const HRESULT registered = LoadRegTypeLib(libid, major, minor, lcid, &typeLib);
    if (FAILED(registered)) {
        std::u16string path;
        if (!image || FAILED(LoadModuleTypeLib(image, nullptr, path, typeLib)) ||
            !IsLibrary(typeLib, libid)) {
            return registered;
        }
    }
    return typeLib->GetTypeInfoOfGuid(iid, info);
}

HRESULT AtlRegisterTypeLib(HINSTANCE module, LPCOLESTR index) {
    std::u16string path;
    CComPtr<ITypeLib> typeLib;
    if (HRESULT hr = LoadModuleTypeLib(module, index, path, typeLib); FAILED(hr)) return hr;
    return RegisterTypeLib(typeLib, path.c_str(), nullptr);
}

HRESULT AtlUnRegisterTypeLib(HINSTANCE module, LPCOLESTR index) {
    std::u16string path;
    CComPtr<ITypeLib> typeLib;
    if (HRESULT hr = LoadModuleTypeLib(module, index, path, typeLib); FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    if (HRESULT hr = typeLib->GetLibAttr(&attr); FAILED(hr)) return hr;
    const TLIBATTR copy = *attr;
    typeLib->ReleaseTLibAttr(attr);
    return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                             copy.syskind);
}
