#include "platform/win/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/text.h"
#include "tests/platform/win/registry_test_support.h"
#include "tests/support/temp_home.h"

using namespace registry_test;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

constexpr const char16_t* kIeKey = u"Software\\Microsoft\\Internet Explorer";

struct ValueCase {
    const char16_t* name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<ValueCase> EveryKindOfValue() {
    std::vector<BYTE> large(1000);
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<BYTE>(i * 7);
    return {
        {u"Version", REG_SZ, TextBytes(u"9.0.8112.16421")},
        {u"Quotes", REG_SZ, TextBytes(u"say \"hi\" to C:\\dir\\")},
        {u"Line Breaks", REG_SZ, TextBytes(u"one\r\ntwo\n")},
        {u"Non-ASCII", REG_SZ, TextBytes(u"Gr\u00FC\u00DFe \u20AC \U0001F600")},
        {u"Lone Surrogate", REG_SZ, TextBytes(std::u16string(1, char16_t(0xD800)) + u"x")},
        {u"Embedded Null", REG_SZ, TextBytes(std::u16string(u"a\0b", 3))},
        {u"No Terminator", REG_SZ, TextBytes(u"abc", false)},
        {u"Empty", REG_SZ, TextBytes(u"")},
        {u"Zero Bytes", REG_SZ, {}},
        {u"Odd Bytes", REG_SZ, {0x41, 0x00, 0x42}},
        {u"Expand", REG_EXPAND_SZ, TextBytes(u"%TEMP%\\kestro")},
        {u"Binary Empty", REG_BINARY, {}},
        {u"Binary Large", REG_BINARY, large},
        {u"Multi", REG_MULTI_SZ, TextBytes(std::u16string(u"a\0bc\0", 5))},
        {u"Dword", REG_DWORD, DwordBytes(0x12345678)},
        {u"Short Dword", REG_DWORD, {0x01, 0x02}},
        {u"Qword", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 0x80}},
        {u"None", REG_NONE, {0xAB}},
        {u"Type 0x1234", 0x1234, {9}},
        {u"", REG_SZ, TextBytes(u"default")},
        {u"Na\"me\\with = signs", REG_DWORD, DwordBytes(7)},
    };
}

LONG SetValue(HKEY key, const char16_t* name, DWORD type, const std::vector<BYTE>& data) {
    return RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
}

HKEY OpenKey(HKEY root, const char16_t* path, REGSAM access, LONG* status = nullptr) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExW(root, path, 0, access, &key);
    if (status) *status = result;
    return key;
}

std::vector<std::u16string> SubkeyNames(HKEY key) {
    std::vector<std::u16string> names;
    for (DWORD i = 0;; ++i) {
        char16_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

}  // namespace

TEST(Registry, EveryValueTypeRoundTripsThroughTheHiveFile) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kIeKey);
    ASSERT_NE(key, nullptr);
    for (const auto& value : EveryKindOfValue()) {
        ASSERT_EQ(SetValue(key, value.name, value.type, value.data), ERROR_SUCCESS);
    }
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    const HiveCopyHome copy;
    key = OpenKey(HKEY_LOCAL_MACHINE, kIeKey, KEY_READ);
    ASSERT_NE(key, nullptr);
    for (const auto& value : EveryKindOfValue()) {
        const ReadResult read = ReadValue(key, value.name);
        ASSERT_EQ(read.status, ERROR_SUCCESS) << Utf16ToUtf8(value.name);
        EXPECT_EQ(read.type, value.type) << Utf16ToUtf8(value.name);
        EXPECT_EQ(read.data, value.data) << Utf16ToUtf8(value.name);
    }
    RegCloseKey(key);
}

TEST(Registry, HiveFileUsesTheStandardTextForms) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kIeKey);
    ASSERT_NE(key, nullptr);
    for (const auto& value : EveryKindOfValue()) {
        ASSERT_EQ(SetValue(key, value.name, value.type, value.data), ERROR_SUCCESS);
    }
    RegCloseKey(key);
    const std::string text = ReadFile(HiveFile("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(text.rfind("REGEDIT4\n\n", 0), 0u);
    EXPECT_NE(text.find("\n[HKEY_LOCAL_MACHINE\\Software]\n\n"), std::string::npos);  // empty key
    EXPECT_NE(text.find("\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer]\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n\"Version\"=\"9.0.8112.16421\"\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"Quotes\"=\"say \\\"hi\\\" to C:\\\\dir\\\\\"\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"Non-ASCII\"=\"Gr\xC3\xBC\xC3\x9F"
                        "e \xE2\x82\xAC \xF0\x9F\x98\x80\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n\"Dword\"=dword:12345678\n"), std::string::npos);
    EXPECT_NE(text.find("\n@=\"default\"\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"No Terminator\"=hex(1):61,00,62,00,63,00\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"Expand\"=hex(2):"), std::string::npos);
    EXPECT_NE(text.find("\n\"Binary Empty\"=hex:\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"Qword\"=hex(b):01,02,03,04,05,06,07,80\n"), std::string::npos);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        EXPECT_LE(end - start, 80u) << "line wrapping";
        start = end + 1;
    }
}

TEST(Registry, QueryReportsTypeSizeAndMoreData) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kIeKey);
    ASSERT_EQ(SetValue(key, u"Maximum Links", REG_DWORD, DwordBytes(15)), ERROR_SUCCESS);
    ASSERT_EQ(SetValue(key, u"Last File Name", REG_SZ, TextBytes(u"notes.txt")), ERROR_SUCCESS);

    // A string read finds a DWORD: the real type and size are reported.
    BYTE buffer[520] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExW(key, u"Maximum Links", nullptr, &type, buffer, &size), 0);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);

    // Too small: ERROR_MORE_DATA, the size needed, the buffer untouched.
    BYTE small[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExW(key, u"Last File Name", nullptr, &type, small, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(small[0], 0xEE);

    // No buffer: the size only. One variable for type and size works too.
    size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Last File Name", nullptr, nullptr, nullptr, &size), 0);
    EXPECT_EQ(size, 20u);
    DWORD both = 4;
    EXPECT_EQ(RegQueryValueExW(key, u"Maximum Links", nullptr, &both, buffer, &both), 0);

    size = 99;
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, &type, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(RegQueryValueExW(key, u"Last File Name", nullptr, &type, buffer, nullptr),
              ERROR_INVALID_PARAMETER);
    // The default value: null and empty names are the same.
    ASSERT_EQ(SetValue(key, nullptr, REG_SZ, TextBytes(u"d")), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(key, u"").data, TextBytes(u"d"));
    RegCloseKey(key);
}

TEST(Registry, SettingKeepsBytesAsGiven) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\Microsoft\\Internet Explorer\\New Windows");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(RegSetValueExW(key, u"PopupMgr", 0, REG_DWORD, nullptr, 4), 998);  // ERROR_NOACCESS
    EXPECT_EQ(RegSetValueExW(key, u"PopupMgr", 0, REG_DWORD, nullptr, 0), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(key, u"PopupMgr").data.size(), 0u);
    ASSERT_EQ(SetValue(key, u"PopupMgr", REG_DWORD, DwordBytes(1)), ERROR_SUCCESS);
    ASSERT_EQ(SetValue(key, u"PopupMgr", REG_DWORD, DwordBytes(0)), ERROR_SUCCESS);
    const ReadResult read = ReadValue(key, u"PopupMgr");
    EXPECT_EQ(read.type, REG_DWORD);
    EXPECT_EQ(read.data, DwordBytes(0));
    EXPECT_EQ(RegDeleteValueW(key, u"PopupMgr"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(key, u"PopupMgr"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadValue(key, u"PopupMgr").status, ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST(Registry, WritersInTwoProcessesLoseNothing) {
    constexpr int kValuesPerWriter = 300;
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Kestro\\Shared");
    ASSERT_NE(key, nullptr);
    RegCloseKey(key);
    std::vector<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            HKEY mine = CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Kestro\\Shared");
            for (int i = 0; i < kValuesPerWriter; ++i) {
                const std::u16string name = u"w" + WideFromInt(writer) + u"-" + WideFromInt(i);
                if (SetValue(mine, name.c_str(), REG_DWORD, DwordBytes(i)) != 0) ++failures;
            }
            _exit(failures == 0 && mine ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const HiveCopyHome copy;
    key = OpenKey(HKEY_LOCAL_MACHINE, u"Software\\Kestro\\Shared", KEY_READ);
    ASSERT_NE(key, nullptr);
    for (int writer = 0; writer < 2; ++writer) {
        for (int i = 0; i < kValuesPerWriter; ++i) {
            const std::u16string name = u"w" + WideFromInt(writer) + u"-" + WideFromInt(i);
            ASSERT_EQ(ReadValue(key, name.c_str()).data, DwordBytes(i)) << Utf16ToUtf8(name);
        }
    }
    RegCloseKey(key);
}

TEST(Registry, ReadOnlyHiveRefusesWritesAndStillReads) {
    HKEY writable = CreateKey(HKEY_LOCAL_MACHINE, kIeKey);
    ASSERT_EQ(SetValue(writable, u"Version", REG_SZ, TextBytes(u"8.0")), ERROR_SUCCESS);
    const std::string hive = HiveFile("HKEY_LOCAL_MACHINE");
    const std::string before = ReadFile(hive);
    ASSERT_EQ(chmod(hive.c_str(), 0444), 0);

    EXPECT_EQ(SetValue(writable, u"Version", REG_SZ, TextBytes(u"9.0")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(writable, u"Version"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, kIeKey), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"Software"), ERROR_ACCESS_DENIED);
    LONG status = 0;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, kIeKey, KEY_WRITE, &status), nullptr);
    EXPECT_EQ(status, ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, kIeKey, KEY_ALL_ACCESS, &status), nullptr);
    EXPECT_EQ(status, ERROR_ACCESS_DENIED);
    HKEY created = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kIeKey, 0, nullptr, 0, KEY_READ, nullptr,
                              &created, nullptr),
              ERROR_ACCESS_DENIED);

    HKEY reader = OpenKey(HKEY_LOCAL_MACHINE, kIeKey, KEY_READ, &status);
    ASSERT_EQ(status, ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(reader, u"Version").data, TextBytes(u"8.0"));
    EXPECT_EQ(ReadFile(hive), before);
    RegCloseKey(reader);
    RegCloseKey(writable);
}

TEST(Registry, DamagedHiveIsNeverOverwrittenAndReadsAsEmpty) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kIeKey);
    ASSERT_NE(key, nullptr);
    const std::string hive = HiveFile("HKEY_LOCAL_MACHINE");
    const std::string garbage = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\nthis is not a value\n";
    WriteFile(hive, garbage);

    LONG status = 0;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, u"Software", KEY_READ, &status), nullptr);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"x", REG_DWORD, DwordBytes(1)), ERROR_BADDB);
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"Software\\New"), nullptr);
    EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"Software"), ERROR_BADDB);
    EXPECT_EQ(SetValue(key, u"Version", REG_SZ, TextBytes(u"9")), ERROR_BADDB);
    EXPECT_EQ(ReadValue(key, u"Version").status, ERROR_KEY_DELETED);
    char16_t name[64];
    DWORD length = 64;
    EXPECT_EQ(
        RegEnumKeyExW(HKEY_LOCAL_MACHINE, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
        ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(ReadFile(hive), garbage);
    RegCloseKey(key);
}

TEST(Registry, MissingHiveIsEmptyAndCreatedPrivateOnFirstWrite) {
    LONG status = 0;
    EXPECT_EQ(OpenKey(HKEY_CLASSES_ROOT, u"CLSID", KEY_READ, &status), nullptr);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    const std::string hive = HiveFile("HKEY_CLASSES_ROOT");
    EXPECT_NE(access(hive.c_str(), F_OK), 0);
    HKEY key = CreateKey(HKEY_CLASSES_ROOT, u"CLSID");
    ASSERT_NE(key, nullptr);
    struct stat st {};
    ASSERT_EQ(stat(hive.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    RegCloseKey(key);
}

TEST(Registry, ChangesMadeOutsideTheProcessAreSeen) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, kIeKey);
    ASSERT_EQ(SetValue(key, u"Version", REG_SZ, TextBytes(u"8.0")), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(key, u"Version").data, TextBytes(u"8.0"));
    WriteFile(HiveFile("HKEY_LOCAL_MACHINE"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer]\r\n"
              "\"Version\"=\"11.0.9600.17843\"\r\n\"Extra\"=\"x\"\r\n");
    EXPECT_EQ(ReadValue(key, u"Version").data, TextBytes(u"11.0.9600.17843"));
    RegCloseKey(key);
}

TEST(Registry, CreateReportsDispositionAndMakesIntermediateKeys) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"A\\B\\C", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"a\\b\\c\\\\", 0, nullptr, 0, KEY_READ, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    // Windows checks no right of the parent handle when creating below it.
    HKEY child = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(key, u"D", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, &disposition),
        ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(child);
    RegCloseKey(key);
    HKEY again = OpenKey(HKEY_LOCAL_MACHINE, u"A\\B", KEY_READ);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(SubkeyNames(again), std::vector<std::u16string>{u"C"});
    RegCloseKey(again);
}

TEST(Registry, HandleRightsAreHonoured) {
    HKEY full = CreateKey(HKEY_LOCAL_MACHINE, kIeKey);
    ASSERT_EQ(SetValue(full, u"Version", REG_SZ, TextBytes(u"8.0")), ERROR_SUCCESS);
    HKEY reader = OpenKey(HKEY_LOCAL_MACHINE, kIeKey, KEY_READ);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(SetValue(reader, u"Version", REG_SZ, TextBytes(u"9.0")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(reader, u"Version"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadValue(reader, u"Version").data, TextBytes(u"8.0"));
    HKEY setter = OpenKey(HKEY_LOCAL_MACHINE, kIeKey, KEY_SET_VALUE);
    ASSERT_NE(setter, nullptr);
    EXPECT_EQ(ReadValue(setter, u"Version").status, ERROR_ACCESS_DENIED);
    char16_t name[64];
    DWORD length = 64;
    EXPECT_EQ(RegEnumKeyExW(setter, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(SetValue(setter, u"Version", REG_SZ, TextBytes(u"9.0")), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(full, u"Version").data, TextBytes(u"9.0"));
    for (HKEY key : {full, reader, setter}) EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST(Registry, BadArgumentsAndHandlesFailAsOnWindows) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Software");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software", 0, KEY_READ, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software", 0, nullptr, 0, KEY_READ, nullptr,
                              nullptr, nullptr),
              ERROR_BADKEY);
    HKEY result = key;
    EXPECT_EQ(RegOpenKeyExW(nullptr, u"Software", 0, KEY_READ, &result), ERROR_INVALID_HANDLE);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\Software", 0, KEY_READ, &result),
              ERROR_BAD_PATHNAME);
    // Only HKEY_CLASSES_ROOT accepts a leading backslash.
    RegCloseKey(CreateKey(HKEY_CLASSES_ROOT, u"CLSID"));
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"\\CLSID", 0, KEY_READ, &result), ERROR_SUCCESS);
    RegCloseKey(result);
    // A null or empty subkey opens the key again; a root needs no closing.
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &result), ERROR_SUCCESS);
    EXPECT_EQ(result, HKEY_CURRENT_USER);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(key, u"", 0, KEY_READ, &result), ERROR_SUCCESS);
    EXPECT_NE(result, key);
    EXPECT_EQ(RegCloseKey(result), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(ReadValue(key, u"x").status, ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetValue(key, u"x", REG_DWORD, DwordBytes(1)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, nullptr), ERROR_INVALID_PARAMETER);
}

TEST(Registry, KeyDeletionRules) {
    RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, u"Root\\Parent\\Child\\Grandchild"));
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Root\\Parent"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Root\\Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Root\\Parent\\Child\\Grandchild"), 0);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), ERROR_ACCESS_DENIED);

    HKEY parent = CreateKey(HKEY_LOCAL_MACHINE, u"Root\\Parent");
    ASSERT_EQ(SetValue(parent, u"v", REG_DWORD, DwordBytes(1)), ERROR_SUCCESS);
    RegCloseKey(CreateKey(parent, u"Other\\Deeper"));
    // Without a subkey the tree delete empties the key and keeps it.
    EXPECT_EQ(RegDeleteTreeW(parent, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(SubkeyNames(parent).empty());
    EXPECT_EQ(ReadValue(parent, u"v").status, ERROR_FILE_NOT_FOUND);
    RegCloseKey(CreateKey(parent, u"Again\\Deeper"));
    EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"Root"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"Root"), ERROR_FILE_NOT_FOUND);
    LONG status = 0;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, u"Root", KEY_READ, &status), nullptr);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    RegCloseKey(parent);

    // Deleting a key through its own handle with an empty name.
    HKEY self = CreateKey(HKEY_LOCAL_MACHINE, u"Self");
    EXPECT_EQ(RegDeleteKeyW(self, u""), ERROR_SUCCESS);
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, u"Self", KEY_READ, &status), nullptr);
    RegCloseKey(self);
}

TEST(Registry, HandleToDeletedKeyReportsKeyDeleted) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Gone\\Inner");
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, u"Gone"), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(key, u"v").status, ERROR_KEY_DELETED);
    EXPECT_EQ(SetValue(key, u"v", REG_DWORD, DwordBytes(1)), ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteValueW(key, u"v"), ERROR_KEY_DELETED);
    EXPECT_EQ(CreateKey(key, u"Child"), nullptr);
    LONG status = 0;
    EXPECT_EQ(OpenKey(key, u"Child", KEY_READ, &status), nullptr);
    EXPECT_EQ(status, ERROR_KEY_DELETED);
    char16_t name[16];
    DWORD length = 16;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegDeleteKeyW(key, u""), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST(Registry, SubkeysEnumerateInUpperCaseOrderThenEnd) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Enum");
    for (const char16_t* name : {u"beta", u"_under", u"Zeta", u"Alpha", u"gamma"}) {
        RegCloseKey(CreateKey(key, name));
    }
    // '_' sorts after the letters because names compare in upper case.
    EXPECT_EQ(SubkeyNames(key),
              (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma", u"Zeta", u"_under"}));

    char16_t name[8] = u"xxxxxxx";
    DWORD length = 5;  // "Alpha" needs 6 with its terminator
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    EXPECT_EQ(length, 5u);
    length = 6;
    FILETIME written{};
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, &written), 0);
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(std::u16string(name), u"Alpha");
    EXPECT_NE(written.dwHighDateTime, 0u);
    length = 8;
    EXPECT_EQ(RegEnumKeyExW(key, 5, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST(Registry, ValuesEnumerateInOrderOfCreation) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Values");
    ASSERT_EQ(SetValue(key, u"Show Saved Text", REG_DWORD, DwordBytes(1)), ERROR_SUCCESS);
    ASSERT_EQ(SetValue(key, u"Append URL", REG_SZ, TextBytes(u"foobar")), ERROR_SUCCESS);

    char16_t name[32];
    BYTE data[32];
    DWORD nameLength = 32, size = sizeof data, type = 0;
    ASSERT_EQ(RegEnumValueW(key, 0, name, &nameLength, nullptr, &type, data, &size), 0);
    EXPECT_EQ(std::u16string(name), u"Show Saved Text");
    EXPECT_EQ(nameLength, 15u);
    EXPECT_EQ(type, REG_DWORD);

    // Name too small: name and data untouched, type and data size reported.
    std::fill(std::begin(name), std::end(name), u'x');
    nameLength = 10;
    size = sizeof data;
    EXPECT_EQ(RegEnumValueW(key, 1, name, &nameLength, nullptr, &type, data, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(nameLength, 10u);
    EXPECT_EQ(size, 14u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(name[0], u'x');
    // Data too small: the name is given, the needed size reported.
    nameLength = 32;
    size = 2;
    EXPECT_EQ(RegEnumValueW(key, 1, name, &nameLength, nullptr, &type, data, &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(std::u16string(name), u"Append URL");
    EXPECT_EQ(size, 14u);
    nameLength = 32;
    EXPECT_EQ(RegEnumValueW(key, 2, name, &nameLength, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST(Registry, KeyAndValueNamesIgnoreCaseAndKeepTheirFirstCase) {
    HKEY key = CreateKey(HKEY_LOCAL_MACHINE, u"Software\\Kestro");
    ASSERT_EQ(SetValue(key, u"Ask Save Login", REG_DWORD, DwordBytes(1)), ERROR_SUCCESS);
    RegCloseKey(key);
    HKEY upper = OpenKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\KESTRO", KEY_ALL_ACCESS);
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(ReadValue(upper, u"ask save login").data, DwordBytes(1));
    ASSERT_EQ(SetValue(upper, u"ASK SAVE LOGIN", REG_DWORD, DwordBytes(0)), ERROR_SUCCESS);
    char16_t name[32];
    DWORD length = 32;
    ASSERT_EQ(RegEnumValueW(upper, 0, name, &length, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(std::u16string(name), u"Ask Save Login");
    length = 32;
    EXPECT_EQ(RegEnumValueW(upper, 1, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    DWORD disposition = 0;
    HKEY same = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"software\\kestro", 0, nullptr, 0, KEY_READ,
                              nullptr, &same, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    const std::string text = ReadFile(HiveFile("HKEY_LOCAL_MACHINE"));
    EXPECT_NE(
        text.find("[HKEY_LOCAL_MACHINE\\Software\\Kestro]\n\"Ask Save Login\"=dword:00000000"),
        std::string::npos);
    RegCloseKey(same);
    RegCloseKey(upper);
}

TEST(Registry, HomeIsReadAtEveryOperation) {
    HKEY key = CreateKey(HKEY_CURRENT_USER, u"Software\\First");
    ASSERT_NE(key, nullptr);
    RegCloseKey(key);
    {
        testing_support::TempDir other;
        const std::string previous = getenv("KESTRO_HOME");
        setenv("KESTRO_HOME", other.path().c_str(), 1);
        LONG status = 0;
        EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, u"Software\\First", KEY_READ, &status), nullptr);
        EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
        setenv("KESTRO_HOME", previous.c_str(), 1);
    }
    key = OpenKey(HKEY_CURRENT_USER, u"Software\\First", KEY_READ);
    EXPECT_NE(key, nullptr);
    RegCloseKey(key);
}
