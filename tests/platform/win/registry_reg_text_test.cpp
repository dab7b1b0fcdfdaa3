#include "platform/win/registry_reg_text.h"

#include <gtest/gtest.h>

#include "platform/win/registry.h"
#include "tests/platform/win/registry_test_support.h"

using registry_test::DwordBytes;
using registry_test::TextBytes;

namespace {

constexpr std::u16string_view kRoot = u"HKEY_LOCAL_MACHINE";

}  // namespace

TEST(RegText, ReadsWhatOtherToolsWrite) {
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "; a comment\r\n"
        "[hkey_local_machine\\Software\\Kestro]\r\n"
        "\"Path\"=\"C:\\\\dir\\\\\"\r\n"
        "\"Data\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "\"Count\"=dword:0000000F\r\n"
        "@=\"default\"\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Kestro]\r\n"
        "\"Later\"=hex(7):61,00,00,00,00,00\r\n";
    const auto tree = ParseRegText(text, kRoot);
    ASSERT_TRUE(tree.has_value());
    const RegistryTreeKey* key = tree->FindPath({u"SOFTWARE", u"kestro"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->name(), u"Kestro");
    ASSERT_EQ(key->values().size(), 5u);
    EXPECT_EQ(key->FindValue(u"path")->data, TextBytes(u"C:\\dir\\"));
    EXPECT_EQ(key->FindValue(u"Data")->data, (std::vector<BYTE>{1, 2, 3, 4}));
    EXPECT_EQ(key->FindValue(u"Count")->data, DwordBytes(15));
    EXPECT_EQ(key->FindValue(u"")->data, TextBytes(u"default"));
    EXPECT_EQ(key->FindValue(u"Later")->type, REG_MULTI_SZ);
}

TEST(RegText, EmptyTextIsAnEmptyHive) {
    const auto tree = ParseRegText("", kRoot);
    ASSERT_TRUE(tree.has_value());
    EXPECT_EQ(tree->SubkeyCount(), 0u);
    EXPECT_EQ(FormatRegText(*tree, kRoot), "REGEDIT4\n\n");
}

TEST(RegText, RejectsTextThatIsNotAHive) {
    const char* damaged[] = {
        "garbage",
        "[HKEY_LOCAL_MACHINE\\Software]\n",                           // no header
        "REGEDIT4\n\"Name\"=\"value before any section\"\n",          // no section
        "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n",                  // another root
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\\\Software]\n",               // empty key name
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\n",                  // unclosed section
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=\"unterminated\n",  // string
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=\"x\" trailing\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=hex:1g\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=hex:123\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=hex:01,\\\n",  // continuation at the end
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=dword:123456789\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"=-\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"a\"\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\nstray text\n",
    };
    for (const char* text : damaged) {
        EXPECT_FALSE(ParseRegText(text, kRoot).has_value()) << text;
    }
}

TEST(RegText, FormatThenParseGivesTheSameTree) {
    RegistryTreeKey root;
    root.SetValue(u"On Root", REG_DWORD, DwordBytes(3));
    RegistryTreeKey& key = root.CreateSubkey(u"Software").CreateSubkey(u"Key ] [ with = marks");
    std::vector<BYTE> large(300);
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<BYTE>(255 - i);
    key.SetValue(u"Large", 0xFFFFFFFF, large);
    key.SetValue(u"Tab\tText", REG_SZ, TextBytes(u"a\tb"));
    root.CreateSubkey(u"Empty");

    const std::string text = FormatRegText(root, kRoot);
    const auto parsed = ParseRegText(text, kRoot);
    ASSERT_TRUE(parsed.has_value()) << text;
    EXPECT_EQ(parsed->FindValue(u"On Root")->data, DwordBytes(3));
    EXPECT_NE(parsed->FindPath({u"Empty"}), nullptr);
    const RegistryTreeKey* back = parsed->FindPath({u"Software", u"Key ] [ with = marks"});
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->FindValue(u"Large")->type, 0xFFFFFFFFu);
    EXPECT_EQ(back->FindValue(u"Large")->data, large);
    EXPECT_EQ(back->FindValue(u"Tab\tText")->data, TextBytes(u"a\tb"));
    EXPECT_EQ(FormatRegText(*parsed, kRoot), text);
}

TEST(RegText, NamesTheFileCannotHoldAreRefused) {
    EXPECT_TRUE(IsStorableRegName(u"Default Save Folder \U0001F600"));
    EXPECT_FALSE(IsStorableRegName(u"line\nbreak"));
    EXPECT_FALSE(IsStorableRegName(std::u16string(1, char16_t(0xDC00))));
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"bad\nname", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    const BYTE one = 1;
    EXPECT_EQ(RegSetValueExW(HKEY_LOCAL_MACHINE, u"bad\rname", 0, REG_BINARY, &one, 1),
              ERROR_INVALID_PARAMETER);
}
