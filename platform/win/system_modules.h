// The system libraries every process has loaded, as far as callers look
// their functions up by name: a library name and its exports. The module
// table (module.h) serves them; there is no file behind them.
#pragma once

#include <cstddef>

#include "platform/win/module.h"

struct SystemExport {
    const char* name;
    FARPROC function;
};

struct SystemModule {
    const char16_t* name;  // as GetModuleHandleW finds it: "kernel32.dll"
    const SystemExport* exports;
    std::size_t exportCount;
};

// Every system module.
const SystemModule* SystemModules(std::size_t& count);
// The named export of a system module, or null.
FARPROC SystemModuleExport(const SystemModule& module, const char* name);
