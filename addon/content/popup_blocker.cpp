#include "addon/content/popup_blocker.h"

#include "addon/registry_text.h"
#include "platform/browser/browser_settings.h"
#include "platform/win/registry.h"

namespace {

constexpr char16_t kPopupValue[] = u"PopupMgr";

HKEY OpenNewWindowsKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, browser::kNewWindowsKey, 0, KEY_READ | KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

bool WriteDword(HKEY key, DWORD value) {
    return RegSetValueExW(key, kPopupValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

}  // namespace

PopupBlockerSwitch::PopupBlockerSwitch() {
    HKEY key = OpenNewWindowsKey();
    if (!key) return;
    DWORD value = 0;
    if (ReadRegistryDword(key, kPopupValue, value) && WriteDword(key, 0)) {
        m_dwSaved = value;
        m_bRestore = true;
    }
    RegCloseKey(key);
}

void PopupBlockerSwitch::Restore() {
    if (!m_bRestore) return;
    m_bRestore = false;
    HKEY key = OpenNewWindowsKey();
    if (!key) return;
    DWORD value = 0;
    if (ReadRegistryDword(key, kPopupValue, value) && value == 0) WriteDword(key, m_dwSaved);
    RegCloseKey(key);
}
