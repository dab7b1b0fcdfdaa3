// Browser sessions on the live engine, off screen: the engine starts once
// per test program (Chromium cannot start twice); each test gets the
// browser tests' fixture (pages folder, recording add-on, scripted UI).
// Waits run Qt's event loop until a condition holds, with a safety limit
// so a fault fails the test instead of hanging it.
#pragma once

#include <QVariant>
#include <functional>
#include <string>

#include "platform/webengine/live_engine.h"
#include "platform/webengine/live_tab.h"
#include "tests/platform/browser/browser_test_support.h"

namespace live_test {

bool WaitUntil(const std::function<bool()>& condition);

class LiveTest : public browser_test::BrowserTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a window and waits for its page's DocumentComplete.
    webengine::LiveTab& OpenLive(const std::u16string& url);
    webengine::LiveTab* TabOf(browser::BrowserWindow& window);
    // Waits until the event log holds this entry (after those seen).
    bool WaitForEvent(const std::string& entry);
    // Runs a script in the page's own world; its result.
    QVariant PageScript(webengine::LiveTab& tab, const QString& script);
    // Pointer acts as a user's, at the centre of the element (in the
    // page, or "FRAME-SELECTOR >> SELECTOR" inside a frame).
    void ClickAt(webengine::LiveTab& tab, const QString& selector, Qt::MouseButton button,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool twice = false);
    void TypeText(webengine::LiveTab& tab, const QString& text);
    // The element of the mirrored top document.
    browser::PageElement Mirrored(webengine::LiveTab& tab, std::u16string_view selector);
    // Waits until the live page has answered every batch of writes sent.
    bool WaitForWrites(webengine::LiveTab& tab, std::size_t batches);

    std::size_t m_seen = 0;  // event log entries WaitForEvent has passed
};

}  // namespace live_test
