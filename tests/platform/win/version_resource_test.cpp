// Version data as Windows callers read it: the size and copy of a module's
// version block, and values queried out of it.
#include "platform/win/version_resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/last_error.h"
#include "platform/win/module.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"
#include "tests/support/temp_home.h"

namespace {

constexpr char kScript[] = "HKCR { program script }";
constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(u"REGISTRY", 101, kScript),
};

std::u16string TestFile(const std::string& name) {
    return Utf8ToUtf16(testing_support::TestBinaryDirectory() + "/" + name);
}
const std::u16string kLibrary = TestFile("TestAccept.so");

std::vector<BYTE> ReadBlock(const std::u16string& file) {
    DWORD handle = 99;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    EXPECT_EQ(handle, 0u);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(file.c_str(), 0, size, block.data())) block.clear();
    return block;
}

std::u16string QueryString(const std::vector<BYTE>& block, const char16_t* path) {
    LPVOID value = nullptr;
    UINT length = 99;
    if (!VerQueryValueW(block.data(), path, &value, &length)) {
        EXPECT_EQ(length, 0u);
        return u"<none>";
    }
    const auto* text = static_cast<const char16_t*>(value);
    EXPECT_EQ(length, WideLength(text) + 1);  // characters, terminator included
    return text;
}

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)

TEST(VersionData, FixedPartAndTranslationOfALibraryNotLoadedBefore) {
    ASSERT_EQ(GetModuleHandleW(kLibrary.c_str()), nullptr);
    const std::vector<BYTE> block = ReadBlock(kLibrary);
    ASSERT_FALSE(block.empty()) << GetLastError();
    EXPECT_EQ(GetModuleHandleW(kLibrary.c_str()), nullptr);  // loaded for the call only

    for (const char16_t* root : {u"\\", u""}) {
        LPVOID value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), root, &value, &length));
        ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00030002u);
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);
        EXPECT_EQ(fixed->dwFileType, VFT_DLL);
    }
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(*static_cast<const DWORD*>(value), 0x04B00409u);
}

TEST(VersionData, StringsByNameWithoutRegardToCase) {
    const std::vector<BYTE> block = ReadBlock(u"TestAccept.dll");  // found as a library is
    ASSERT_FALSE(block.empty()) << GetLastError();
    EXPECT_EQ(QueryString(block, u"\\StringFileInfo\\040904B0\\FileDescription"), u"Kestro");
    EXPECT_EQ(QueryString(block, u"\\StringFileInfo\\040904B0\\ProductVersion"), u"1.0.0.0");
    EXPECT_EQ(QueryString(block, u"\\StringFileInfo\\040904b0\\originalfilename"), u"Farrow.dll");
    EXPECT_EQ(QueryString(block, u"\\StringFileInfo\\040904B0\\Comments"), u"");
    EXPECT_EQ(QueryString(block, u"\\StringFileInfo\\040904B0\\LegalCopyright"), u"<none>");
    EXPECT_EQ(QueryString(block, u"\\StringFileInfo\\040904E4\\FileDescription"), u"<none>");
    EXPECT_EQ(QueryString(block, u"\\StringFileInfo\\040904B0"), u"<none>");
    EXPECT_EQ(QueryString(block, u"\\VarFileInfo"), u"<none>");
    LPVOID value = nullptr;
    UINT length = 0;
    const BYTE notABlock[128] = {};
    EXPECT_FALSE(VerQueryValueW(notABlock, u"\\", &value, &length));
    EXPECT_FALSE(VerQueryValueW(nullptr, u"\\", &value, &length));
}

TEST(VersionData, FailuresTellWhatIsMissing) {
    // A loaded program's own path: it has resources, but no version data.
    char16_t program[1024];
    const DWORD length = GetModuleFileNameW(nullptr, program, 1024);
    ASSERT_GT(length, 0u);
    DWORD handle = 0;
    EXPECT_EQ(GetFileVersionInfoSizeW(program, &handle), 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);

    EXPECT_EQ(GetFileVersionInfoSizeW(TestFile("TestRefuse.so").c_str(), &handle), 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_EQ(GetFileVersionInfoSizeW(TestFile("NoSuchLibrary.so").c_str(), &handle), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    testing_support::TempDir folder;
    testing_support::WriteFile(folder.File("notes.so"), "not a library");
    EXPECT_EQ(GetFileVersionInfoSizeW(Utf8ToUtf16(folder.File("notes.so")).c_str(), &handle), 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);

    const DWORD size = GetFileVersionInfoSizeW(kLibrary.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> small(size - 1);
    EXPECT_FALSE(GetFileVersionInfoW(kLibrary.c_str(), 0, size - 1, small.data()));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}
