// The library as a loader and regsvr32 see it: where it refuses to load,
// what it records beside itself, its class objects, and what registration
// writes and removes.
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>

#include "addon/farrow_module.h"
#include "addon/settings.h"
#include "platform/com/class_factory.h"
#include "platform/win/module.h"
#include "platform/win/version_resource.h"
#include "tests/addon/addon_test_support.h"

namespace addon_test {

namespace {

using testing_support::TempDir;

int RunCommand(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string CopyProgram(const std::string& from, const std::string& to) {
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return to;
}

// A value under a root, as text ("" for the default value); "absent" when
// the key or value is not there.
std::u16string Value(HKEY root, const std::u16string& key, const char16_t* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return u"absent";
    DWORD type = 0, size = 0;
    std::u16string text = u"absent";
    if (RegQueryValueExW(opened, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size);
        RegQueryValueExW(opened, name, nullptr, &type, data.data(), &size);
        if (type == REG_DWORD)
            text = WideFromUnsigned(*reinterpret_cast<DWORD*>(data.data()));
        else
            text = std::u16string(reinterpret_cast<const char16_t*>(data.data()),
                                  size / 2 - (size ? 1 : 0));
    }
    RegCloseKey(opened);
    return text;
}

bool KeyExists(HKEY root, const std::u16string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

const std::u16string kBho =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
const std::u16string kEditHtmlKey = u"CLSID\\{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}";
const std::u16string kSinkKey = u"CLSID\\{6A58E7E0-123B-43D5-8704-1FD003699EB9}";
const std::u16string kAppIdKey = u"AppID\\{5557D750-8408-4AD3-8A63-D0D4F517706B}";
const std::u16string kTypeLibKey = u"TypeLib\\{E3C9008A-0B71-4BE5-BD31-9B14BA566F29}";

class FarrowLibrary : public ::testing::Test {
protected:
    std::string Regsvr32(const std::string& arguments) const {
        return std::string(KESTRO_REGSVR32) + " /s " + arguments;
    }
};

TEST_F(FarrowLibrary, RefusesToLoadIntoTheDesktopShell) {
    TempDir dir;
    for (const std::string& program :
         {dir.File("EXPLORER.EXE"), dir.File("Tools.Explorer.exe/run")})
        EXPECT_EQ(3, RunCommand(CopyProgram(KESTRO_REGSVR32, program) + " /s " + KESTRO_FARROW))
            << program;
    EXPECT_EQ(0, RunCommand(CopyProgram(KESTRO_REGSVR32, dir.File("explore/regsvr32")) + " /s " +
                            KESTRO_FARROW));
}

TEST_F(FarrowLibrary, RecordsTheFilesBesideItOnlyWhenTheyAreThere) {
    TempDir dir;
    const std::u16string folder = Utf8ToUtf16(dir.path()) + u"/";
    CFarrowModule module;
    ASSERT_TRUE(module.RecordPaths(u"/usr/bin/kestro", folder + u"Farrow.so"));
    EXPECT_EQ(folder, module.m_strAddonDir);
    EXPECT_EQ(u"", module.m_strDbPath);
    EXPECT_EQ(u"", module.m_strToolPath);

    testing_support::WriteFile(dir.File("login.dat"), "");
    testing_support::WriteFile(dir.File("Quillet"), "");
    ASSERT_TRUE(module.RecordPaths(u"/usr/bin/kestro", folder + u"Farrow.so"));
    EXPECT_EQ(folder + u"login.dat", module.m_strDbPath);
    EXPECT_EQ(folder + u"Quillet", module.m_strToolPath);

    // A folder far deeper than the old path limit is taken whole.
    const std::u16string deep = folder + std::u16string(300, u'd') + u"/";
    ASSERT_TRUE(module.RecordPaths(u"/usr/bin/kestro", deep + u"Farrow.so"));
    EXPECT_EQ(deep, module.m_strAddonDir);
    EXPECT_FALSE(module.RecordPaths(u"/opt/Windows/ExPlOrEr.ExE", folder + u"Farrow.so"));
}

TEST_F(FarrowLibrary, ServesItsTwoClassesAndUnloadsOnlyWhenNothingIsLeft) {
    CoInitialize(nullptr);
    HMODULE library = LoadLibraryW(Utf8ToUtf16(KESTRO_FARROW).c_str());
    ASSERT_NE(nullptr, library);
    using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
    using CanUnloadNow = HRESULT (*)();
    auto getClassObject =
        reinterpret_cast<GetClassObject>(GetProcAddress(library, "DllGetClassObject"));
    auto canUnloadNow = reinterpret_cast<CanUnloadNow>(GetProcAddress(library, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnloadNow);
    EXPECT_EQ(S_OK, canUnloadNow());
    {
        CComPtr<IClassFactory> editHtml, sink, none;
        ASSERT_EQ(S_OK, getClassObject(CLSID_EditHtml, IID_IClassFactory,
                                       reinterpret_cast<void**>(&editHtml)));
        ASSERT_EQ(S_OK, getClassObject(CLSID_DocEventSink, IID_IClassFactory,
                                       reinterpret_cast<void**>(&sink)));
        EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IEditHtml, IID_IClassFactory,
                                                            reinterpret_cast<void**>(&none)));
        CComPtr<IObjectWithSite> object;
        ASSERT_EQ(S_OK, editHtml->CreateInstance(nullptr, IID_IObjectWithSite,
                                                 reinterpret_cast<void**>(&object)));
        editHtml.Release();
        sink.Release();
        EXPECT_EQ(S_FALSE, canUnloadNow());
    }
    EXPECT_EQ(S_OK, canUnloadNow());
    FreeLibrary(library);
    CoUninitialize();
}

TEST_F(FarrowLibrary, CarriesItsVersionData) {
    const std::u16string path = Utf8ToUtf16(KESTRO_FARROW);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(0x00030002u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    for (const auto& [name, expected] : {std::pair{u"FileDescription", u"Kestro"},
                                         {u"ProductName", u"Kestro"},
                                         {u"FileVersion", u"1.0.0.0"},
                                         {u"ProductVersion", u"1.0.0.0"},
                                         {u"InternalName", u"Farrow.dll"},
                                         {u"OriginalFilename", u"Farrow.dll"}}) {
        const std::u16string query = std::u16string(u"\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), &value, &length))
            << Utf16ToUtf8(name);
        EXPECT_EQ(std::u16string(expected), static_cast<const char16_t*>(value));
    }
}

TEST_F(FarrowLibrary, RegistrationWritesTheClassesTheAddOnKeyAndItsSettings) {
    ASSERT_EQ(0, RunCommand(Regsvr32(KESTRO_FARROW)));
    const std::u16string module = Utf8ToUtf16(std::filesystem::canonical(KESTRO_FARROW).string());
    const struct {
        HKEY root;
        std::u16string key;
        const char16_t* name;
        std::u16string value;
    } expected[] = {
        {HKEY_CLASSES_ROOT, kAppIdKey, nullptr, u"Farrow"},
        {HKEY_CLASSES_ROOT, u"AppID\\Farrow.DLL", u"AppID",
         u"{5557D750-8408-4AD3-8A63-D0D4F517706B}"},
        {HKEY_CLASSES_ROOT, u"Farrow.EditHtml.1", nullptr, u"EditHtml Class"},
        {HKEY_CLASSES_ROOT, u"Farrow.EditHtml.1\\CLSID", nullptr,
         u"{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}"},
        {HKEY_CLASSES_ROOT, u"Farrow.EditHtml", nullptr, u"EditHtml Class"},
        {HKEY_CLASSES_ROOT, u"Farrow.EditHtml\\CurVer", nullptr, u"Farrow.EditHtml.1"},
        {HKEY_CLASSES_ROOT, kEditHtmlKey, nullptr, u"EditHtml Class"},
        {HKEY_CLASSES_ROOT, kEditHtmlKey, u"AppID", u"{5557D750-8408-4AD3-8A63-D0D4F517706B}"},
        {HKEY_CLASSES_ROOT, kEditHtmlKey + u"\\ProgID", nullptr, u"Farrow.EditHtml.1"},
        {HKEY_CLASSES_ROOT, kEditHtmlKey + u"\\VersionIndependentProgID", nullptr,
         u"Farrow.EditHtml"},
        {HKEY_CLASSES_ROOT, kEditHtmlKey + u"\\InprocServer32", nullptr, module},
        {HKEY_CLASSES_ROOT, kEditHtmlKey + u"\\InprocServer32", u"ThreadingModel", u"Apartment"},
        {HKEY_CLASSES_ROOT, kEditHtmlKey + u"\\TypeLib", nullptr,
         u"{E3C9008A-0B71-4BE5-BD31-9B14BA566F29}"},
        {HKEY_CLASSES_ROOT, u"Farrow.DocEventSink.1\\CLSID", nullptr,
         u"{6A58E7E0-123B-43D5-8704-1FD003699EB9}"},
        {HKEY_CLASSES_ROOT, u"Farrow.DocEventSink\\CurVer", nullptr, u"Farrow.DocEventSink.1"},
        {HKEY_CLASSES_ROOT, kSinkKey, nullptr, u"DocEventSink Class"},
        {HKEY_CLASSES_ROOT, kSinkKey + u"\\InprocServer32", nullptr, module},
        {HKEY_CLASSES_ROOT, kSinkKey + u"\\ProgID", nullptr, u"Farrow.DocEventSink.1"},
        {HKEY_CLASSES_ROOT, kTypeLibKey + u"\\1.0", nullptr, u"Farrow 1.0 Type Library"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, nullptr, u"Kestro"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Show Saved Text", u"1"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Append URL", u"1"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Append File", u"0"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Record URLs", u"0"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Open New Window", u"0"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Open PDF New Window", u"0"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Double Click Close Window", u"1"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Last File Name", u""},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Maximum Links", u"15"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Ask Save Login", u"1"},
        {HKEY_LOCAL_MACHINE, kSettingsKey, u"Default Save Folder", u"absent"},
    };
    for (const auto& e : expected)
        EXPECT_EQ(e.value, Value(e.root, e.key, e.name))
            << Utf16ToUtf8(e.key) << " " << (e.name ? Utf16ToUtf8(e.name) : "@");
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kEditHtmlKey + u"\\Programmable"));
}

TEST_F(FarrowLibrary, UnregistrationRemovesItsKeysAndKeepsTheSharedOnes) {
    ASSERT_EQ(0, RunCommand(Regsvr32(KESTRO_FARROW)));
    ASSERT_EQ(0, RunCommand(Regsvr32(std::string("/u ") + KESTRO_FARROW)));
    for (const std::u16string& gone :
         {kAppIdKey, std::u16string(u"AppID\\Farrow.DLL"), std::u16string(u"Farrow.EditHtml.1"),
          std::u16string(u"Farrow.EditHtml"), std::u16string(u"Farrow.DocEventSink"), kEditHtmlKey,
          kSinkKey, kTypeLibKey})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, gone)) << Utf16ToUtf8(gone);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, u"AppID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, u"CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kBho));
}

TEST_F(FarrowLibrary, RegisteringAgainResetsTheSettingsButKeepsTheSaveFolder) {
    ASSERT_EQ(0, RunCommand(Regsvr32(KESTRO_FARROW)));
    SetSettingText(u"Default Save Folder", u"/home/ann/notes");
    SetSetting(u"Maximum Links", 40);
    ASSERT_EQ(0, RunCommand(Regsvr32(KESTRO_FARROW)));
    EXPECT_EQ(u"/home/ann/notes", Value(HKEY_LOCAL_MACHINE, kSettingsKey, u"Default Save Folder"));
    EXPECT_EQ(u"15", Value(HKEY_LOCAL_MACHINE, kSettingsKey, u"Maximum Links"));
}

}  // namespace

}  // namespace addon_test
