// The library's module object: the ATL module state (lock count, object
// map) and the three paths recorded once when the library is loaded into a
// process.
#pragma once

#include <string>

#include "addon/farrow_interfaces.h"
#include "platform/com/atl_module.h"

class CFarrowModule : public CAtlDllModuleT<CFarrowModule> {
public:
    DECLARE_REGISTRY_APPID_RESOURCEID(101, kFarrowAppId)

    // Process attach: refuses a process whose executable path holds
    // "explorer.exe" in any letter case, then records the paths; every
    // other reason succeeds at once.
    BOOL DllMain(DWORD reason, void* reserved);
    // The attach work on given paths (the process's and this library's).
    bool RecordPaths(const std::u16string& processPath, const std::u16string& libraryPath);

    std::u16string m_strDbPath;    // login.dat beside the library, when it was there
    std::u16string m_strAddonDir;  // the library's folder, with its trailing separator
    std::u16string m_strToolPath;  // Quillet beside the library, when it was there
};

extern CFarrowModule _AtlModule;

// The names of the files the library looks for beside itself.
inline constexpr char16_t kLoginDatabaseName[] = u"login.dat";
inline constexpr char16_t kLoginToolName[] = u"Quillet";
inline constexpr char16_t kHelpFileName[] = u"KestroHelp.htm";
