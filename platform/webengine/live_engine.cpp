#include "platform/webengine/live_engine.h"

#include <unistd.h>

#include <QApplication>
#include <QLoggingCategory>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <utility>

#include "platform/browser/browser_session.h"
#include "platform/ui/qt/qt_application.h"
#include "platform/webengine/bridge_script.h"
#include "platform/webengine/event_wait.h"
#include "platform/webengine/live_tab.h"
#include "platform/webengine/virtual_host_server.h"

namespace webengine {

namespace {

LiveEngine* g_engine = nullptr;

constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;

// Chromium reads its switches once, when its first profile is made.
void AddChromiumSwitch(const QString& option) {
    QString flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.isEmpty()) flags += QLatin1Char(' ');
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + option).toLocal8Bit());
}

void PrepareEnvironment() {
    // Chromium's sandbox refuses to run as root.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Chromium's start-up report (no GPU off screen) is not the program's.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QWebEngineScript Bridge(const QString& token) {
    QWebEngineScript script;
    script.setName(QStringLiteral("kestro-bridge"));
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(false);  // the top document's bridge reaches its frames
    script.setSourceCode(BridgeScriptSource(token));
    return script;
}

}  // namespace

LiveEngine* LiveEngine::Instance() {
    return g_engine;
}

LiveEngine* LiveEngine::Start(bool onScreen) {
    if (g_engine) return g_engine;
    PrepareEnvironment();
    if (!EnsureQtApplication(onScreen ? QtPlatformNeed::Display : QtPlatformNeed::OffScreenOk))
        return nullptr;
    g_engine = new LiveEngine(onScreen);  // lives as long as the process
    return g_engine;
}

LiveEngine::LiveEngine(bool onScreen)
    : QObject(QCoreApplication::instance()), m_onScreen(onScreen), m_token(NewBridgeToken()) {
    m_hosts = std::make_unique<VirtualHostServer>();
    if (m_hosts->Start()) {
        QStringList hosts;
        AddChromiumSwitch(QStringLiteral("--host-resolver-rules=\"") +
                          m_hosts->ResolverRules(hosts) + QLatin1Char('"'));
    }
    m_profile = new QWebEngineProfile(this);  // off the record: nothing kept on disk
    m_profile->scripts()->insert(Bridge(m_token));
    m_profile->settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, true);
    // A local page's form or link may lead to a site, as in any browser.
    m_profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    browser::BrowserSession::Instance().SetWindowStarter(
        [this](browser::WebBrowser& browser) { StartTab(browser); });
}

void LiveEngine::Stop() {
    if (!g_engine) return;
    browser::BrowserSession::Instance().SetWindowStarter({});
    // A page must go before its profile.
    for (const QPointer<QWebEnginePage>& page : g_engine->m_newWindows) delete page.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete std::exchange(g_engine, nullptr);
    EndQtApplication();
}

LiveEngine::~LiveEngine() = default;

void LiveEngine::StartTab(browser::WebBrowser& browser) {
    auto* tab = new LiveTab(*this, browser);
    m_tabs.push_back(tab);
    connect(tab, &LiveTab::Closed, this, [this](LiveTab* closed) { std::erase(m_tabs, closed); });
    connect(tab, &QObject::destroyed, this, [this, tab] { std::erase(m_tabs, tab); });
    emit TabOpened(tab);
    if (!m_placedByUi) {
        QWebEngineView* view = tab->View();
        connect(view, &QWebEngineView::titleChanged, view, &QWidget::setWindowTitle);
        view->resize(kDefaultWidth, kDefaultHeight);
        tab->View()->show();
    }
}

QWebEnginePage* LiveEngine::Track(QWebEnginePage* newWindow) {
    std::erase_if(m_newWindows, [](const QPointer<QWebEnginePage>& page) { return !page; });
    m_newWindows.emplace_back(newWindow);
    return newWindow;
}

namespace {

// A page that opened a window with no address never says where it
// goes: after this many quiet rounds it is no longer waited for.
constexpr int kQuietRoundsForNewWindows = 3;

std::vector<QPointer<LiveTab>> Guarded(const std::vector<LiveTab*>& tabs) {
    return {tabs.begin(), tabs.end()};
}

}  // namespace

std::string LiveEngine::Settle() {
    for (LiveTab* tab : m_tabs)
        if (tab->InMessage()) return {};
    if (m_settling) return {};
    m_settling = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_settling};
    const auto busy = [this] {
        for (LiveTab* tab : m_tabs)
            if (tab->Busy()) return true;
        return false;
    };
    const auto newWindows = [this] {
        return std::count_if(m_newWindows.begin(), m_newWindows.end(),
                             [](const QPointer<QWebEnginePage>& page) { return !page.isNull(); });
    };
    int quietRounds = 0;
    while (true) {
        if (!WaitUntil([&] { return !busy(); })) {
            for (LiveTab* tab : m_tabs)
                if (tab->Busy()) return "still " + tab->BusyWith() + " after 20 seconds";
        }
        const std::uint64_t before = m_activity;
        // A round trip to every page, which also brings its mirror in step.
        auto answersDue = std::make_shared<std::size_t>(0);
        for (const QPointer<LiveTab>& tab : Guarded(m_tabs)) {
            ++*answersDue;
            tab->Refresh([answersDue] { --*answersDue; });
        }
        if (!WaitUntil([&] { return *answersDue == 0; }))
            return "a page did not answer within 20 seconds";
        if (m_activity != before || busy()) {
            quietRounds = 0;
            continue;
        }
        // Two quiet rounds: what a page sent before its answer has arrived.
        ++quietRounds;
        if (quietRounds >= 2 && (newWindows() == 0 || quietRounds >= kQuietRoundsForNewWindows))
            return {};
    }
}

LiveTab* LiveEngine::TabOf(const browser::WebBrowser* browser) const {
    const auto found = std::find_if(m_tabs.begin(), m_tabs.end(), [browser](const LiveTab* tab) {
        return tab->Browser() == browser;
    });
    return found == m_tabs.end() ? nullptr : *found;
}

}  // namespace webengine
