// The version resource of the program: file and product version and the
// internal file name, as a version-information block carries them.
#pragma once

#include "platform/win/win_types.h"

struct VersionInfo {
    WORD fileVersion[4];
    WORD productVersion[4];
    const char16_t* internalName;
    const char16_t* productName;
};
