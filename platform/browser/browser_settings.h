// The browser's settings in the registry: its version (written at set-up,
// read by add-ons), the pop-up blocker switch and the add-ons to load.
#pragma once

#include <string_view>
#include <vector>

#include "platform/com/guid.h"
#include "platform/win/win_types.h"

namespace browser {

inline constexpr char16_t kBrowserKey[] = u"Software\\Microsoft\\Internet Explorer";
inline constexpr char16_t kNewWindowsKey[] = u"Software\\Microsoft\\Internet Explorer\\New Windows";
inline constexpr char16_t kAddOnsKey[] =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";

// "PopupMgr" under HKEY_CURRENT_USER ...\New Windows is a REG_DWORD of 1.
bool PopupBlockerOn();

// The class ids registered under HKEY_LOCAL_MACHINE ...\Browser Helper
// Objects, in the order the key lists them; malformed names are skipped.
std::vector<CLSID> RegisteredAddOns();

}  // namespace browser
