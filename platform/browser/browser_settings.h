// Where the browser keeps its settings in the registry: its version
// (written at set-up, read by add-ons), the pop-up blocker switch and the
// add-ons to load. Constants only, so add-ons can use them without the
// engine (browser_registry.h reads and writes them).
#pragma once

namespace browser {

// HKEY_LOCAL_MACHINE: the string value "Version".
inline constexpr char16_t kBrowserKey[] = u"Software\\Microsoft\\Internet Explorer";
// HKEY_CURRENT_USER: the REG_DWORD "PopupMgr", 1 while the blocker is on.
inline constexpr char16_t kNewWindowsKey[] = u"Software\\Microsoft\\Internet Explorer\\New Windows";
// HKEY_LOCAL_MACHINE: one subkey, named by its class id, per add-on.
inline constexpr char16_t kAddOnsKey[] =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";

}  // namespace browser
