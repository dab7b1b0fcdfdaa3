#include "host/live_host.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/browser/browser_session.h"
#include "platform/ui/qt/qt_backend.h"
#include "platform/webengine/browser_frame.h"
#include "platform/webengine/event_wait.h"
#include "platform/webengine/live_engine.h"
#include "platform/webengine/live_tab.h"
#include "platform/webengine/window_picture.h"
#include "platform/win/text.h"

namespace {

void MapHosts(const LiveHostOptions& options) {
    browser::BrowserSession& session = browser::BrowserSession::Instance();
    for (const auto& [host, folder] : options.hosts)
        session.MapHost(Utf8ToUtf16(host), Utf8ToUtf16(folder));
}

std::string FirstPage(const LiveHostOptions& options) {
    return options.url.empty() ? "about:blank" : options.url;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "kestro-host: %s\n", message.c_str());
    return 1;
}

// Right-clicks the element and opens the menu path; the picture is taken
// while the last menu is shown.
int PictureWithMenu(webengine::BrowserFrame& frame, browser::BrowserWindow& window,
                    const LiveHostOptions& options, QImage& picture) {
    browser::PageElement element;
    if (std::string error = window.FindElement(Utf8ToUtf16(options.menuTarget), element);
        !error.empty())
        return Fail(error);
    QStringList path;
    if (options.menuPath != "-")
        path = QString::fromStdString(options.menuPath).split(QLatin1Char('>'));
    std::string menuError = "no menu was shown";
    webengine::MenuPathOpener opener(path, [&](QMenu*, const std::string& error) {
        menuError = error;
        if (error.empty()) picture = webengine::WindowPicture(frame);
    });
    if (std::string error = window.RightClick(element); !error.empty()) return Fail(error);
    return menuError.empty() ? 0 : Fail(menuError);
}

int TakeScreenshot(webengine::BrowserFrame& frame, const LiveHostOptions& options) {
    // The whole screen, so that menus land where they are drawn.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        frame.setGeometry(screen->availableGeometry());
    frame.show();
    browser::BrowserWindow* window =
        browser::BrowserSession::Instance().OpenWindow(Utf8ToUtf16(FirstPage(options)));
    webengine::LiveTab* tab = frame.CurrentTab();
    if (!window || !tab) return Fail("no window could be opened");
    if (!webengine::WaitUntil([&] { return tab->View() && webengine::HasPainted(*tab->View()); }))
        return Fail("the page was not painted within 20 seconds");
    QImage picture;
    if (!options.menuTarget.empty()) {
        if (const int status = PictureWithMenu(frame, *window, options, picture); status != 0)
            return status;
    } else {
        picture = webengine::WindowPicture(frame);
    }
    if (picture.isNull() || !picture.save(QString::fromStdString(options.screenshot), "PNG"))
        return Fail("cannot write " + options.screenshot);
    return 0;
}

int Screenshot(const LiveHostOptions& options) {
    webengine::BrowserFrame frame(*webengine::LiveEngine::Instance());
    const int status = TakeScreenshot(frame, options);
    // The windows close while their views are still in the frame.
    browser::BrowserSession::Instance().CloseAll();
    return status;
}

int OnScreen(const LiveHostOptions& options) {
    webengine::LiveEngine* engine = webengine::LiveEngine::Instance();
    auto* frame = new webengine::BrowserFrame(*engine);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(frame, &QObject::destroyed, qApp, &QCoreApplication::quit);
    frame->show();
    browser::BrowserSession::Instance().OpenWindow(Utf8ToUtf16(FirstPage(options)));
    // The program ends when the person closes the window (or its last tab).
    return QApplication::exec() == 0 ? 0 : 1;
}

}  // namespace

int RunLiveHost(const LiveHostOptions& options) {
    InstallQtBackendFactory();
    if (!webengine::LiveEngine::Start(options.screenshot.empty())) {
        std::fputs(
            "kestro-host: there is no display for the browser; run it under Xvfb "
            "(xvfb-run -a kestro-host ...).\n",
            stderr);
        return 2;
    }
    MapHosts(options);
    const int status = options.screenshot.empty() ? OnScreen(options) : Screenshot(options);
    browser::BrowserSession::Instance().CloseAll();
    FinishLiveScenarioEngine();
    return status;
}

bool StartLiveScenarioEngine() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return webengine::LiveEngine::Start(false) != nullptr;
}

void FinishLiveScenarioEngine() {
    // A failed run leaves its windows open.
    browser::BrowserSession::Instance().CloseAll();
    if (webengine::LiveEngine* engine = webengine::LiveEngine::Instance())
        webengine::WaitUntil([engine] { return engine->Tabs().empty(); });
    // The views closed windows left go with the deferred deletions.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    webengine::LiveEngine::Stop();
}
