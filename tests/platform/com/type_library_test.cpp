// Type libraries: what a loaded library describes, the keys registration
// writes and removes, finding the registered library, and dispatch built on
// a library, as an add-on with its own TYPELIB resource sees them.
#include "platform/com/type_library.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/com/atl_dispatch.h"
#include "platform/com/atl_module.h"
#include "platform/com/class_factory.h"
#include "platform/win/module.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"
#include "tests/platform/com/test_server/gadget.h"
#include "tests/platform/com/typelib_server/typelib_server.h"
#include "tests/support/temp_home.h"

namespace {

using testing_support::TestBinaryDirectory;

std::u16string TestFile(const std::string& name) {
    return Utf8ToUtf16(TestBinaryDirectory() + "/" + name);
}
const std::u16string kServer = TestFile("TypeLibServer.so");
const std::u16string kLibraryKey = u"TypeLib\\" + GuidToString(LIBID_FarrowLib);
const std::u16string kVersionKey = kLibraryKey + u"\\1.0";
const std::u16string kEditHtmlKey = u"Interface\\" + GuidToString(IID_IEditHtml);
const std::u16string kSinkKey = u"Interface\\" + GuidToString(IID_IDocEventSink);

bool KeyExists(const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::u16string ReadString(const std::u16string& path, const char16_t* name = nullptr) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return u"<no key>";
    char16_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(char16_t), type = 0;
    const LONG rc =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return u"<no value>";
    return type == REG_SZ ? std::u16string(buffer) : u"<not text>";
}

void WriteString(const std::u16string& path, const char16_t* value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((WideLength(value) + 1) * sizeof(char16_t)));
    RegCloseKey(key);
}

TYPEATTR Attributes(ITypeInfo* info) {
    TYPEATTR* attr = nullptr;
    EXPECT_EQ(info->GetTypeAttr(&attr), S_OK);
    if (!attr) return {};
    const TYPEATTR copy = *attr;
    info->ReleaseTypeAttr(attr);
    return copy;
}

std::u16string Text(BSTR text) {
    std::u16string copy = text ? std::u16string(text) : u"<null>";
    SysFreeString(text);
    return copy;
}

CComPtr<ITypeLib> LoadServerLibrary(const std::u16string& suffix = u"") {
    CComPtr<ITypeLib> library;
    EXPECT_EQ(LoadTypeLibEx((kServer + suffix).c_str(), REGKIND_NONE, &library), S_OK);
    return library;
}

struct DescribedType {
    GUID guid;
    TYPEKIND kind;
    const char16_t* name;
    const char16_t* doc;
    WORD flags;
};

TEST(TypeLibrary, DescribesTheLibraryItsInterfacesAndItsClassesInTableOrder) {
    CComPtr<ITypeLib> library = LoadServerLibrary();
    ASSERT_TRUE(library);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, LIBID_FarrowLib);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->lcid, 0u);
    EXPECT_EQ(attr->syskind, SYS_WIN32);
    library->ReleaseTLibAttr(attr);
    BSTR name = nullptr, doc = nullptr;
    ASSERT_EQ(library->GetDocumentation(-1, &name, &doc, nullptr, nullptr), S_OK);
    EXPECT_EQ(Text(name), u"FarrowLib");
    EXPECT_EQ(Text(doc), u"Farrow 1.0 Type Library");

    const DescribedType expected[] = {
        {IID_IEditHtml, TKIND_DISPATCH, u"IEditHtml", u"IEditHtml Interface",
         TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE},
        {IID_IDocEventSink, TKIND_DISPATCH, u"IDocEventSink", u"IDocEventSink Interface",
         TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE},
        {CLSID_EditHtml, TKIND_COCLASS, u"EditHtml", u"EditHtml Class", TYPEFLAG_FCANCREATE},
        {CLSID_DocEventSink, TKIND_COCLASS, u"DocEventSink", u"DocEventSink Class",
         TYPEFLAG_FCANCREATE},
    };
    ASSERT_EQ(library->GetTypeInfoCount(), std::size(expected));
    for (UINT i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(Utf16ToUtf8(expected[i].name));
        CComPtr<ITypeInfo> byIndex, byGuid;
        ASSERT_EQ(library->GetTypeInfo(i, &byIndex), S_OK);
        ASSERT_EQ(library->GetTypeInfoOfGuid(expected[i].guid, &byGuid), S_OK);
        for (ITypeInfo* info : {byIndex.p, byGuid.p}) {
            const TYPEATTR typeAttr = Attributes(info);
            EXPECT_EQ(typeAttr.guid, expected[i].guid);
            EXPECT_EQ(typeAttr.typekind, expected[i].kind);
            EXPECT_EQ(typeAttr.wTypeFlags, expected[i].flags);
            EXPECT_EQ(typeAttr.wMajorVerNum, 1);
            ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr), S_OK);
            EXPECT_EQ(Text(name), expected[i].name);
            EXPECT_EQ(Text(doc), expected[i].doc);
        }
        ASSERT_EQ(library->GetDocumentation(static_cast<INT>(i), &name, nullptr, nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(Text(name), expected[i].name);
    }
    CComPtr<ITypeInfo> none;
    EXPECT_EQ(library->GetTypeInfo(4, &none), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(library->GetTypeInfoOfGuid(IID_IDispatch, &none), TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(library->GetDocumentation(4, &name, nullptr, nullptr, nullptr),
              TYPE_E_ELEMENTNOTFOUND);
    EXPECT_EQ(none.p, nullptr);
    // Loading without registering leaves the registry alone.
    EXPECT_FALSE(KeyExists(kLibraryKey));
}

TEST(TypeLibrary, LoadingFailsAsWindowsReportsIt) {
    CComPtr<ITypeLib> library;
    EXPECT_EQ(LoadTypeLib(nullptr, &library), E_INVALIDARG);
    EXPECT_EQ(LoadTypeLib(kServer.c_str(), nullptr), E_INVALIDARG);
    EXPECT_EQ(LoadTypeLib(TestFile("NoSuchLibrary.so").c_str(), &library), TYPE_E_CANTLOADLIBRARY);
    // A module without a type library, and an index the module lacks.
    EXPECT_EQ(LoadTypeLib(TestFile("kestro_test_gadget.so").c_str(), &library),
              TYPE_E_CANTLOADLIBRARY);
    EXPECT_EQ(LoadTypeLibEx((kServer + u"\\7").c_str(), REGKIND_NONE, &library),
              TYPE_E_CANTLOADLIBRARY);
    EXPECT_EQ(library.p, nullptr);

    library = LoadServerLibrary(u"\\2");
    ASSERT_TRUE(library);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, LIBID_SecondLib);
    EXPECT_EQ(attr->wMinorVerNum, 3);
    library->ReleaseTLibAttr(attr);
}

TEST(TypeLibrary, KeepsItsModuleLoadedWhileItLives) {
    ASSERT_EQ(GetModuleHandleW(kServer.c_str()), nullptr);
    CComPtr<ITypeInfo> info;
    {
        CComPtr<ITypeLib> library = LoadServerLibrary();
        ASSERT_TRUE(library);
        ASSERT_EQ(library->GetTypeInfo(0, &info), S_OK);
    }
    EXPECT_NE(GetModuleHandleW(kServer.c_str()), nullptr);  // the type information holds it
    EXPECT_EQ(Attributes(info).guid, IID_IEditHtml);
    info.Release();
    EXPECT_EQ(GetModuleHandleW(kServer.c_str()), nullptr);
}

TEST(TypeLibraryRegistration, WritesTheKeysWindowsWritesAndFindsTheLibraryAgain) {
    CComPtr<ITypeLib> library = LoadServerLibrary();
    ASSERT_EQ(RegisterTypeLib(library, kServer.c_str(), nullptr), S_OK);
    EXPECT_EQ(ReadString(kVersionKey), u"Farrow 1.0 Type Library");
    EXPECT_EQ(ReadString(kVersionKey + u"\\FLAGS"), u"0");
    EXPECT_EQ(ReadString(kVersionKey + u"\\0\\win32"), kServer);
    EXPECT_EQ(ReadString(kVersionKey + u"\\HELPDIR"), Utf8ToUtf16(TestBinaryDirectory()));
    for (const auto& [key, name] :
         {std::pair{kEditHtmlKey, u"IEditHtml"}, std::pair{kSinkKey, u"IDocEventSink"}}) {
        SCOPED_TRACE(Utf16ToUtf8(name));
        EXPECT_EQ(ReadString(key), name);
        EXPECT_EQ(ReadString(key + u"\\ProxyStubClsid"), u"{00020424-0000-0000-C000-000000000046}");
        EXPECT_EQ(ReadString(key + u"\\ProxyStubClsid32"),
                  u"{00020424-0000-0000-C000-000000000046}");
        EXPECT_EQ(ReadString(key + u"\\TypeLib"), GuidToString(LIBID_FarrowLib));
        EXPECT_EQ(ReadString(key + u"\\TypeLib", u"Version"), u"1.0");
    }
    // Classes are registered by their own scripts, not by the library.
    EXPECT_FALSE(KeyExists(u"Interface\\" + GuidToString(CLSID_EditHtml)));

    CComPtr<ITypeLib> found;
    ASSERT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 1, 0, 0x409, &found), S_OK);  // locale 0 serves all
    EXPECT_EQ(found->GetTypeInfoCount(), 4u);
    found.Release();
    EXPECT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 1, 1, 0, &found), TYPE_E_LIBNOTREGISTERED);
    EXPECT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 2, 0, 0, &found), TYPE_E_LIBNOTREGISTERED);
    EXPECT_EQ(LoadRegTypeLib(LIBID_SecondLib, 2, 3, 0, &found), TYPE_E_LIBNOTREGISTERED);
    EXPECT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 1, 0, 0, nullptr), E_INVALIDARG);
    EXPECT_EQ(found.p, nullptr);

    ASSERT_EQ(UnRegisterTypeLib(LIBID_FarrowLib, 1, 0, 0, SYS_WIN32), S_OK);
    EXPECT_FALSE(KeyExists(kLibraryKey));
    EXPECT_FALSE(KeyExists(kEditHtmlKey));
    EXPECT_FALSE(KeyExists(kSinkKey));
    EXPECT_TRUE(KeyExists(u"Interface"));
    EXPECT_EQ(UnRegisterTypeLib(LIBID_FarrowLib, 1, 0, 0, SYS_WIN32), TYPE_E_REGISTRYACCESS);
    EXPECT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 1, 0, 0, &found), TYPE_E_LIBNOTREGISTERED);
}

TEST(TypeLibraryRegistration, TheHighestMinorVersionWinsAndOtherVersionsSurviveUnregistration) {
    CComPtr<ITypeLib> library = LoadServerLibrary();
    ASSERT_EQ(RegisterTypeLib(library, kServer.c_str(), u"/usr/share/help"), S_OK);
    EXPECT_EQ(ReadString(kVersionKey + u"\\HELPDIR"), u"/usr/share/help");
    // A later minor version whose module is gone is chosen, and fails to load.
    WriteString(kLibraryKey + u"\\1.a\\0\\win32", u"/no/such/Farrow.so");
    CComPtr<ITypeLib> found;
    EXPECT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 1, 0, 0, &found), TYPE_E_CANTLOADLIBRARY);
    // A registered module that holds another library does not count.
    WriteString(kLibraryKey + u"\\1.a\\0\\win32", (kServer + u"\\2").c_str());
    EXPECT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 1, 0, 0, &found), TYPE_E_LIBNOTREGISTERED);

    ASSERT_EQ(UnRegisterTypeLib(LIBID_FarrowLib, 1, 0, 0, SYS_WIN32), S_OK);
    EXPECT_FALSE(KeyExists(kVersionKey));
    EXPECT_TRUE(KeyExists(kLibraryKey + u"\\1.a"));
    EXPECT_FALSE(KeyExists(kEditHtmlKey));
}

TEST(TypeLibraryRegistration, LoadTypeLibRegistersAFullPathOnly) {
    CComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLib(u"TypeLibServer.so", &library), S_OK);  // found in the program folder
    EXPECT_FALSE(KeyExists(kLibraryKey));
    library.Release();
    ASSERT_EQ(LoadTypeLib(kServer.c_str(), &library), S_OK);
    EXPECT_EQ(ReadString(kVersionKey + u"\\0\\win32"), kServer);
    library.Release();
    EXPECT_EQ(RegisterTypeLib(nullptr, kServer.c_str(), nullptr), E_INVALIDARG);
}

TEST(TypeLibraryRegistration, AReadOnlyRegistryIsReportedAsRegistryAccess) {
    CComPtr<ITypeLib> library = LoadServerLibrary();
    ASSERT_EQ(RegisterTypeLib(library, kServer.c_str(), nullptr), S_OK);
    const std::string home = std::getenv("KESTRO_HOME");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(home)) {
        if (entry.is_regular_file()) chmod(entry.path().c_str(), 0444);
    }
    EXPECT_EQ(RegisterTypeLib(library, kServer.c_str(), nullptr), TYPE_E_REGISTRYACCESS);
    EXPECT_EQ(UnRegisterTypeLib(LIBID_FarrowLib, 1, 0, 0, SYS_WIN32), TYPE_E_REGISTRYACCESS);
    CComPtr<ITypeLib> found;
    EXPECT_EQ(LoadRegTypeLib(LIBID_FarrowLib, 1, 0, 0, &found), S_OK);  // reading still works
    CComPtr<ITypeLib> registered;
    EXPECT_EQ(LoadTypeLib(kServer.c_str(), &registered), TYPE_E_REGISTRYACCESS);
    EXPECT_EQ(registered.p, nullptr);
}

// The add-on's module registers its own TYPELIB resource 1 through ATL.
class ServerModule : public ::testing::Test {
protected:
    void SetUp() override {
        m_module = LoadLibraryW(kServer.c_str());
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override { FreeLibrary(m_module); }
    HRESULT Call(const char* name) {
        auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddress(m_module, name));
        return entry ? entry() : E_FAIL;
    }
    CComPtr<IDispatch> CreateEditHtml() {
        using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
        auto entry =
            reinterpret_cast<GetClassObject>(GetProcAddress(m_module, "DllGetClassObject"));
        CComPtr<IClassFactory> factory;
        CComPtr<IDispatch> object;
        EXPECT_EQ(entry(CLSID_EditHtml, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
                  S_OK);
        if (factory)
            factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object));
        return object;
    }
    HMODULE m_module = nullptr;
};

TEST_F(ServerModule, RegistrationWritesTheTypeLibraryUnderTheModulePath) {
    ASSERT_EQ(Call("DllRegisterServer"), S_OK);
    EXPECT_EQ(ReadString(kVersionKey + u"\\0\\win32"), kServer);
    EXPECT_EQ(ReadString(kEditHtmlKey + u"\\TypeLib"), GuidToString(LIBID_FarrowLib));
    EXPECT_FALSE(KeyExists(u"TypeLib\\" + GuidToString(LIBID_SecondLib)));
    ASSERT_EQ(Call("DllUnregisterServer"), S_OK);
    EXPECT_FALSE(KeyExists(kLibraryKey));
    EXPECT_FALSE(KeyExists(kEditHtmlKey));
    // Nothing left to unregister is an error, as on Windows.
    EXPECT_EQ(Call("DllUnregisterServer"), TYPE_E_REGISTRYACCESS);
}

TEST_F(ServerModule, AnIndexNamesAnotherTypeLibraryOfTheModule) {
    ASSERT_EQ(AtlRegisterTypeLib(m_module, u"\\2"), S_OK);
    const std::u16string key = u"TypeLib\\" + GuidToString(LIBID_SecondLib) + u"\\2.3";
    EXPECT_EQ(ReadString(key + u"\\0\\win32"), kServer + u"\\2");
    CComPtr<ITypeLib> found;
    EXPECT_EQ(LoadRegTypeLib(LIBID_SecondLib, 2, 1, 0, &found), S_OK);
    ASSERT_EQ(AtlUnRegisterTypeLib(m_module, u"\\2"), S_OK);
    EXPECT_FALSE(KeyExists(key));
    EXPECT_EQ(AtlRegisterTypeLib(m_module, u"\\9"), TYPE_E_CANTLOADLIBRARY);
}

// Dispatch resolved through the library: the registered one, or the image's own.
TEST_F(ServerModule, DispatchTypeInformationComesFromTheLibraryRegisteredOrNot) {
    for (const bool registered : {false, true}) {
        SCOPED_TRACE(registered ? "registered" : "the image's own");
        if (registered) {
            ASSERT_EQ(Call("DllRegisterServer"), S_OK);
        }
        CComPtr<IDispatch> object = CreateEditHtml();
        ASSERT_TRUE(object);
        CComPtr<ITypeInfo> info;
        ASSERT_EQ(object->GetTypeInfo(0, 0, &info), S_OK);
        const TYPEATTR attr = Attributes(info);
        EXPECT_EQ(attr.guid, IID_IEditHtml);
        EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
        EXPECT_TRUE(attr.wTypeFlags & TYPEFLAG_FDUAL);
        EXPECT_EQ(attr.wMajorVerNum, 1);
        EXPECT_EQ(attr.wMinorVerNum, 0);
        BSTR doc = nullptr;
        ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr), S_OK);
        EXPECT_EQ(Text(doc), u"IEditHtml Interface");
        char16_t name[] = u"Navigate";
        LPOLESTR names[] = {name};
        DISPID id = 0;
        EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        EXPECT_EQ(object->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND);
    }
    Call("DllUnregisterServer");
}

TEST(DispatchFromATypeLibrary, ALibraryNeitherRegisteredNorInTheImageIsNotRegistered) {
    const HMODULE gadget = LoadLibraryW(TestFile("kestro_test_gadget.so").c_str());
    ASSERT_NE(gadget, nullptr);
    CComPtr<IDispatch> object;
    {
        using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
        auto entry = reinterpret_cast<GetClassObject>(GetProcAddress(gadget, "DllGetClassObject"));
        CComPtr<IClassFactory> factory;
        ASSERT_EQ(entry(CLSID_Gadget, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        ASSERT_EQ(
            factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&object)),
            S_OK);
    }
    CComPtr<ITypeInfo> info;
    EXPECT_EQ(object->GetTypeInfo(0, 0, &info), TYPE_E_LIBNOTREGISTERED);
    EXPECT_EQ(info.p, nullptr);
    EXPECT_EQ(object->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
    object.Release();
    FreeLibrary(gadget);
}

}  // namespace
