#include <gtest/gtest.h>

#include <QMenu>
#include <vector>

#include "platform/ui/menu.h"
#include "platform/ui/qt/qt_backend.h"
#include "platform/ui/window.h"
#include "tests/platform/ui/qt/ui_driver.h"
#include "tests/platform/ui/test_resources.h"

using ui_testing::ShownMenu;
using ui_testing::UiDriver;

namespace {

std::vector<HMENU> g_initialised;

// The owner's procedure greys "Open Link" when the Link popup is about to show.
LRESULT OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP) {
        const auto popup = reinterpret_cast<HMENU>(wParam);
        g_initialised.push_back(popup);
        EnableMenuItem(popup, 2130, MF_BYCOMMAND | MF_GRAYED);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

QAction* FindAction(QMenu* menu, const QString& label) {
    for (QAction* action : menu->actions()) {
        if (action->text() == label) return action;
    }
    return nullptr;
}

class QtMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::unique_ptr<UiBackend> backend = CreateQtBackend();
        ASSERT_TRUE(backend);
        InstallUiBackend(std::move(backend));
        g_initialised.clear();
        m_owner = CreatePlainWindow(u"Page", OwnerProc, nullptr);
        m_menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(ui_testing::kContextMenu));
        ASSERT_TRUE(m_menu);
    }
    void TearDown() override {
        DestroyMenu(m_menu);
        DestroyWindow(m_owner);
        InstallUiBackend(nullptr);
    }

    HWND m_owner = nullptr;
    HMENU m_menu = nullptr;
};

TEST_F(QtMenuTest, OpensNestedPopupsAfterInitMenuPopupAndReturnsTheChosenItem) {
    bool openLinkGreyed = false;
    std::size_t initsBeforeLink = 0;
    UiDriver driver;
    driver.Then(ShownMenu, [&] {
        initsBeforeLink = g_initialised.size();
        QMenu* link = FindAction(ShownMenu(), "Link")->menu();
        link->popup(QPoint(40, 40));
        openLinkGreyed = !FindAction(link, "Open Link")->isEnabled();
        FindAction(link, "Open in New Window")->trigger();
    });
    driver.Start();

    const BOOL chosen =
        TrackPopupMenu(m_menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, 10, 10, 0, m_owner, nullptr);
    EXPECT_TRUE(driver.Finished()) << driver.Failure();
    EXPECT_EQ(chosen, 2137);
    ASSERT_EQ(g_initialised.size(), 2u);
    EXPECT_EQ(initsBeforeLink, 1u);
    EXPECT_EQ(g_initialised[0], m_menu);
    EXPECT_EQ(g_initialised[1], GetSubMenu(m_menu, 1));
    EXPECT_TRUE(openLinkGreyed);
}

TEST_F(QtMenuTest, DismissedMenuReturnsZero) {
    UiDriver driver;
    driver.Then(ShownMenu, [] { ShownMenu()->close(); });
    driver.Start();
    EXPECT_EQ(TrackPopupMenu(m_menu, TPM_RETURNCMD, 10, 10, 0, m_owner, nullptr), 0);
    EXPECT_TRUE(driver.Finished()) << driver.Failure();
}

}  // namespace
