#include "tests/platform/webengine/live_test_support.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWebEngineScript>

#include "platform/browser/browser_session.h"
#include "platform/webengine/event_wait.h"
#include "platform/win/text.h"

namespace live_test {

namespace {

webengine::LiveEngine& Engine() {
    static webengine::LiveEngine* engine = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return webengine::LiveEngine::Start(false);
    }();
    return *engine;
}

// Chromium's threads must be gone before the test program exits.
class EngineShutdown final : public ::testing::Environment {
public:
    void TearDown() override {
        webengine::LiveEngine* engine = webengine::LiveEngine::Instance();
        if (!engine) return;
        browser::BrowserSession::Instance().CloseAll();
        webengine::WaitUntil([engine] { return engine->Tabs().empty(); });
        webengine::LiveEngine::Stop();
    }
};
[[maybe_unused]] ::testing::Environment* const g_shutdown =
    ::testing::AddGlobalTestEnvironment(new EngineShutdown);

void Send(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
          Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition) {
    return webengine::WaitUntil(condition);
}

void LiveTest::SetUp() {
    ASSERT_NE(nullptr, &Engine());
    BrowserTest::SetUp();
    LoadRecordingAddOn();
    m_seen = 0;
}

void LiveTest::TearDown() {
    BrowserTest::TearDown();
    // Closed tabs go with the event loop's deferred deletions.
    WaitUntil([] { return webengine::LiveEngine::Instance()->Tabs().empty(); });
}

webengine::LiveTab* LiveTest::TabOf(browser::BrowserWindow& window) {
    return Engine().TabOf(static_cast<browser::WebBrowser*>(window.Browser()));
}

webengine::LiveTab& LiveTest::OpenLive(const std::u16string& url) {
    browser::BrowserWindow* window = Session().OpenWindow(url);
    EXPECT_TRUE(window);
    webengine::LiveTab* tab = window ? TabOf(*window) : nullptr;
    EXPECT_TRUE(tab);
    const std::string name = Utf16ToUtf8(url.substr(url.rfind('/') + 1));
    EXPECT_TRUE(WaitForEvent("DC " + name + " top")) << name;
    return *tab;
}

bool LiveTest::WaitForEvent(const std::string& entry) {
    const bool found = WaitUntil([&] {
        auto& log = browser_test::EventLog();
        for (std::size_t i = m_seen; i < log.size(); ++i)
            if (log[i] == entry) {
                m_seen = i + 1;
                return true;
            }
        return false;
    });
    if (!found) {
        std::string all;
        for (const std::string& e : browser_test::EventLog()) all += e + "\n";
        ADD_FAILURE() << "no event " << entry << "; the log:\n" << all;
    }
    return found;
}

QVariant LiveTest::PageScript(webengine::LiveTab& tab, const QString& script) {
    QVariant result;
    bool done = false;
    tab.Page()->runJavaScript(script, QWebEngineScript::MainWorld, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return done; })) << script.toStdString();
    return result;
}

void LiveTest::ClickAt(webengine::LiveTab& tab, const QString& selector, Qt::MouseButton button,
                       Qt::KeyboardModifiers modifiers, bool twice) {
    const QStringList parts = selector.split(QStringLiteral(" >> "));
    const QString find =
        parts.size() == 2
            ? QStringLiteral(
                  "(function(){var f=document.querySelector('%1');var e=f.contentDocument."
                  "querySelector('%2');var a=f.getBoundingClientRect(),b=e."
                  "getBoundingClientRect();return [a.left+b.left+b.width/2,a.top+b.top+b."
                  "height/2];})()")
                  .arg(parts[0], parts[1])
            : QStringLiteral(
                  "(function(){var e=document.querySelector('%1');e.scrollIntoView();var "
                  "b=e.getBoundingClientRect();return [b.left+b.width/2,b.top+b.height/2];})()")
                  .arg(selector);
    const QVariantList centre = PageScript(tab, find).toList();
    ASSERT_EQ(2, centre.size()) << selector.toStdString();
    const QPointF at(centre[0].toDouble(), centre[1].toDouble());
    QWidget* target = tab.View()->focusProxy();
    ASSERT_TRUE(target);
    Send(target, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, modifiers);
    Send(target, QEvent::MouseButtonPress, at, button, button, modifiers);
    Send(target, QEvent::MouseButtonRelease, at, button, Qt::NoButton, modifiers);
    if (twice) {
        // The engine counts the clicks itself, as it does for a person's.
        Send(target, QEvent::MouseButtonPress, at, button, button, modifiers);
        Send(target, QEvent::MouseButtonRelease, at, button, Qt::NoButton, modifiers);
    }
}

void LiveTest::TypeText(webengine::LiveTab& tab, const QString& text) {
    QWidget* target = tab.View()->focusProxy();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
    }
}

browser::PageElement LiveTest::Mirrored(webengine::LiveTab& tab, std::u16string_view selector) {
    browser::PageElement found;
    browser::BrowserWindow* window = browser::BrowserSession::Instance().WindowOf(tab.Browser());
    EXPECT_TRUE(window);
    if (window) {
        EXPECT_EQ("", window->FindElement(selector, found));
    }
    return found;
}

bool LiveTest::WaitForWrites(webengine::LiveTab& tab, std::size_t batches) {
    return WaitUntil([&] { return tab.WriteBatchesDone() >= batches; });
}

}  // namespace live_test
