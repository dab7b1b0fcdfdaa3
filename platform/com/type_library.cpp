// Type libraries loaded from a module's TYPELIB resource. The library object
// holds a reference on its module (the table lives in the module's image),
// and each type information object holds one on its library.
#include "platform/com/type_library.h"

#include <new>
#include <string>

#include "platform/com/memberless_type_info.h"
#include "platform/com/single_interface_object.h"
#include "platform/win/module.h"
#include "platform/win/resource.h"

namespace {

// What one type information object describes.
struct TypeEntry {
    GUID guid;
    TYPEKIND kind;
    const char16_t* name;
    const char16_t* helpString;
};

void SetText(BSTR* out, const char16_t* text) {
    if (out) *out = text ? SysAllocString(text) : nullptr;
}

class LibraryTypeInfo final : public MemberlessTypeInfo<LibraryTypeInfo> {
public:
    LibraryTypeInfo(ITypeLib* library, const TypeLibTemplate& table, const TypeEntry& entry)
        : m_library(library), m_table(table), m_entry(entry) {}

    STDMETHODIMP GetTypeAttr(TYPEATTR** attr) override {
        if (!attr) return E_INVALIDARG;
        auto* a = new (std::nothrow) TYPEATTR{};
        if (!a) return E_OUTOFMEMORY;
        a->guid = m_entry.guid;
        a->lcid = m_table.lcid;
        a->memidConstructor = MEMBERID_NIL;
        a->memidDestructor = MEMBERID_NIL;
        a->typekind = m_entry.kind;
        a->cImplTypes = 1;
        if (m_entry.kind == TKIND_DISPATCH) {
            a->cFuncs = 7;  // the members of IUnknown and IDispatch
            a->wTypeFlags = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE;
        } else {
            a->wTypeFlags = TYPEFLAG_FCANCREATE;
        }
        a->wMajorVerNum = m_table.major;
        a->wMinorVerNum = m_table.minor;
        *attr = a;
        return S_OK;
    }
    STDMETHODIMP_(void) ReleaseTypeAttr(TYPEATTR* attr) override { delete attr; }

    STDMETHODIMP GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* context,
                                  BSTR* file) override {
        if (id != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
        SetText(name, m_entry.name);
        SetText(doc, m_entry.helpString);
        if (context) *context = 0;
        SetText(file, nullptr);
        return S_OK;
    }

private:
    CComPtr<ITypeLib> m_library;
    const TypeLibTemplate& m_table;
    TypeEntry m_entry;
};

class LoadedTypeLib final : public SingleInterfaceObject<LoadedTypeLib, ITypeLib> {
public:
    LoadedTypeLib(const TypeLibTemplate& table, HMODULE module, bool counted)
        : m_table(table), m_module(module), m_counted(counted) {}
    ~LoadedTypeLib() {
        if (m_counted) FreeLibrary(m_module);
    }

    STDMETHODIMP_(UINT) GetTypeInfoCount() override {
        return static_cast<UINT>(m_table.interfaceCount + m_table.coclassCount);
    }

    STDMETHODIMP GetTypeInfo(UINT index, ITypeInfo** info) override {
        if (!info) return E_INVALIDARG;
        *info = nullptr;
        if (index >= GetTypeInfoCount()) return TYPE_E_ELEMENTNOTFOUND;
        return Create(Entry(index), info);
    }

    STDMETHODIMP GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** info) override {
        if (!info) return E_INVALIDARG;
        *info = nullptr;
        for (UINT i = 0; i < GetTypeInfoCount(); ++i) {
            if (Entry(i).guid == guid) return Create(Entry(i), info);
        }
        return TYPE_E_ELEMENTNOTFOUND;
    }

    STDMETHODIMP GetLibAttr(TLIBATTR** attr) override {
        if (!attr) return E_INVALIDARG;
        *attr = new (std::nothrow)
            TLIBATTR{m_table.libid, m_table.lcid, SYS_WIN32, m_table.major, m_table.minor, 0};
        return *attr ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP_(void) ReleaseTLibAttr(TLIBATTR* attr) override { delete attr; }

    STDMETHODIMP GetDocumentation(INT index, BSTR* name, BSTR* doc, DWORD* context,
                                  BSTR* file) override {
        if (index < -1 || index >= static_cast<INT>(GetTypeInfoCount()))
            return TYPE_E_ELEMENTNOTFOUND;
        const TypeEntry entry =
            index == -1 ? TypeEntry{m_table.libid, TKIND_MODULE, m_table.name, m_table.helpString}
                        : Entry(static_cast<UINT>(index));
        SetText(name, entry.name);
        SetText(doc, entry.helpString);
        if (context) *context = 0;
        SetText(file, nullptr);
        return S_OK;
    }

private:
    TypeEntry Entry(UINT index) const {
        if (index < m_table.interfaceCount) {
            const TypeLibInterface& i = m_table.interfaces[index];
            return {i.iid, TKIND_DISPATCH, i.name, i.helpString};
        }
        const TypeLibCoClass& c = m_table.coclasses[index - m_table.interfaceCount];
        return {c.clsid, TKIND_COCLASS, c.name, c.helpString};
    }

    HRESULT Create(const TypeEntry& entry, ITypeInfo** info) {
        *info = new (std::nothrow) LibraryTypeInfo(this, m_table, entry);
        if (!*info) return E_OUTOFMEMORY;
        (*info)->AddRef();
        return S_OK;
    }

    const TypeLibTemplate& m_table;
    HMODULE m_module;
    bool m_counted;
};

// "path\N": resource N of path; otherwise resource 1.
void SplitResourceIndex(std::u16string& path, UINT& resourceId) {
    resourceId = 1;
    const std::size_t slash = path.rfind(u'\\');
    if (slash == std::u16string::npos || slash + 1 == path.size() || path.size() - slash > 6)
        return;
    UINT value = 0;
    for (std::size_t i = slash + 1; i < path.size(); ++i) {
        if (path[i] < u'0' || path[i] > u'9') return;
        value = value * 10 + (path[i] - u'0');
    }
    if (value == 0 || value > 0xFFFF) return;
    resourceId = value;
    path.resize(slash);
}

// The module of a path, holding a reference unless it is the program.
HMODULE OpenModule(const std::u16string& path, bool& counted) {
    counted = false;
    const HMODULE loaded = GetModuleHandleW(path.c_str());
    if (loaded && loaded == GetModuleHandleW(nullptr)) return loaded;
    const HMODULE module = LoadLibraryW(path.c_str());
    counted = module != nullptr;
    return module;
}

HRESULT LoadFromModule(const std::u16string& path, UINT resourceId, ITypeLib** typeLib) {
    bool counted = false;
    const HMODULE module = OpenModule(path, counted);
    if (!module) return TYPE_E_CANTLOADLIBRARY;
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), u"TYPELIB");
    if (!found || SizeofResource(module, found) != sizeof(TypeLibTemplate)) {
        if (counted) FreeLibrary(module);
        return TYPE_E_CANTLOADLIBRARY;
    }
    const auto* table =
        static_cast<const TypeLibTemplate*>(LockResource(LoadResource(module, found)));
    *typeLib = new (std::nothrow) LoadedTypeLib(*table, module, counted);
    if (!*typeLib) {
        if (counted) FreeLibrary(module);
        return E_OUTOFMEMORY;
    }
    (*typeLib)->AddRef();
    return S_OK;
}

}  // namespace

HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** typeLib) {
    return LoadTypeLibEx(file, REGKIND_DEFAULT, typeLib);
}

HRESULT LoadTypeLibEx(LPCOLESTR file, REGKIND kind, ITypeLib** typeLib) {
    if (!file || !typeLib) return E_INVALIDARG;
    *typeLib = nullptr;
    std::u16string path(file);
    UINT resourceId = 1;
    SplitResourceIndex(path, resourceId);
    const HRESULT hr = LoadFromModule(path, resourceId, typeLib);
    if (FAILED(hr)) return hr;
    // A library named by its full path is registered on the way, as Windows does.
    const bool fullPath = file[0] == u'/';
    if (kind == REGKIND_REGISTER || (kind == REGKIND_DEFAULT && fullPath)) {
        const HRESULT registered = RegisterTypeLib(*typeLib, file, nullptr);
        if (FAILED(registered)) {
            (*typeLib)->Release();
            *typeLib = nullptr;
            return registered;
        }
    }
    return S_OK;
}
