// A library that accepts every process, exports functions and has its own
// resources, version data included (shaped like the add-on's). At attach it records what an add-on
// library looks up: its own handle, its file, and whether "login.dat" lies beside it.
#include <string>

#include "platform/win/file_system.h"
#include "platform/win/module.h"
#include "platform/win/resource.h"
#include "platform/win/version_resource.h"
#include "tests/platform/win/libraries/test_library_events.h"

namespace {

HMODULE g_instance = nullptr;
HMODULE g_byAddress = nullptr;
BOOL g_loginDatBeside = FALSE;

BOOL LoginDatBeside(HMODULE self) {
    char16_t path[MAX_PATH];
    if (GetModuleFileNameW(self, path, MAX_PATH) == 0) return FALSE;
    std::u16string folder(path);
    folder.resize(folder.rfind(u'/') + 1);
    return GetFileAttributesW((folder + u"login.dat").c_str()) != INVALID_FILE_ATTRIBUTES;
}

constexpr char kScript[] = "HKCR { library script }";
constexpr char16_t kStrings[] = u"library strings";
constexpr VersionString kVersionStrings[] = {
    {u"FileDescription", u"Kestro"},
    {u"ProductName", u"Kestro"},
    {u"FileVersion", u"1.0.0.0"},
    {u"ProductVersion", u"1.0.0.0"},
    {u"InternalName", u"Farrow.dll"},
    {u"OriginalFilename", u"Farrow.dll"},
    {u"Comments", u""},
};
constexpr VersionResource kVersion = Version({3, 2, 0, 0}, {1, 0, 0, 0}, kVersionStrings, VFT_DLL);

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(u"REGISTRY", 101, kScript),
    ResourceEntry(RT_STRING_ID, 7, kStrings),
    ResourceEntry(RT_VERSION_ID, 1, kVersion),
};

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)

extern "C" BOOL DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    ReportLibraryEvent("accept", reason);
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        g_byAddress = ModuleFromAddress(reinterpret_cast<const void*>(&LoginDatBeside));
        g_loginDatBeside = LoginDatBeside(instance);
    }
    return TRUE;
}

extern "C" HMODULE AcceptInstance() {
    return g_instance;
}
extern "C" HMODULE AcceptInstanceByAddress() {
    return g_byAddress;
}
extern "C" BOOL AcceptFoundLoginDat() {
    return g_loginDatBeside;
}
extern "C" int AcceptAdd(int a, int b) {
    return a + b;
}
