// The live engine of a process: Qt WebEngine (Chromium) with one profile
// whose pages all carry the bridge (bridge_script.h), and the virtual
// host server. Once started, every browser window the session opens
// (BrowserSession) gets a LiveTab, so pages load, render and run scripts
// in Chromium while add-ons keep the browser objects they know.
//
// On screen the browser window (browser_frame.h) takes the tabs
// (TabOpened); without one each tab's view is shown on its own. Off
// screen (automation) the tabs also take a user's acts through their
// views, and Settle waits for what those started.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWebEngineProfile;
class QWebEnginePage;

namespace browser {
class WebBrowser;
}

namespace webengine {

class LiveTab;
class VirtualHostServer;

class LiveEngine final : public QObject {
    Q_OBJECT
public:
    // Starts the engine once (later calls return the same one); null when
    // Qt cannot start here (no display for onScreen). Call before any
    // other Qt WebEngine use.
    static LiveEngine* Start(bool onScreen);
    static LiveEngine* Instance();
    // Ends the engine, once its windows are closed: the pages still kept
    // for new windows, then the profile, then Qt itself, so that Chromium's
    // threads are gone before the process exits.
    static void Stop();
    ~LiveEngine() override;

    QWebEngineProfile* Profile() const { return m_profile; }
    const QString& Token() const { return m_token; }
    bool OnScreen() const { return m_onScreen; }
    // Whether a window UI places the views (else they show on their own).
    void SetViewsPlacedByUi(bool placed) { m_placedByUi = placed; }
    LiveTab* TabOf(const browser::WebBrowser* browser) const;
    const std::vector<LiveTab*>& Tabs() const { return m_tabs; }

    // Something happened in a page (a message, a navigation, a load, a
    // write answered): Settle waits until nothing does.
    void NoteActivity() { ++m_activity; }
    // A page Chromium made for a new window, until it knows its address.
    QWebEnginePage* Track(QWebEnginePage* newWindow);
    // Waits until every tab's loads, mirrors, writes and prints are done,
    // new windows included, and the mirrors hold the pages as they are;
    // what is still pending after the limit. Returns at once inside a
    // page's message or another Settle (the outer wait covers it).
    std::string Settle();

signals:
    void TabOpened(webengine::LiveTab* tab);

private:
    explicit LiveEngine(bool onScreen);
    void StartTab(browser::WebBrowser& browser);

    bool m_onScreen;
    bool m_placedByUi = false;
    QString m_token;
    QWebEngineProfile* m_profile = nullptr;
    std::unique_ptr<VirtualHostServer> m_hosts;
    std::vector<LiveTab*> m_tabs;
    std::vector<QPointer<QWebEnginePage>> m_newWindows;
    std::uint64_t m_activity = 0;
    bool m_settling = false;
};

}  // namespace webengine
