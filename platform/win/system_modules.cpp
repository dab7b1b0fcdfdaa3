#include "platform/win/system_modules.h"

#include <cstring>
#include <iterator>

#include "platform/win/user_locale.h"

namespace {

template <typename Function>
FARPROC Export(Function* function) {
    return reinterpret_cast<FARPROC>(function);
}

// Only what callers look up at run time; everything else they call directly.
const SystemExport kKernel32Exports[] = {
    {"GetUserDefaultLangID", Export(&GetUserDefaultLangID)},
    {"GetUserDefaultUILanguage", Export(&GetUserDefaultUILanguage)},
};

const SystemModule kSystemModules[] = {
    {u"kernel32.dll", kKernel32Exports, std::size(kKernel32Exports)},
};

}  // namespace

const SystemModule* SystemModules(std::size_t& count) {
    count = std::size(kSystemModules);
    return kSystemModules;
}

FARPROC SystemModuleExport(const SystemModule& module, const char* name) {
    for (std::size_t i = 0; i < module.exportCount; ++i) {
        // Export names match exactly, case included.
        if (std::strcmp(module.exports[i].name, name) == 0) return module.exports[i].function;
    }
    return nullptr;
}
