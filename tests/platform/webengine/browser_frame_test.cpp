// The browser window on the live engine (off screen): its tabs are the
// session's windows, and its controls and keys go through their browser
// objects, so the add-ons hear of them.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "platform/webengine/browser_frame.h"
#include "tests/platform/webengine/live_test_support.h"

namespace live_test {
namespace {

using webengine::BrowserFrame;

class LiveFrame : public LiveTest {
protected:
    void SetUp() override {
        LiveTest::SetUp();
        m_frame = std::make_unique<BrowserFrame>(*webengine::LiveEngine::Instance());
        m_frame->show();
        QApplication::setActiveWindow(m_frame.get());
    }
    void TearDown() override {
        Session().CloseAll();
        m_frame.reset();
        LiveTest::TearDown();
    }
    void Keys(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(target, key, modifiers);
    }
    webengine::LiveTab& Current() {
        EXPECT_TRUE(m_frame->CurrentTab());
        return *m_frame->CurrentTab();
    }

    std::unique_ptr<BrowserFrame> m_frame;
};

TEST_F(LiveFrame, TabsAreTheSessionsWindowsAndFollowTheirPages) {
    const std::u16string second = AddPage("second.html", "<title>Second</title>");
    OpenLive(AddPage("first.html", "<title>First</title><p>1</p>"));
    EXPECT_EQ(1, m_frame->TabCount());
    EXPECT_EQ(QStringLiteral("First - Kestro"), m_frame->windowTitle());
    EXPECT_TRUE(m_frame->AddressBar()->text().endsWith(QStringLiteral("first.html")));

    Keys(m_frame.get(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_EQ(2, m_frame->TabCount());
    ASSERT_EQ(2u, Session().WindowCount());
    EXPECT_TRUE(m_frame->AddressBar()->hasFocus());
    EXPECT_EQ(QString(), m_frame->AddressBar()->text());
    QTest::keyClicks(m_frame->AddressBar(), QString::fromStdU16String(second));
    Keys(m_frame->AddressBar(), Qt::Key_Return);
    ASSERT_TRUE(WaitForEvent("DC second.html top"));
    EXPECT_EQ(u"Second", Session().Window(2)->Title());
    EXPECT_TRUE(WaitUntil([&] { return m_frame->windowTitle() == "Second - Kestro"; }));

    Keys(m_frame.get(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(WaitForEvent("OnQuit"));
    EXPECT_EQ(1, m_frame->TabCount());
    EXPECT_EQ(1u, Session().WindowCount());
    EXPECT_TRUE(WaitUntil([&] { return m_frame->windowTitle() == "First - Kestro"; }));
}

TEST_F(LiveFrame, BackForwardAndReloadAreNavigationsTheAddOnsSee) {
    const std::u16string two = AddPage("two.html", "<title>Two</title>");
    OpenLive(AddPage("one.html", "<title>One</title>"));
    Keys(m_frame.get(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(m_frame->AddressBar()->hasFocus());
    QTest::keyClicks(m_frame->AddressBar(), QString::fromStdU16String(two));
    Keys(m_frame->AddressBar(), Qt::Key_Return);
    ASSERT_TRUE(WaitForEvent("BN2 two.html top"));
    ASSERT_TRUE(WaitForEvent("DC two.html top"));

    Keys(m_frame.get(), Qt::Key_Left, Qt::AltModifier);
    ASSERT_TRUE(WaitForEvent("BN2 one.html top"));
    ASSERT_TRUE(WaitForEvent("DC one.html top"));
    EXPECT_FALSE(Current().Browser()->CanGoBack());
    Keys(m_frame.get(), Qt::Key_Right, Qt::AltModifier);
    ASSERT_TRUE(WaitForEvent("BN2 two.html top"));
    ASSERT_TRUE(WaitForEvent("DC two.html top"));
    Keys(m_frame.get(), Qt::Key_F5);
    EXPECT_TRUE(WaitForEvent("BN2 two.html top"));
    EXPECT_TRUE(WaitForEvent("DC two.html top"));
}

TEST_F(LiveFrame, TheStatusLineShowsTheLinkUnderThePointer) {
    webengine::LiveTab& tab = OpenLive(
        AddPage("links.html", "<title>L</title><p><a id=a href='target.html'>a link</a></p>"));
    EXPECT_EQ(QStringLiteral("Done"), m_frame->StatusText());
    ASSERT_EQ("", Session().WindowOf(tab.Browser())->Hover(Mirrored(tab, u"#a")));
    EXPECT_TRUE(WaitUntil([&] { return m_frame->StatusText().endsWith("target.html"); }))
        << m_frame->StatusText().toStdString();
}

TEST_F(LiveFrame, ClosingTheLastTabClosesTheWindow) {
    OpenLive(AddPage("only.html", "<title>Only</title>"));
    bool emptied = false;
    QObject::connect(m_frame.get(), &BrowserFrame::Emptied, [&] { emptied = true; });
    Keys(m_frame.get(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(emptied);
    EXPECT_FALSE(m_frame->isVisible());
    EXPECT_EQ(0u, Session().WindowCount());
}

}  // namespace
}  // namespace live_test
