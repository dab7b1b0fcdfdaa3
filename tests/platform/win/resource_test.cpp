#include "platform/win/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win/last_error.h"
#include "platform/win/text.h"
#include "tests/support/temp_home.h"

namespace {

constexpr char kScript[] = "HKCR { program script }";
constexpr char16_t kStrings[] = u"program strings";
constexpr char kBanner[] = "banner";

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(u"REGISTRY", 101, kScript),
    ResourceEntry(RT_STRING_ID, 7, kStrings),
    ResourceEntry(RT_DIALOG_ID, u"Banner", kBanner),
};

std::u16string TestFile(const std::string& name) {
    return Utf8ToUtf16(testing_support::TestBinaryDirectory() + "/" + name);
}

std::string ResourceText(HMODULE module, LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return "<none>";
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(data, SizeofResource(module, found));
}

// Loads a test library for the length of a test.
class Library {
public:
    explicit Library(const std::string& name) : m_module(LoadLibraryW(TestFile(name).c_str())) {}
    ~Library() { FreeLibrary(m_module); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module;
};

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)

TEST(Resources, ByIdByStringTypeAndByName) {
    EXPECT_EQ(ResourceText(nullptr, MAKEINTRESOURCEW(101), u"REGISTRY"),
              std::string("HKCR { program script }", sizeof kScript));
    EXPECT_EQ(ResourceText(nullptr, u"#101", u"registry"),
              ResourceText(nullptr, MAKEINTRESOURCEW(101), u"REGISTRY"));
    HRSRC strings = FindResourceExW(GetModuleHandleW(nullptr), RT_STRING, MAKEINTRESOURCEW(7), 0);
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, strings), sizeof kStrings);
    EXPECT_EQ(
        std::u16string(static_cast<const char16_t*>(LockResource(LoadResource(nullptr, strings)))),
        u"program strings");
    EXPECT_NE(FindResourceW(nullptr, u"BANNER", RT_DIALOG), nullptr);
}

TEST(Resources, EachModuleSeesOnlyItsOwnTable) {
    Library library("TestAccept.so");
    ASSERT_NE(library.get(), nullptr);
    EXPECT_EQ(ResourceText(library.get(), MAKEINTRESOURCEW(101), u"REGISTRY"),
              std::string("HKCR { library script }", 24));
    EXPECT_EQ(ResourceText(nullptr, MAKEINTRESOURCEW(101), u"REGISTRY"),
              std::string("HKCR { program script }", 24));
    // The dialog exists only in the program.
    EXPECT_EQ(FindResourceW(library.get(), u"Banner", RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

TEST(Resources, Failures) {
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(102), u"REGISTRY"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(101), RT_MENU), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(101), u"#6"),
              nullptr);  // RT_STRING has no 101
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);

    Library withoutResources("TestRefuse.so");
    ASSERT_NE(withoutResources.get(), nullptr);
    EXPECT_EQ(FindResourceW(withoutResources.get(), MAKEINTRESOURCEW(101), u"REGISTRY"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    int notAModule = 0;
    EXPECT_EQ(
        FindResourceW(reinterpret_cast<HMODULE>(&notAModule), MAKEINTRESOURCEW(101), u"REGISTRY"),
        nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
}
