// One browser window or tab on the live engine: a Chromium view whose page
// drives the window's browser object (web_browser_object.h). Before any
// event reaches the add-ons the live document, frames included, is
// mirrored into the document model (page_mirror.h); what the add-ons
// write through the model goes back to the live page by node id.
//
// Navigations: every main-frame navigation fires BeforeNavigate2 through
// the browser object (cancel honoured); a load the browser asks for is
// started here. When a page has loaded, its mirror is shown through the
// browser object, which fires NavigateComplete2, the frames' events and
// DocumentComplete as the embedded engine does. New windows a page opens
// go through the browser object too (NewWindow2, add-ons, BeforeNavigate2).
//
// Off screen (automation) the tab also takes a user's acts through its
// view (live_input.h) and prints its page as a PDF; on screen printing
// goes to the print dialog.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWebEngineView>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/browser/page_driver.h"
#include "platform/browser/web_browser_object.h"
#include "platform/webengine/bridge_messages.h"
#include "platform/webengine/live_page.h"

namespace webengine {

class LiveEngine;
class LiveInput;

class LiveTab final : public QObject, public browser::PageDriver, private PageEvents {
    Q_OBJECT
public:
    LiveTab(LiveEngine& engine, browser::WebBrowser& browser);
    ~LiveTab() override;

    LiveEngine& Engine() const { return m_engine; }
    browser::WebBrowser* Browser() const { return m_browser; }
    QWebEngineView* View() const { return m_view; }
    QWebEnginePage* Page() const { return m_page; }
    bool IsClosed() const { return !m_browser; }
    // Pages the add-ons write into show with their scripts off.
    bool ScriptsAllowed() const;
    // Batches of writes the live page has answered, and the writes it
    // refused (their node was gone).
    std::size_t WriteBatchesDone() const { return m_batchesDone; }
    std::size_t WritesRefused() const { return m_writesRefused; }
    // The mirror of a document of this tab; null when it has none.
    PageMirror* MirrorOf(const browser::HtmlDocument& document) const;

    // Pointer events of the page the add-ons have heard of, and the kind
    // of the last ("click", "dblclick", "contextmenu").
    std::size_t PointerMessages() const { return m_pointerMessages; }
    const std::string& LastPointerKind() const { return m_lastPointerKind; }
    // Whether a bridge message is being answered (the page waits for it).
    bool InMessage() const { return m_inMessage; }
    // Whether something started here has not finished: a load and its
    // mirror, writes the page has not answered, a print.
    bool Busy() const;
    // What Busy waits for, for a person to read.
    std::string BusyWith() const;
    // Brings the mirror in step with the page (a snapshot when it changed
    // since the last); `done` runs when the page has answered.
    void Refresh(std::function<void()> done);
    // A point of the page's top viewport on the screen.
    QPoint ToGlobal(QPointF viewportPoint) const;

    // browser::PageDriver
    HRESULT Load(browser::WebBrowser& browser, const browser::NavigationRequest& request,
                 browser::HtmlDocument** document) override;
    HRESULT Click(browser::WebBrowser& browser, browser::HtmlDocument& document,
                  browser::Node& element) override;
    void NodeWritten(browser::HtmlDocument& document, browser::Node& node,
                     browser::NodeWrite what) override;
    void ContentWritten(browser::WebBrowser& browser, browser::HtmlDocument& document) override;
    void WindowClosed(browser::WebBrowser& browser) override;
    browser::PageInput* Input() override;
    HRESULT Print(browser::WebBrowser& browser, DWORD options) override;

signals:
    void Closed(webengine::LiveTab* tab);
    // The page (mirror and events) is complete.
    void PageShown(webengine::LiveTab* tab);

private:
    // PageEvents
    bool BridgeMessage(const QString& message, QString& reply) override;
    bool NavigationRequested(const QUrl& url, QWebEnginePage::NavigationType type,
                             bool mainFrame) override;
    QWebEnginePage* NewWindowRequested(QWebEnginePage::WebWindowType type) override;

    void LoadFinished(bool ok);
    void ShowSnapshot(const QString& json);
    void ApplyState(const QString& json);
    // Builds or refreshes the documents of a snapshot; the top one.
    CComPtr<browser::HtmlDocument> Mirror(const DocumentSnapshot& snapshot,
                                          browser::HtmlDocument* existing);
    void ApplySelections(const std::vector<MirrorSelection>& selections);
    void ApplyControls(const std::vector<ControlChange>& controls);
    struct Found {
        PageMirror* mirror = nullptr;
        browser::Node* node = nullptr;
    };
    Found Find(NodeId id) const;
    void Dispatch(const PointerMessage& message);
    void Send(LiveWrite write);
    void Flush(const std::vector<LiveWrite>& writes);
    void PrintOnScreen(DWORD options);
    void Printed(const std::u16string& where, bool ok);

    LiveEngine& m_engine;
    browser::WebBrowser* m_browser;  // counted while the window is open
    QPointer<QWebEngineView> m_view;
    QPointer<LivePage> m_page;           // owned by the view
    std::shared_ptr<LiveInput> m_input;  // kept by an act while it runs
    std::map<const browser::HtmlDocument*, std::unique_ptr<PageMirror>> m_mirrors;
    // Frame documents of a new page, waiting for their frame's browser.
    std::map<const browser::Node*, CComPtr<browser::HtmlDocument>> m_frameDocuments;
    CComPtr<browser::HtmlDocument> m_top;
    std::string m_instance;         // the bridge of the page shown
    bool m_ownLoadPending = false;  // the next main-frame request is one we started
    bool m_asking = false;          // NavigationRequested is firing BeforeNavigate2
    bool m_accepted = false;
    bool m_showingWritten = false;  // the loads of a page the add-ons wrote
    bool m_blankLoading = false;    // the view catches up with a blank page shown
    bool m_inMessage = false;
    bool m_loadExpected = false;   // a main-frame navigation went ahead, not started yet
    bool m_mirrorPending = false;  // a loaded page's snapshot is on its way
    int m_printsPending = 0;
    std::u16string m_printTarget;    // the printer or file of the print on screen
    std::vector<LiveWrite> m_reply;  // writes made while the page waits for a message's answer
    std::size_t m_batchesSent = 0;
    std::size_t m_batchesDone = 0;
    std::size_t m_writesRefused = 0;
    std::size_t m_pointerMessages = 0;
    std::string m_lastPointerKind;
};

}  // namespace webengine
