// regsvr32 [/u] [/s] LIBRARY: loads a COM library and calls its
// DllRegisterServer (or DllUnregisterServer with /u). Exit status as on
// Windows: 0 success, 1 bad arguments, 3 the library does not load, 4 the
// entry point is missing, 5 the call failed.
#include <cstdio>
#include <string>

#include "platform/com/class_factory.h"
#include "platform/win/last_error.h"
#include "platform/win/module.h"
#include "platform/win/text.h"

namespace {

using RegisterFunction = HRESULT (*)();

bool IsSwitch(const std::string& arg, char letter) {
    return arg.size() == 2 && (arg[0] == '/' || arg[0] == '-') &&
           (arg[1] == letter || arg[1] == letter - 'a' + 'A');
}

}  // namespace

int main(int argc, char** argv) {
    bool unregister = false;
    bool silent = false;
    std::string library;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (IsSwitch(arg, 'u'))
            unregister = true;
        else if (IsSwitch(arg, 's'))
            silent = true;
        else if (library.empty())
            library = arg;
        else
            library.clear(), i = argc;  // more than one library
    }
    if (library.empty()) {
        std::fprintf(stderr, "Usage: regsvr32 [/u] [/s] LIBRARY\n");
        return 1;
    }
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    CoInitialize(nullptr);
    HMODULE module = LoadLibraryW(Utf8ToUtf16(library).c_str());
    if (!module) {
        std::fprintf(stderr, "The module \"%s\" failed to load.\nError code: %u\n", library.c_str(),
                     static_cast<unsigned>(GetLastError()));
        return 3;
    }
    auto function = reinterpret_cast<RegisterFunction>(GetProcAddress(module, entry));
    if (!function) {
        std::fprintf(stderr, "The entry-point %s was not found in \"%s\".\n", entry,
                     library.c_str());
        return 4;
    }
    const HRESULT hr = function();
    if (FAILED(hr)) {
        std::fprintf(stderr, "%s in \"%s\" failed.\nReturn code was: 0x%08X\n", entry,
                     library.c_str(), static_cast<unsigned>(hr));
        return 5;
    }
    if (!silent) std::printf("%s in \"%s\" succeeded.\n", entry, library.c_str());
    CoUninitialize();
    return 0;
}
