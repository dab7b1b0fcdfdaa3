// A library that refuses to load into a process whose executable path
// contains the word named by KESTRO_TEST_REFUSED_WORD, in any letter case,
// the way the add-on refuses the Windows shell. It has no resources.
#include <cstdlib>
#include <string>

#include "platform/win/module.h"
#include "platform/win/text.h"
#include "tests/platform/win/libraries/test_library_events.h"

extern "C" BOOL DllMain(HINSTANCE, DWORD reason, LPVOID) {
    ReportLibraryEvent("refuse", reason);
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char16_t path[MAX_PATH];
    if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) return FALSE;
    const char* word = std::getenv("KESTRO_TEST_REFUSED_WORD");
    if (!word || !*word) return TRUE;
    return WideLower(path).find(WideLower(Utf8ToUtf16(word))) == std::u16string::npos;
}
