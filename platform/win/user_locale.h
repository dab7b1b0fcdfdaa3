// The user's language as the locale environment gives it (LC_ALL, then
// LC_MESSAGES, then LANG). Windows callers also reach the two language
// calls through GetProcAddress on "kernel32.dll" (see module.h).
#pragma once

#include <string>

#include "platform/win/win_types.h"

// The user interface language id; 0x409 (US English) when the locale is
// unset, "C"/"POSIX" or not known.
LANGID GetUserDefaultUILanguage();
// The user's default language id, by the same rules.
LANGID GetUserDefaultLangID();

// The locale as a lower-case language tag ("de_DE.UTF-8" -> "de-de"); "en-us"
// when unset or "C"/"POSIX".
std::string UserLanguageTag();
