#include "addon/farrow_module.h"

#include "platform/win/file_system.h"
#include "platform/win/last_error.h"
#include "platform/win/module.h"
#include "platform/win/text.h"

CFarrowModule _AtlModule;

namespace {

// The whole path of a module's file, however long it is.
std::u16string ModulePath(HMODULE module) {
    std::u16string path(260, u'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = GetModuleFileNameW(module, path.data(), size);
        if (length == 0) return {};
        if (length < size) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool FileExists(const std::u16string& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

BOOL CFarrowModule::DllMain(DWORD reason, void* reserved) {
    if (reason != DLL_PROCESS_ATTACH) return CAtlDllModuleT::DllMain(reason, reserved);
    if (!RecordPaths(ModulePath(nullptr), ModulePath(m_hInstance))) return FALSE;
    return CAtlDllModuleT::DllMain(reason, reserved);
}

bool CFarrowModule::RecordPaths(const std::u16string& processPath,
                                const std::u16string& libraryPath) {
    // The add-on has no business in the desktop shell.
    if (WideLower(processPath).find(u"explorer.exe") != std::u16string::npos) return false;
    const std::size_t slash = libraryPath.rfind(u'/');
    m_strAddonDir =
        slash == std::u16string::npos ? std::u16string() : libraryPath.substr(0, slash + 1);
    const std::u16string database = m_strAddonDir + kLoginDatabaseName;
    const std::u16string tool = m_strAddonDir + kLoginToolName;
    m_strDbPath = FileExists(database) ? database : std::u16string();
    m_strToolPath = FileExists(tool) ? tool : std::u16string();
    return true;
}
