// The settings store of the add-on object: every value loaded at once and
// the whole set written back on each change. A missing or unreadable key
// leaves the members as they are; a key that cannot be written loses the
// change silently once the window goes.
#include "addon/settings.h"
#include "addon/edit_html.h"
#include "addon/registry_text.h"

namespace {

void LoadDword(HKEY key, const char16_t* name, DWORD& member) {
    DWORD value = 0;
    if (ReadRegistryDword(key, name, value)) member = value;
}

void LoadText(HKEY key, const char16_t* name, std::u16string& member) {
    std::u16string value;
    if (ReadRegistryText(key, name, value)) member = value;
}

void SaveDword(HKEY key, const char16_t* name, DWORD value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void SaveText(HKEY key, const char16_t* name, const std::u16string& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
}

}  // namespace

void CEditHtml::LoadSaveSettings(bool load) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, load ? KEY_READ : KEY_WRITE, &key) !=
        ERROR_SUCCESS)
        return;
    if (load) {
        LoadDword(key, u"Show Saved Text", m_bShowSavedText);
        LoadDword(key, u"Open New Window", m_bOpenNewWindow);
        LoadDword(key, u"Open PDF New Window", m_bOpenPdfNewWindow);
        LoadDword(key, u"Double Click Close Window", m_bDblClickClose);
        LoadDword(key, u"Append URL", m_bAppendUrl);
        LoadDword(key, u"Append File", m_bAppendFile);
        LoadText(key, u"Last File Name", m_strLastFileName);
        LoadText(key, u"Default Save Folder", m_strDefaultSaveFolder);
        LoadDword(key, u"Maximum Links", m_nMaxLinks);
        LoadDword(key, u"Ask Save Login", m_bAskSaveLogin);
    } else {
        SaveDword(key, u"Show Saved Text", m_bShowSavedText);
        SaveDword(key, u"Append URL", m_bAppendUrl);
        SaveDword(key, u"Append File", m_bAppendFile);
        SaveText(key, u"Last File Name", m_strLastFileName);
        SaveText(key, u"Default Save Folder", m_strDefaultSaveFolder);
        SaveDword(key, u"Open New Window", m_bOpenNewWindow);
        SaveDword(key, u"Open PDF New Window", m_bOpenPdfNewWindow);
        SaveDword(key, u"Double Click Close Window", m_bDblClickClose);
        SaveDword(key, u"Maximum Links", m_nMaxLinks);
        SaveDword(key, u"Ask Save Login", m_bAskSaveLogin);
    }
    RegCloseKey(key);
}
