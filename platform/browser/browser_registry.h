// The browser's settings as it reads and writes them (browser_settings.h
// says where they are).
#pragma once

#include <string_view>
#include <vector>

#include "platform/browser/browser_settings.h"
#include "platform/com/guid.h"
#include "platform/win/win_types.h"

namespace browser {

// "PopupMgr" under HKEY_CURRENT_USER ...\New Windows is a REG_DWORD of 1.
bool PopupBlockerOn();

// The class ids registered under HKEY_LOCAL_MACHINE ...\Browser Helper
// Objects, in the order the key lists them; malformed names are skipped.
std::vector<CLSID> RegisteredAddOns();

}  // namespace browser
