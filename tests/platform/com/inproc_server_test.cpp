// An in-process server registered with regsvr32 and created through the
// registry; the registrar's rules as registration and unregistration show
// them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "platform/com/class_factory.h"
#include "platform/com/registrar.h"
#include "platform/win/module.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"
#include "tests/platform/com/test_server/gadget.h"
#include "tests/support/temp_home.h"

namespace {

using testing_support::TestBinaryDirectory;

std::string ServerPath() {
    return TestBinaryDirectory() + "/kestro_test_gadget.so";
}
std::string Regsvr32Path() {
    return TestBinaryDirectory() + "/../bin/regsvr32";
}

int RunCommand(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool KeyExists(HKEY root, const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::u16string ReadString(HKEY root, const std::u16string& path, const char16_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return u"<no key>";
    char16_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(char16_t), type = 0;
    const LONG rc =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return u"<no value>";
    return type == REG_SZ ? std::u16string(buffer) : u"<not text>";
}

DWORD ReadDword(HKEY root, const std::u16string& path, const char16_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0xDEAD;
    DWORD value = 0, size = sizeof value, type = 0;
    RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return type == REG_DWORD ? value : 0xDEAD;
}

const std::u16string kClassKey = u"CLSID\\" + GuidToString(CLSID_Gadget);
const std::u16string kSettingsKey = u"SOFTWARE\\Kestro\\Tests\\Gadget";

class InprocServer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override { CoUninitialize(); }
    void Register() { ASSERT_EQ(RunCommand(Regsvr32Path() + " /s " + ServerPath()), 0); }
};

TEST_F(InprocServer, RegistrationWritesTheScripts) {
    Register();
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey, nullptr), u"Gadget Class");
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey + u"\\InprocServer32", nullptr),
              Utf8ToUtf16(ServerPath()));
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey + u"\\InprocServer32", u"ThreadingModel"),
              u"Apartment");
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, kClassKey, u"AppID"), kGadgetAppId);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + u"\\Programmable"));
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u"AppID\\Gadget.DLL", u"AppID"), kGadgetAppId);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, u"AppID\\" + std::u16string(kGadgetAppId), nullptr),
              u"Gadget");
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"Maximum Links"), 15u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, u"Last File Name"), u"");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, u"Percent"), u"100%");
}

TEST_F(InprocServer, CreatedThroughTheRegistryAndCountsItsLocks) {
    Register();
    CComPtr<IGadget> gadget;
    ASSERT_EQ(gadget.CoCreateInstance(CLSID_Gadget), S_OK);
    LONG answer = 0;
    EXPECT_EQ(gadget->Answer(&answer), S_OK);
    EXPECT_EQ(answer, 42);

    HMODULE server = GetModuleHandleW(u"kestro_test_gadget.so");
    ASSERT_NE(server, nullptr);
    auto canUnload = reinterpret_cast<HRESULT (*)()>(GetProcAddress(server, "DllCanUnloadNow"));
    ASSERT_NE(canUnload, nullptr);
    EXPECT_EQ(canUnload(), S_FALSE);
    gadget.Release();
    EXPECT_EQ(canUnload(), S_OK);

    CComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_Gadget, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);  // a live class factory holds the module
    CComPtr<IUnknown> outer;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&outer)),
              S_OK);
    IUnknown* aggregated = reinterpret_cast<IUnknown*>(1);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(aggregated, nullptr);
    outer.Release();
    factory.Release();
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(InprocServer, UnregistrationKeepsNoRemoveKeys) {
    Register();
    ASSERT_EQ(RunCommand(Regsvr32Path() + " /u /s " + ServerPath()), 0);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, u"Gadget.Thing.1"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, u"AppID\\Gadget.DLL"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, u"CLSID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, u"AppID"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Kestro\\Tests"));
    CComPtr<IGadget> gadget;
    EXPECT_EQ(gadget.CoCreateInstance(CLSID_Gadget), REGDB_E_CLASSNOTREG);
}

TEST_F(InprocServer, ReRegistrationClearsForceRemoveKeysAndResetsScriptValues) {
    Register();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (kClassKey + u"\\Stale\\Deeper").c_str(), 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey.c_str(), 0, KEY_WRITE, &key),
              ERROR_SUCCESS);
    const DWORD changed = 99;
    RegSetValueExW(key, u"Maximum Links", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&changed), 4);
    const char16_t folder[] = u"/home/user/texts";
    RegSetValueExW(key, u"Default Save Folder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                   sizeof folder);
    RegCloseKey(key);

    Register();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + u"\\Stale"));
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kSettingsKey, u"Maximum Links"), 15u);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kSettingsKey, u"Default Save Folder"), folder);
}

TEST_F(InprocServer, ALibraryRefusingTheProcessDoesNotLoad) {
    testing_support::TempDir dir;
    const std::string renamed = dir.File("ReFuSe-regsvr32");
    std::filesystem::copy_file(Regsvr32Path(), renamed);
    EXPECT_EQ(RunCommand(renamed + " /s " + ServerPath()), 3);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_EQ(RunCommand(Regsvr32Path() + " /s " + dir.File("missing.so")), 3);
    EXPECT_EQ(RunCommand(Regsvr32Path()), 1);
}

TEST_F(InprocServer, RegistrationFailsOnAReadOnlyHive) {
    Register();  // creates the hive files
    RunCommand(Regsvr32Path() + " /u /s " + ServerPath());
    const std::string hive = std::string(std::getenv("KESTRO_HOME"));
    for (const auto& entry : std::filesystem::directory_iterator(hive))
        if (entry.path().extension() == ".reg")
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_read);
    EXPECT_EQ(RunCommand(Regsvr32Path() + " /s " + ServerPath()), 5);
}

TEST(CoCreateInstance, NeedsAnApartmentAndARegisteredClass) {
    CComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(CLSID_Gadget, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              CO_E_NOTINITIALIZED);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(CoCreateInstance(CLSID_Gadget, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object.p, nullptr);
    CoUninitialize();
    CoUninitialize();
}

HRESULT CreateNothing(IUnknown*, REFIID, void** ppv) {
    *ppv = nullptr;
    return E_OUTOFMEMORY;
}

TEST(CoCreateInstance, BuiltInClassesComeFirst) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    RegisterBuiltinClass(CLSID_Gadget, &CreateNothing);
    CComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(CLSID_Gadget, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              E_OUTOFMEMORY);
    CoUninitialize();
}

TEST(Registrar, RejectsBadScriptsWithoutWriting) {
    CRegObject registrar;
    EXPECT_TRUE(FAILED(registrar.StringRegister(u"HKCR { Broken { ")));
    EXPECT_TRUE(FAILED(registrar.StringRegister(u"HKXX { Key }")));
    EXPECT_TRUE(FAILED(registrar.StringRegister(u"HKCR { Key = s 'unterminated }")));
    EXPECT_TRUE(FAILED(registrar.StringRegister(u"HKCR { Key = q 'x' }")));
    EXPECT_TRUE(FAILED(registrar.StringRegister(u"HKCR { Key = s '%UNKNOWN%' }")));
    EXPECT_TRUE(FAILED(registrar.StringRegister(u"HKCR { Key { val N = d 'twelve' } }")));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, u"Broken"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, u"Key"));
}

TEST(Registrar, QuotesReplacementsAndValueKinds) {
    CRegObject registrar;
    registrar.AddReplacement(u"module", u"/opt/it's here/Farrow.so");
    ASSERT_EQ(registrar.StringRegister(
                  u"HKCU\n{\n 'Quoted Key' = s 'It''s %MODULE%'\n {\n"
                  u"  val Hex = d '0x10'\n  val Bytes = b '00FF'\n  val Expand = e '%%PATH%%'\n"
                  u" }\n}\n"),
              S_OK);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, u"Quoted Key", nullptr),
              u"It's /opt/it's here/Farrow.so");
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, u"Quoted Key", u"Hex"), 16u);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Quoted Key", 0, KEY_READ, &key), ERROR_SUCCESS);
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes, type = 0;
    ASSERT_EQ(RegQueryValueExW(key, u"Bytes", nullptr, &type, bytes, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(bytes[1], 0xFF);
    char16_t text[32] = {};
    size = sizeof text;
    ASSERT_EQ(
        RegQueryValueExW(key, u"Expand", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(std::u16string(text), u"%PATH%");
    RegCloseKey(key);

    // A key someone else filled below is not taken away by unregistration.
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Quoted Key\\Foreign", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(registrar.StringUnregister(u"HKCU { 'Quoted Key' = s 'x' }"), S_OK);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, u"Quoted Key\\Foreign"));
}

}  // namespace
