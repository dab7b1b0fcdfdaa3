#include "platform/browser/browser_registry.h"

#include "platform/browser/browser_session.h"
#include "platform/win/registry.h"

namespace browser {

LONG WriteBrowserVersion(std::u16string_view version) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kBrowserKey, 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return result;
    const std::u16string text(version);
    result = RegSetValueExW(key, u"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
    return result;
}

bool PopupBlockerOn() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kNewWindowsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, value = 0, size = sizeof(value);
    const LONG result =
        RegQueryValueExW(key, u"PopupMgr", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && value == 1;
}

std::vector<CLSID> RegisteredAddOns() {
    std::vector<CLSID> classes;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAddOnsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return classes;
    for (DWORD index = 0;; ++index) {
        char16_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        CLSID clsid{};
        if (SUCCEEDED(CLSIDFromString(name, &clsid))) classes.push_back(clsid);
    }
    RegCloseKey(key);
    return classes;
}

}  // namespace browser
