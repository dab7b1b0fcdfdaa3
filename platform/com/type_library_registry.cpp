// The registry side of type libraries: registering, unregistering and
// finding a registered library, with the keys type_library.h lists.
#include <optional>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/type_library.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"

namespace {

constexpr char16_t kAutomationProxy[] = u"{00020424-0000-0000-C000-000000000046}";

// Windows writes versions and locale ids in lower-case hexadecimal.
std::u16string Hex(DWORD value) {
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value);
    return text;
}

std::u16string VersionText(WORD major, WORD minor) {
    return Hex(major) + u"." + Hex(minor);
}

// "1.a" into its two numbers.
bool ParseVersion(std::u16string_view text, WORD& major, WORD& minor) {
    const std::size_t dot = text.find(u'.');
    if (dot == std::u16string_view::npos) return false;
    DWORD parts[2] = {0, 0};
    const std::u16string_view pieces[2] = {text.substr(0, dot), text.substr(dot + 1)};
    for (int i = 0; i < 2; ++i) {
        if (pieces[i].empty() || pieces[i].size() > 4) return false;
        for (char16_t c : pieces[i]) {
            const int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                              : c >= u'a' && c <= u'f' ? c - u'a' + 10
                              : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                                       : -1;
            if (digit < 0) return false;
            parts[i] = parts[i] * 16 + static_cast<DWORD>(digit);
        }
    }
    major = static_cast<WORD>(parts[0]);
    minor = static_cast<WORD>(parts[1]);
    return true;
}

const char16_t* SysKindName(SYSKIND kind) {
    switch (kind) {
        case SYS_WIN16:
            return u"win16";
        case SYS_MAC:
            return u"mac";
        case SYS_WIN64:
            return u"win64";
        default:
            return u"win32";
    }
}

std::u16string LibraryKey(REFGUID libid) {
    return u"TypeLib\\" + GuidToString(libid);
}

std::u16string InterfaceKey(REFIID iid) {
    return u"Interface\\" + GuidToString(iid);
}

class OpenKey {
public:
    ~OpenKey() {
        if (m_key) RegCloseKey(m_key);
    }
    HKEY* operator&() { return &m_key; }
    operator HKEY() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Creates the key (and says whether it is new) and sets its default value
// when one is given.
bool WriteKey(const std::u16string& path, const char16_t* value, bool* created = nullptr) {
    OpenKey key;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return false;
    }
    if (created) *created = disposition == REG_CREATED_NEW_KEY;
    if (!value) return true;
    const auto size = static_cast<DWORD>((WideLength(value) + 1) * sizeof(char16_t));
    return RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size) ==
           ERROR_SUCCESS;
}

bool WriteNamedValue(const std::u16string& path, const char16_t* name, const char16_t* value) {
    OpenKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    const auto size = static_cast<DWORD>((WideLength(value) + 1) * sizeof(char16_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), size) ==
           ERROR_SUCCESS;
}

std::optional<std::u16string> ReadKeyText(const std::u16string& path) {
    OpenKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    std::u16string text(size / sizeof(char16_t) + 1, u'\0');
    if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                         &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(WideLength(text.c_str()));
    return text;
}

std::vector<std::u16string> SubkeyNames(const std::u16string& path) {
    std::vector<std::u16string> names;
    OpenKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char16_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

// Without a help folder of its own, a library's help is beside its module.
std::u16string FolderOf(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'/');
    if (slash == std::u16string_view::npos) return std::u16string(path);
    return slash == 0 ? u"/" : std::u16string(path.substr(0, slash));
}

// Calls `visit` with the id and name of each dual interface of a library.
template <class Visit>
void ForEachDualInterface(ITypeLib* typeLib, Visit visit) {
    for (UINT i = 0; i < typeLib->GetTypeInfoCount(); ++i) {
        CComPtr<ITypeInfo> info;
        TYPEATTR* attr = nullptr;
        if (FAILED(typeLib->GetTypeInfo(i, &info)) || FAILED(info->GetTypeAttr(&attr))) continue;
        const bool dual = attr->typekind == TKIND_DISPATCH;
        const IID iid = attr->guid;
        info->ReleaseTypeAttr(attr);
        CComBSTR name;
        if (dual &&
            SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) {
            visit(iid, name ? static_cast<const char16_t*>(name) : u"");
        }
    }
}

bool RegisterInterface(REFIID iid, const char16_t* name, const TLIBATTR& attr) {
    const std::u16string key = InterfaceKey(iid);
    const std::u16string libid = GuidToString(attr.guid);
    const std::u16string version = VersionText(attr.wMajorVerNum, attr.wMinorVerNum);
    return WriteKey(key, name) && WriteKey(key + u"\\ProxyStubClsid", kAutomationProxy) &&
           WriteKey(key + u"\\ProxyStubClsid32", kAutomationProxy) &&
           WriteKey(key + u"\\TypeLib", libid.c_str()) &&
           WriteNamedValue(key + u"\\TypeLib", u"Version", version.c_str());
}

void UnregisterInterface(REFIID iid) {
    const std::u16string key = InterfaceKey(iid);
    for (const char16_t* part : {u"\\ProxyStubClsid", u"\\ProxyStubClsid32", u"\\TypeLib"})
        RegDeleteKeyW(HKEY_CLASSES_ROOT, (key + part).c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
}

bool WriteHelpFolder(const std::u16string& versionKey, LPCOLESTR fullPath, LPCOLESTR helpDir) {
    bool created = false;
    if (!WriteKey(versionKey + u"\\HELPDIR", nullptr, &created)) return false;
    // An existing folder is kept unless the caller names one.
    if (!helpDir && !created) return true;
    const std::u16string folder = helpDir ? std::u16string(helpDir) : FolderOf(fullPath);
    return WriteKey(versionKey + u"\\HELPDIR", folder.c_str());
}

// The version key of the best registered version: that major version, at
// least that minor one, the highest such.
std::optional<std::u16string> BestVersionKey(REFGUID libid, WORD major, WORD minor) {
    std::optional<std::u16string> best;
    WORD bestMinor = 0;
    for (const std::u16string& name : SubkeyNames(LibraryKey(libid))) {
        WORD foundMajor = 0, foundMinor = 0;
        if (!ParseVersion(name, foundMajor, foundMinor) || foundMajor != major ||
            foundMinor < minor || (best && foundMinor <= bestMinor)) {
            continue;
        }
        best = LibraryKey(libid) + u"\\" + name;
        bestMinor = foundMinor;
    }
    return best;
}

bool MatchesRequest(ITypeLib* typeLib, REFGUID libid, WORD major, WORD minor) {
    TLIBATTR* attr = nullptr;
    if (FAILED(typeLib->GetLibAttr(&attr))) return false;
    const bool matches =
        attr->guid == libid && attr->wMajorVerNum == major && attr->wMinorVerNum >= minor;
    typeLib->ReleaseTLibAttr(attr);
    return matches;
}

}  // namespace

HRESULT RegisterTypeLib(ITypeLib* typeLib, LPCOLESTR fullPath, LPCOLESTR helpDir) {
    if (!typeLib || !fullPath) return E_INVALIDARG;
    TLIBATTR* found = nullptr;
    if (HRESULT hr = typeLib->GetLibAttr(&found); FAILED(hr)) return hr;
    const TLIBATTR attr = *found;
    typeLib->ReleaseTLibAttr(found);
    CComBSTR help;
    typeLib->GetDocumentation(-1, nullptr, &help, nullptr, nullptr);

    const std::u16string versionKey =
        LibraryKey(attr.guid) + u"\\" + VersionText(attr.wMajorVerNum, attr.wMinorVerNum);
    const std::u16string flags = WideFromUnsigned(attr.wLibFlags);
    const std::u16string pathKey =
        versionKey + u"\\" + Hex(attr.lcid) + u"\\" + SysKindName(attr.syskind);
    bool written = WriteKey(versionKey, help ? static_cast<const char16_t*>(help) : nullptr) &&
                   WriteKey(versionKey + u"\\FLAGS", flags.c_str()) &&
                   WriteKey(pathKey, fullPath) && WriteHelpFolder(versionKey, fullPath, helpDir);
    ForEachDualInterface(typeLib, [&](REFIID iid, const char16_t* name) {
        written = written && RegisterInterface(iid, name, attr);
    });
    return written ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, SYSKIND syskind) {
    const std::u16string versionKey = LibraryKey(libid) + u"\\" + VersionText(major, minor);
    const std::u16string localeKey = versionKey + u"\\" + Hex(lcid);
    const std::u16string pathKey = localeKey + u"\\" + SysKindName(syskind);
    const std::optional<std::u16string> path = ReadKeyText(pathKey);
    {
        OpenKey writable;
        if (!path || RegOpenKeyExW(HKEY_CLASSES_ROOT, versionKey.c_str(), 0, KEY_WRITE,
                                   &writable) != ERROR_SUCCESS) {
            return TYPE_E_REGISTRYACCESS;
        }
    }
    CComPtr<ITypeLib> typeLib;
    if (FAILED(LoadTypeLibEx(path->c_str(), REGKIND_NONE, &typeLib))) return TYPE_E_INVALIDSTATE;
    ForEachDualInterface(typeLib, [](REFIID iid, const char16_t*) { UnregisterInterface(iid); });

    RegDeleteKeyW(HKEY_CLASSES_ROOT, pathKey.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, localeKey.c_str());
    // The version goes only when no other locale is registered under it.
    for (const std::u16string& name : SubkeyNames(versionKey)) {
        if (!WideEqualsNoCase(name, u"FLAGS") && !WideEqualsNoCase(name, u"HELPDIR")) return S_OK;
    }
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (versionKey + u"\\FLAGS").c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (versionKey + u"\\HELPDIR").c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, versionKey.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, LibraryKey(libid).c_str());  // fails while versions remain
    return S_OK;
}

HRESULT LoadRegTypeLib(REFGUID libid, WORD major, WORD minor, LCID lcid, ITypeLib** typeLib) {
    if (!typeLib) return E_INVALIDARG;
    *typeLib = nullptr;
    const std::optional<std::u16string> versionKey = BestVersionKey(libid, major, minor);
    if (!versionKey) return TYPE_E_LIBNOTREGISTERED;
    std::optional<std::u16string> path;
    for (const LCID locale : {lcid, lcid & 0x3FFu, 0u}) {
        path = ReadKeyText(*versionKey + u"\\" + Hex(locale) + u"\\win32");
        if (path) break;
    }
    if (!path) return TYPE_E_LIBNOTREGISTERED;
    if (HRESULT hr = LoadTypeLibEx(path->c_str(), REGKIND_NONE, typeLib); FAILED(hr)) return hr;
    if (MatchesRequest(*typeLib, libid, major, minor)) return S_OK;
    (*typeLib)->Release();
    *typeLib = nullptr;
    return TYPE_E_LIBNOTREGISTERED;
}
