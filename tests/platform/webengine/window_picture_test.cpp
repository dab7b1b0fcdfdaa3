// Screenshots of the browser window: the menus open over it are drawn
// where they are, and a context menu's submenus open by their labels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QWidget>

#include "platform/webengine/window_picture.h"
#include "tests/platform/webengine/live_test_support.h"

namespace live_test {
namespace {

class WindowPictures : public LiveTest {
protected:
    // The widgets come once the engine's application is there.
    void SetUp() override {
        LiveTest::SetUp();
        m_window = std::make_unique<QWidget>();
        m_window->setGeometry(0, 0, 400, 300);
        m_window->setStyleSheet(QStringLiteral("background: #204060"));
        m_window->show();
        m_top = std::make_unique<QMenu>();
        m_top->addAction(QStringLiteral("&Plain"));
        m_sub = m_top->addMenu(QStringLiteral("&Sub"));
        m_sub->addAction(QStringLiteral("First item"));
        m_sub->addAction(QStringLiteral("Second item"));
    }
    void TearDown() override {
        m_top.reset();
        m_window.reset();
        LiveTest::TearDown();
    }
    // Runs the context menu as a page's does; the opener acts meanwhile.
    std::string Open(const QStringList& path) {
        std::string error = "nothing shown";
        webengine::MenuPathOpener opener(path, [&](QMenu* last, const std::string& failure) {
            error = failure;
            if (!last) return;
            m_shown = last->geometry();
            m_picture = webengine::WindowPicture(*m_window);
            m_expected = last->grab().toImage();
        });
        m_top->exec(m_window->mapToGlobal(QPoint(20, 20)));
        return error;
    }

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<QMenu> m_top;
    QMenu* m_sub = nullptr;
    QRect m_shown;
    QImage m_picture, m_expected;
};

TEST_F(WindowPictures, TheSubmenuOpensAndIsDrawnWhereItIs) {
    ASSERT_EQ("", Open({QStringLiteral("Sub")}));
    EXPECT_FALSE(m_sub->isVisible());  // closed again, so the caller went on
    EXPECT_EQ(m_window->size(), m_picture.size() / m_picture.devicePixelRatio());
    const QRect inPicture = m_shown.translated(-m_window->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(m_picture.rect().contains(inPicture)) << inPicture.x() << "," << inPicture.y();
    // The submenu's own pixels are in the picture (not the window's).
    int same = 0, all = 0;
    for (int y = 0; y < m_expected.height(); y += 3)
        for (int x = 0; x < m_expected.width(); x += 3, ++all)
            same += m_picture.pixel(inPicture.topLeft() + QPoint(x, y)) == m_expected.pixel(x, y);
    EXPECT_GT(same, all * 9 / 10);
}

TEST_F(WindowPictures, AMissingLabelClosesTheMenuWithAnError) {
    EXPECT_EQ("the menu has no submenu Nothing", Open({QStringLiteral("Nothing")}));
    EXPECT_EQ("the menu has no submenu Plain", Open({QStringLiteral("Plain")}));
    EXPECT_FALSE(m_top->isVisible());
}

}  // namespace
}  // namespace live_test
