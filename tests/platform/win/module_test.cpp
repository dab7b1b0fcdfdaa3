#include "platform/win/module.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/last_error.h"
#include "platform/win/text.h"
#include "tests/support/temp_home.h"

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::TestBinaryDirectory;

namespace {

std::vector<std::pair<std::string, DWORD>> g_events;

using Event = std::pair<std::string, DWORD>;

std::u16string TestFile(const std::string& name) {
    return Utf8ToUtf16(TestBinaryDirectory() + "/" + name);
}

std::u16string FileNameOf(HMODULE module) {
    char16_t buffer[1024];
    const DWORD length = GetModuleFileNameW(module, buffer, 1024);
    return std::u16string(buffer, length);
}

template <typename Function>
Function Proc(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(GetProcAddress(module, name));
}

class Modules : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        unsetenv("KESTRO_TEST_REFUSED_WORD");
    }
    void TearDown() override { unsetenv("KESTRO_TEST_REFUSED_WORD"); }
};

}  // namespace

// The test libraries report their DllMain calls here.
extern "C" void TestLibraryEvent(const char* library, DWORD reason) {
    g_events.emplace_back(library, reason);
}

TEST_F(Modules, LoadsByADifferentlyCasedNameAndKnowsItself) {
    HMODULE module = LoadLibraryW(TestFile("testaccept.SO").c_str());
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(g_events, (std::vector<Event>{{"accept", DLL_PROCESS_ATTACH}}));
    EXPECT_EQ(FileNameOf(module), TestFile("TestAccept.so"));

    EXPECT_EQ(Proc<int (*)(int, int)>(module, "AcceptAdd")(2, 3), 5);
    EXPECT_EQ(Proc<HMODULE (*)()>(module, "AcceptInstance")(), module);
    EXPECT_EQ(Proc<HMODULE (*)()>(module, "AcceptInstanceByAddress")(), module);
    EXPECT_EQ(GetModuleHandleW(u"TESTACCEPT.SO"), module);
    EXPECT_EQ(GetModuleHandleW(u"TestAccept.dll"), module);
    EXPECT_EQ(GetModuleHandleW(TestFile("TestAccept.so").c_str()), module);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, BareDllNameIsFoundBesideTheProgram) {
    HMODULE module = LoadLibraryW(u"TESTACCEPT.DLL");
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(FileNameOf(module), TestFile("TestAccept.so"));
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, ReferencesAreCountedAndDetachComesOnce) {
    HMODULE first = LoadLibraryW(TestFile("TestAccept.so").c_str());
    HMODULE second = LoadLibraryW(TestFile("TESTACCEPT.so").c_str());
    HMODULE third = LoadLibraryW(u"testaccept.so");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(third, first);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(GetModuleHandleW(u"TestAccept.so"), first);
    EXPECT_EQ(g_events, (std::vector<Event>{{"accept", DLL_PROCESS_ATTACH}}));

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(g_events,
              (std::vector<Event>{{"accept", DLL_PROCESS_ATTACH}, {"accept", DLL_PROCESS_DETACH}}));
    EXPECT_EQ(GetModuleHandleW(u"TestAccept.so"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(GetModuleFileNameW(first, nullptr, 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST_F(Modules, DllMainRefusesAProcessByItsExecutablePath) {
    // The test program's own name, in another letter case, stands in for
    // the name of the process a library refuses.
    setenv("KESTRO_TEST_REFUSED_WORD", "WIN_Module_TEST", 1);
    EXPECT_EQ(LoadLibraryW(TestFile("TestRefuse.so").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_DLL_INIT_FAILED);
    EXPECT_EQ(g_events,
              (std::vector<Event>{{"refuse", DLL_PROCESS_ATTACH}, {"refuse", DLL_PROCESS_DETACH}}));
    EXPECT_EQ(GetModuleHandleW(u"TestRefuse.so"), nullptr);

    g_events.clear();
    setenv("KESTRO_TEST_REFUSED_WORD", "explorer.exe", 1);
    HMODULE module = LoadLibraryW(TestFile("TestRefuse.so").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(g_events,
              (std::vector<Event>{{"refuse", DLL_PROCESS_ATTACH}, {"refuse", DLL_PROCESS_DETACH}}));
}

TEST_F(Modules, LibrarySeesTheFilesBesideIt) {
    TempDir folder;
    fs::copy_file(Utf16ToUtf8(TestFile("TestAccept.so")), folder.File("Farrow.so"));
    testing_support::WriteFile(folder.File("login.dat"), "db");
    HMODULE module = LoadLibraryW(Utf8ToUtf16(folder.File("FARROW.SO")).c_str());
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_EQ(FileNameOf(module), Utf8ToUtf16(folder.File("Farrow.so")));
    EXPECT_TRUE(Proc<BOOL (*)()>(module, "AcceptFoundLoginDat")());
    EXPECT_TRUE(FreeLibrary(module));

    module = LoadLibraryW(TestFile("TestAccept.so").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(Proc<BOOL (*)()>(module, "AcceptFoundLoginDat")());
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(Modules, LoadFailures) {
    EXPECT_EQ(LoadLibraryW(TestFile("NoSuchLibrary.so").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryW(u"NoSuchLibrary.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    TempDir folder;
    testing_support::WriteFile(folder.File("text.so"), "not a library");
    EXPECT_EQ(LoadLibraryW(Utf8ToUtf16(folder.File("text.so")).c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BAD_EXE_FORMAT);
    EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(Modules, GetProcAddressFindsOnlyTheImagesOwnExports) {
    HMODULE module = LoadLibraryW(TestFile("TestAccept.so").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, "malloc"), nullptr);  // the C library's, not its own
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, reinterpret_cast<LPCSTR>(1)), nullptr);  // ordinal
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetProcAddress(module, "AcceptAdd"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

    EXPECT_EQ(GetProcAddress(nullptr, "TestLibraryEvent"),
              reinterpret_cast<FARPROC>(&TestLibraryEvent));
}

TEST_F(Modules, ProgramModuleAndTruncatedFileNames) {
    HMODULE program = GetModuleHandleW(nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(ModuleFromAddress(reinterpret_cast<const void*>(&TestFile)), program);
    EXPECT_EQ(ModuleFromAddress(nullptr), nullptr);
    const std::u16string exe = Utf8ToUtf16(fs::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(FileNameOf(nullptr), exe);
    EXPECT_EQ(FileNameOf(program), exe);
    EXPECT_EQ(GetModuleHandleW(u"WIN_MODULE_TEST"), program);

    char16_t buffer[6] = {u'x', u'x', u'x', u'x', u'x', u'x'};
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 5), 5u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::u16string(buffer), exe.substr(0, 4));
    EXPECT_EQ(buffer[5], u'x');
    EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_TRUE(FreeLibrary(program));  // never unloads the program
    EXPECT_EQ(GetModuleHandleW(nullptr), program);
}

TEST_F(Modules, TheSystemLibraryIsAlwaysLoadedAndExportsByName) {
    HMODULE kernel32 = GetModuleHandleW(u"kernel32.dll");
    ASSERT_NE(kernel32, nullptr);
    EXPECT_EQ(GetModuleHandleW(u"KERNEL32.DLL"), kernel32);
    EXPECT_EQ(LoadLibraryW(u"Kernel32.dll"), kernel32);
    EXPECT_TRUE(FreeLibrary(kernel32));
    EXPECT_TRUE(FreeLibrary(kernel32));  // never unloaded, however often freed
    EXPECT_EQ(GetModuleHandleW(u"kernel32.dll"), kernel32);
    EXPECT_NE(kernel32, GetModuleHandleW(nullptr));
    EXPECT_EQ(FileNameOf(kernel32), u"kernel32.dll");

    EXPECT_NE(GetProcAddress(kernel32, "GetUserDefaultUILanguage"), nullptr);
    EXPECT_NE(GetProcAddress(kernel32, "GetUserDefaultLangID"), nullptr);
    EXPECT_EQ(GetProcAddress(kernel32, "getuserdefaultuilanguage"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(kernel32, "DllMain"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    // No file and no image behind it: a path does not find it.
    EXPECT_EQ(GetModuleHandleW(u"/usr/lib/kernel32.dll"), nullptr);
    EXPECT_EQ(ModuleFromAddress(
                  reinterpret_cast<const void*>(GetProcAddress(kernel32, "GetUserDefaultLangID"))),
              GetModuleHandleW(nullptr));
}
