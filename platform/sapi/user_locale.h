// The user's language as the locale environment gives it (LC_ALL, then
// LC_MESSAGES, then LANG).
#pragma once

#include <string>

#include "platform/sapi/sapi.h"

// The user interface language id; 0x409 (US English) when the locale is
// unset, "C"/"POSIX" or not known.
LANGID GetUserDefaultUILanguage();

// The locale as a lower-case language tag ("de_DE.UTF-8" -> "de-de"); "en-us"
// when unset or "C"/"POSIX".
std::string UserLanguageTag();
