// Test libraries report their DllMain calls to the program that loaded
// them, when it defines this function (it is looked up as a weak symbol).
#pragma once

#include "platform/win/win_types.h"

extern "C" __attribute__((weak)) void TestLibraryEvent(const char* library, DWORD reason);

inline void ReportLibraryEvent(const char* library, DWORD reason) {
    if (TestLibraryEvent) TestLibraryEvent(library, reason);
}
