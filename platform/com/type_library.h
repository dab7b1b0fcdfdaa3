// Type libraries. A module's type library is a constant table kept as its
// resource u"TYPELIB" 1, beside its other resources:
//
//     constexpr TypeLibImport kImports[] = {kStdOleImport};
//     constexpr TypeLibInterface kInterfaces[] = {
//         {IID_IEditHtml, u"IEditHtml", u"IEditHtml Interface"},
//         {IID_IDocEventSink, u"IDocEventSink", u"IDocEventSink Interface"}};
//     constexpr TypeLibCoClass kClasses[] = {
//         {CLSID_EditHtml, u"EditHtml", u"EditHtml Class", IID_IEditHtml},
//         {CLSID_DocEventSink, u"DocEventSink", u"DocEventSink Class", IID_IDocEventSink}};
//     constexpr TypeLibTemplate kTypeLib = TypeLib(LIBID_FarrowLib, 1, 0, u"FarrowLib",
//         u"Farrow 1.0 Type Library", kImports, kInterfaces, kClasses);
//
//     ResourceEntry(u"TYPELIB", 1, kTypeLib)
//
// Its interfaces are dual, derived from IDispatch, with no members of their
// own. The library's type information objects come in table order: the
// interfaces, then the coclasses.
//
// Registration writes what Windows writes, under HKEY_CLASSES_ROOT
// (versions and locale ids in hexadecimal, as Windows writes them):
//
//   TypeLib\{LIBID}\1.0                 (default) = help string
//   TypeLib\{LIBID}\1.0\FLAGS           (default) = "0"
//   TypeLib\{LIBID}\1.0\0\win32         (default) = the module path
//   TypeLib\{LIBID}\1.0\HELPDIR         (default) = the help folder
//   Interface\{IID}                     (default) = interface name
//   Interface\{IID}\ProxyStubClsid      (default) = {00020424-0000-0000-C000-000000000046}
//   Interface\{IID}\ProxyStubClsid32    (default) = the same
//   Interface\{IID}\TypeLib             (default) = {LIBID}, "Version" = "1.0"
#pragma once

#include <cstddef>

#include "platform/com/dispatch.h"

struct TypeLibImport {
    GUID libid;
    WORD major;
    WORD minor;
    const char16_t* name;
};

// The standard OLE library every automation library imports.
inline constexpr TypeLibImport kStdOleImport{MakeGuid("00020430-0000-0000-C000-000000000046"), 2, 0,
                                             u"stdole"};

struct TypeLibInterface {
    IID iid;
    const char16_t* name;
    const char16_t* helpString;
};

struct TypeLibCoClass {
    CLSID clsid;
    const char16_t* name;
    const char16_t* helpString;
    IID defaultInterface;
};

struct TypeLibTemplate {
    GUID libid;
    WORD major;
    WORD minor;
    const char16_t* name;
    const char16_t* helpString;
    const TypeLibImport* imports;
    std::size_t importCount;
    const TypeLibInterface* interfaces;
    std::size_t interfaceCount;
    const TypeLibCoClass* coclasses;
    std::size_t coclassCount;
    LCID lcid = 0;
};

template <std::size_t I, std::size_t N, std::size_t C>
constexpr TypeLibTemplate TypeLib(const GUID& libid, WORD major, WORD minor, const char16_t* name,
                                  const char16_t* helpString, const TypeLibImport (&imports)[I],
                                  const TypeLibInterface (&interfaces)[N],
                                  const TypeLibCoClass (&coclasses)[C]) {
    return {libid, major, minor, name, helpString, imports, I, interfaces, N, coclasses, C};
}

enum SYSKIND { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 };
enum REGKIND { REGKIND_DEFAULT = 0, REGKIND_REGISTER = 1, REGKIND_NONE = 2 };

struct TLIBATTR {
    GUID guid;
    LCID lcid;
    SYSKIND syskind;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
    WORD wLibFlags;
};

constexpr MEMBERID MEMBERID_NIL = DISPID_UNKNOWN;
constexpr WORD TYPEFLAG_FCANCREATE = 0x2;

// A loaded type library; it keeps its module loaded while it lives.
struct ITypeLib : IUnknown {
    STDMETHOD_(UINT, GetTypeInfoCount)() = 0;
    // TYPE_E_ELEMENTNOTFOUND past the last one.
    STDMETHOD(GetTypeInfo)(UINT index, ITypeInfo** info) = 0;
    // By interface or class id; TYPE_E_ELEMENTNOTFOUND for any other.
    STDMETHOD(GetTypeInfoOfGuid)(REFGUID guid, ITypeInfo** info) = 0;
    STDMETHOD(GetLibAttr)(TLIBATTR** attr) = 0;
    // Index -1 is the library itself; any name pointer may be null.
    STDMETHOD(GetDocumentation)
    (INT index, BSTR* name, BSTR* docString, DWORD* helpContext, BSTR* helpFile) = 0;
    STDMETHOD_(void, ReleaseTLibAttr)(TLIBATTR* attr) = 0;
};
KESTRO_DEFINE_IID(ITypeLib, "00020402-0000-0000-C000-000000000046");

// The TYPELIB resource of a module. The file is the program's or a loaded
// library's path, or a library that LoadLibraryW can load; "\N" after it
// names resource N instead of 1. E_INVALIDARG for a null argument,
// TYPE_E_CANTLOADLIBRARY when the module cannot be loaded or has no such
// resource. LoadTypeLib (REGKIND_DEFAULT) also registers the library when
// the path is a full one; a failing registration fails the call.
HRESULT LoadTypeLib(LPCOLESTR file, ITypeLib** typeLib);
HRESULT LoadTypeLibEx(LPCOLESTR file, REGKIND kind, ITypeLib** typeLib);
// The registered library of that major version with at least that minor
// one (the highest such), for the locale, else its primary language, else
// locale 0. TYPE_E_LIBNOTREGISTERED when none is registered; the loading
// error when its module cannot be loaded.
HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, ITypeLib** typeLib);
// helpDir null: the folder of fullPath, when the version key is new.
// E_INVALIDARG for a null library or path; TYPE_E_REGISTRYACCESS when the
// registry cannot be written.
HRESULT RegisterTypeLib(ITypeLib* typeLib, LPCOLESTR fullPath, LPCOLESTR helpDir);
// Removes the interface keys of the registered library, its locale key
// and, when nothing else is left, its version key and its library key.
// TYPE_E_REGISTRYACCESS when that version and locale are not registered or
// the registry cannot be changed; TYPE_E_INVALIDSTATE when the registered
// module no longer loads.
HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, SYSKIND syskind);
