#include <gtest/gtest.h>

#include "platform/ui/dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/string_resource.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/platform/ui/test_resources.h"
#include "tests/support/temp_home.h"

namespace {

class Library {
public:
    Library()
        : m_module(LoadLibraryW(
              Utf8ToUtf16(testing_support::TestBinaryDirectory() + "/UiResources.so").c_str())) {}
    ~Library() { FreeLibrary(m_module); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module;
};

}  // namespace

TEST(Strings, LoadStringTruncatesToTheCallersBuffer) {
    char16_t buffer[32];
    EXPECT_EQ(LoadStringW(nullptr, ui_testing::kProductName, buffer, 32), 6);
    EXPECT_EQ(std::u16string(buffer), u"Kestro");
    EXPECT_EQ(LoadStringW(nullptr, ui_testing::kLongString, buffer, 6), 5);
    EXPECT_EQ(std::u16string(buffer), u"Speak");
    EXPECT_EQ(LoadStringW(nullptr, ui_testing::kLongString, buffer, 1), 0);
    EXPECT_EQ(buffer[0], u'\0');
    LPCWSTR direct = nullptr;
    EXPECT_EQ(LoadStringW(nullptr, 114, reinterpret_cast<LPWSTR>(&direct), 0), 13);
    EXPECT_EQ(std::u16string(direct, 13), u"Stop Speaking");
    EXPECT_EQ(LoadStringW(nullptr, 999, buffer, 32), 0);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

TEST(Strings, IconsComeFromTheModule) {
    const HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(128));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(IconImage(icon)->imageSize, 4u);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(129)), nullptr);
}

TEST(ModuleResources, EachModuleKeepsItsOwnStringsMenusAndDialogs) {
    Library library;
    ASSERT_NE(library.get(), nullptr);
    char16_t buffer[32];
    EXPECT_EQ(LoadStringW(library.get(), 101, buffer, 32), 14);
    EXPECT_EQ(std::u16string(buffer), u"Library Kestro");
    EXPECT_EQ(LoadStringW(nullptr, 101, buffer, 32), 6);
    EXPECT_EQ(LoadStringW(library.get(), 102, buffer, 32), 0);  // only the program has it

    const HMENU libraryMenu = LoadMenuW(library.get(), MAKEINTRESOURCEW(400));
    const HMENU programMenu = LoadMenuW(nullptr, MAKEINTRESOURCEW(400));
    EXPECT_EQ(GetMenuItemCount(libraryMenu), 1);
    EXPECT_EQ(GetMenuItemCount(programMenu), 2);
    DestroyMenu(libraryMenu);
    DestroyMenu(programMenu);

    EXPECT_EQ(std::u16string(LoadDialogTemplate(library.get(), MAKEINTRESOURCEW(300))->title),
              u"Library dialog");
    EXPECT_EQ(std::u16string(LoadDialogTemplate(nullptr, MAKEINTRESOURCEW(300))->title),
              u"Kestro - Test controls");
}

TEST(ModuleResources, ALibrarysDialogUsesItsResourcesAndTheProgramsBackend) {
    Library library;
    ASSERT_NE(library.get(), nullptr);
    const auto run =
        reinterpret_cast<INT_PTR (*)(HWND)>(GetProcAddress(library.get(), "RunLibraryDialog"));
    ASSERT_NE(run, nullptr);
    ui_testing::ScriptedUi ui;
    ui.Answer(u"dialog \"Library dialog\"");
    ui.Answer(u"press 1");
    const HWND page = CreatePlainWindow(u"Page", nullptr, nullptr);
    EXPECT_EQ(run(page), IDOK) << ui.backend().Failure();
    EXPECT_EQ(ui.backend().Shown().size(), 1u);
    DestroyWindow(page);
}
