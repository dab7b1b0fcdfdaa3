#include <gtest/gtest.h>

#include "platform/ui/menu.h"
#include "platform/ui/string_resource.h"
#include "platform/win/last_error.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/platform/ui/test_resources.h"

using ui_testing::ScriptedUi;

namespace {

std::vector<std::u16string> Labels(const std::vector<MenuItemSnapshot>& items) {
    std::vector<std::u16string> labels;
    for (const MenuItemSnapshot& item : items) labels.push_back(item.separator ? u"-" : item.label);
    return labels;
}

const MenuItemSnapshot* Item(const std::vector<MenuItemSnapshot>& items, UINT id) {
    for (const MenuItemSnapshot& item : items) {
        if (!item.popup && item.id == id) return &item;
        if (const MenuItemSnapshot* found = Item(item.submenu, id)) return found;
    }
    return nullptr;
}

// The browser's link submenu with the add-on's menu inserted in front, as
// a right-click builds it.
struct ContextMenu {
    HMENU browser = LoadMenuW(nullptr, MAKEINTRESOURCEW(ui_testing::kContextMenu));
    HMENU link = GetSubMenu(browser, 1);
    HMENU addon = LoadMenuW(nullptr, MAKEINTRESOURCEW(ui_testing::kAddonMenu));

    ContextMenu() {
        EXPECT_TRUE(InsertMenuW(link, 0, MF_BYPOSITION | MF_POPUP,
                                reinterpret_cast<UINT_PTR>(addon), u"Kestro"));
        EXPECT_TRUE(InsertMenuW(link, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr));
    }
    ~ContextMenu() {
        DestroyMenu(addon);
        DestroyMenu(browser);
    }
};

}  // namespace

TEST(Menus, APopupInsertedAtPositionZeroComesFirst) {
    ContextMenu menu;
    ASSERT_NE(menu.link, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu.link), 7);
    EXPECT_EQ(GetSubMenu(menu.link, 0), menu.addon);
    EXPECT_EQ(GetMenuItemID(menu.link, 0), static_cast<UINT>(-1));  // a popup has no command
    EXPECT_EQ(GetMenuItemID(menu.link, 2), 2130u);
    EXPECT_EQ(Labels(SnapshotMenu(menu.link)),
              (std::vector<std::u16string>{u"Kestro", u"-", u"Open Link", u"Open in New Window",
                                           u"-", u"Encoding", u"More"}));
}

TEST(Menus, CommandsAreFoundInsideNestedPopups) {
    ContextMenu menu;
    EXPECT_EQ(EnableMenuItem(menu.browser, 32770, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED),
              MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(menu.browser, 99999, MF_BYCOMMAND | MF_GRAYED), static_cast<UINT>(-1));
    EXPECT_TRUE(DeleteMenu(menu.browser, 32810, MF_BYCOMMAND));
    EXPECT_FALSE(DeleteMenu(menu.browser, 32810, MF_BYCOMMAND));
    EXPECT_TRUE(ModifyMenuW(menu.browser, 2294, MF_BYCOMMAND | MF_STRING, 2294, u"Unicode"));
    // Before the command 2137: by command, inside the link popup.
    EXPECT_TRUE(
        InsertMenuW(menu.browser, 2137, MF_BYCOMMAND | MF_STRING, 2138, u"Open in New Tab"));

    const std::vector<MenuItemSnapshot> shown = SnapshotMenu(menu.browser);
    EXPECT_FALSE(Item(shown, 32770)->enabled);
    EXPECT_EQ(Item(shown, 32810), nullptr);
    EXPECT_EQ(Item(shown, 2294)->label, u"Unicode");
    EXPECT_FALSE(Item(shown, 2294)->checked);  // a modified item takes the new flags
    EXPECT_EQ(Labels(SnapshotMenu(menu.addon)),
              (std::vector<std::u16string>{u"Save Text of Selection...", u"-", u"Options..."}));
    EXPECT_EQ(GetMenuItemID(menu.link, 3), 2138u);
    EXPECT_EQ(GetMenuItemID(menu.link, 4), 2137u);
}

TEST(Menus, SetMenuItemInfoAttachesAPopupByCommand) {
    ContextMenu menu;
    const HMENU encodings = CreatePopupMenu();
    AppendMenuW(encodings, MF_STRING, 3001, u"Arabic");
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = encodings;
    EXPECT_TRUE(SetMenuItemInfoW(menu.browser, 2292, FALSE, &info));
    EXPECT_EQ(GetSubMenu(menu.link, 6), encodings);
    EXPECT_EQ(Labels(SnapshotMenu(encodings)), (std::vector<std::u16string>{u"Arabic"}));
    info.hSubMenu = reinterpret_cast<HMENU>(0x1234);
    EXPECT_FALSE(SetMenuItemInfoW(menu.browser, 2292, FALSE, &info));
    EXPECT_FALSE(SetMenuItemInfoW(menu.browser, 777, FALSE, &info));
    DestroyMenu(menu.browser);  // destroys the attached popup too
    EXPECT_FALSE(IsMenu(encodings));
    menu.browser = CreateMenu();
}

namespace {

WNDPROC g_pageProc = nullptr;
HMENU g_addonMenu = nullptr;
std::vector<HMENU> g_initialised;

LRESULT PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The add-on's procedure, swapped in only while the menu is open.
LRESULT MenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP) {
        g_initialised.push_back(reinterpret_cast<HMENU>(wParam));
        if (reinterpret_cast<HMENU>(wParam) == g_addonMenu) {
            EnableMenuItem(g_addonMenu, 32770, MF_BYCOMMAND | MF_ENABLED);
            return 0;
        }
    }
    return CallWindowProcW(g_pageProc, window, message, wParam, lParam);
}

}  // namespace

TEST(Menus, InitMenuPopupReachesTheSwappedProcedureBeforeTheMenuIsShown) {
    ScriptedUi ui;
    ui.Answer(u"menu Kestro>Save Text of Selection...");
    ContextMenu menu;
    EnableMenuItem(menu.addon, 32770, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    g_addonMenu = menu.addon;
    g_initialised.clear();
    const HWND page = CreatePlainWindow(u"Page", PageProc, nullptr);
    g_pageProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuProc)));
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.link, TPM_RIGHTBUTTON | TPM_RETURNCMD, 10, 20, 0, page, nullptr));
    SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pageProc));
    EXPECT_EQ(chosen, 32770u) << ui.backend().Failure();
    ASSERT_FALSE(g_initialised.empty());
    EXPECT_EQ(g_initialised.front(), menu.link);
    EXPECT_NE(std::find(g_initialised.begin(), g_initialised.end(), menu.addon),
              g_initialised.end());
    ASSERT_NE(ui.backend().LastMenu(), nullptr);
    EXPECT_TRUE(Item(*ui.backend().LastMenu(), 32770)->enabled);  // as shown, after the handler
    DestroyWindow(page);
}

TEST(Menus, DismissingReturnsZeroAndDisabledItemsCannotBeChosen) {
    ScriptedUi ui;
    ContextMenu menu;
    const HWND page = CreatePlainWindow(u"Page", nullptr, nullptr);
    ui.Answer(u"menu -");
    EXPECT_EQ(TrackPopupMenu(menu.link, TPM_RIGHTBUTTON | TPM_RETURNCMD, 0, 0, 0, page, nullptr),
              0);
    EXPECT_TRUE(ui.backend().Failure().empty());

    ui.Answer(u"menu Forward");
    EXPECT_EQ(TrackPopupMenu(GetSubMenu(menu.browser, 0), TPM_RETURNCMD, 0, 0, 0, page, nullptr),
              0);
    EXPECT_NE(ui.backend().Failure().find("the menu item \"Forward\" is disabled"),
              std::string::npos);
    EXPECT_NE(ui.backend().Failure().find("\"Forward\" (2262) disabled"), std::string::npos);
    DestroyWindow(page);
}

TEST(Menus, WithoutReturnCommandTheChoiceIsSentToTheOwner) {
    ScriptedUi ui;
    ContextMenu menu;
    static UINT s_command;
    s_command = 0;
    const HWND page = CreatePlainWindow(
        u"Page",
        [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m == WM_COMMAND) s_command = LOWORD(wp);
            return DefWindowProcW(w, m, wp, lp);
        },
        nullptr);
    ui.Answer(u"menu Encoding>Western European");
    EXPECT_TRUE(TrackPopupMenu(menu.link, TPM_RIGHTBUTTON, 0, 0, 0, page, nullptr));
    EXPECT_EQ(s_command, 2293u);
    DestroyWindow(page);
}

TEST(Menus, BadHandlesFail) {
    const HMENU popup = CreatePopupMenu();
    DestroyMenu(popup);
    EXPECT_FALSE(IsMenu(popup));
    EXPECT_EQ(GetMenuItemCount(popup), -1);
    EXPECT_FALSE(AppendMenuW(popup, MF_STRING, 1, u"x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}
