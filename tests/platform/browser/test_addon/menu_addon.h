// The test add-on's identity and the registry value that makes it decline
// context menus, shared by the add-on and its tests.
#pragma once

#include "platform/com/guid.h"

inline constexpr CLSID CLSID_MenuAddOn = MakeGuid("5E0C7A22-3B44-4D8E-9A61-0F2B7C9D1E41");
inline constexpr char16_t kMenuAddOnClassKey[] = u"{5E0C7A22-3B44-4D8E-9A61-0F2B7C9D1E41}";
// HKEY_CURRENT_USER: "Decline" = 1 makes ShowContextMenu answer S_FALSE.
inline constexpr char16_t kMenuAddOnSettingsKey[] = u"Software\\Kestro\\Tests\\MenuAddOn";
inline constexpr unsigned kSayHelloCommand = 40001;
