#include "platform/webengine/live_page.h"

#include <QTimer>
#include <utility>

namespace webengine {

bool IsLoadableScheme(const QString& scheme) {
    const QString lower = scheme.toLower();
    return lower == u"http" || lower == u"https" || lower == u"file" || lower == u"about";
}

LivePage::LivePage(QWebEngineProfile* profile, const QString& token, bool onScreen,
                   PageEvents& events)
    : QWebEnginePage(profile), m_token(token), m_onScreen(onScreen), m_events(events) {}

bool LivePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    return m_events.NavigationRequested(url, type, isMainFrame);
}

QWebEnginePage* LivePage::createWindow(WebWindowType type) {
    return m_events.NewWindowRequested(type);
}

void LivePage::javaScriptAlert(const QUrl& origin, const QString& message) {
    if (m_onScreen) QWebEnginePage::javaScriptAlert(origin, message);
}

bool LivePage::javaScriptConfirm(const QUrl& origin, const QString& message) {
    return m_onScreen && QWebEnginePage::javaScriptConfirm(origin, message);
}

bool LivePage::javaScriptPrompt(const QUrl& origin, const QString& message,
                                const QString& defaultValue, QString* result) {
    if (message.startsWith(m_token)) {
        const QStringView rest = QStringView(message).mid(m_token.size());
        if (rest.startsWith(u'+')) {
            // A part of a long message; more follow.
            if (m_parts.size() + rest.size() > kMaxMessage) m_parts.clear();
            m_parts += rest.mid(1);
            if (result) result->clear();
            return true;
        }
        QString whole = std::exchange(m_parts, QString());
        whole += rest.startsWith(u'=') ? rest.mid(1) : QStringView();
        QString reply;
        const bool answered = m_events.BridgeMessage(whole, reply);
        if (result) *result = reply;
        return answered;
    }
    return m_onScreen && QWebEnginePage::javaScriptPrompt(origin, message, defaultValue, result);
}

NewWindowCatcher::NewWindowCatcher(QWebEngineProfile* profile,
                                   std::function<void(const QUrl&)> opened)
    : QWebEnginePage(profile), m_opened(std::move(opened)) {}

bool NewWindowCatcher::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    if (!isMainFrame || !m_opened) return false;
    auto opened = std::move(m_opened);
    m_opened = nullptr;
    // Chromium is still asking: answer first, open the window after.
    QTimer::singleShot(0, this, [this, opened, url] {
        opened(url);
        deleteLater();
    });
    return false;
}

}  // namespace webengine
