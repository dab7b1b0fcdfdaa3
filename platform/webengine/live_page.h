// The page object of one live tab: Chromium's questions to the host (may
// this navigation go ahead, where does a new window go, a script's prompt)
// are passed to the tab that owns it. Only the bridge's prompts, which
// carry the process's token, reach the tab as messages (a long one in
// parts, since Chromium cuts a prompt's text); a page's own dialogs are
// shown as usual on screen and dismissed in automation.
#pragma once

#include <QWebEnginePage>
#include <functional>

namespace webengine {

class PageEvents {
public:
    virtual bool BridgeMessage(const QString& message, QString& reply) = 0;
    virtual bool NavigationRequested(const QUrl& url, QWebEnginePage::NavigationType type,
                                     bool mainFrame) = 0;
    virtual QWebEnginePage* NewWindowRequested(QWebEnginePage::WebWindowType type) = 0;

protected:
    ~PageEvents() = default;
};

class LivePage final : public QWebEnginePage {
public:
    LivePage(QWebEngineProfile* profile, const QString& token, bool onScreen, PageEvents& events);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                          QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    // The parts of a long bridge message received so far; a message of a
    // page beyond this size is dropped.
    static constexpr qsizetype kMaxMessage = 512 * 1024 * 1024;
    QString m_parts;
    QString m_token;
    bool m_onScreen;
    PageEvents& m_events;
};

// A page that only learns where a new window was meant to go: its first
// navigation is refused and handed to `opened`, then it goes.
class NewWindowCatcher final : public QWebEnginePage {
public:
    NewWindowCatcher(QWebEngineProfile* profile, std::function<void(const QUrl&)> opened);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    std::function<void(const QUrl&)> m_opened;
};

// Schemes a live page may load: http, https, file and about.
bool IsLoadableScheme(const QString& scheme);

}  // namespace webengine
