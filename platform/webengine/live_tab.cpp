#include "platform/webengine/live_tab.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWebEngineHttpRequest>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <utility>

#include "platform/browser/browser_session.h"
#include "platform/browser/context_menu.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/markup_serializer.h"
#include "platform/browser/page_loader.h"
#include "platform/browser/pointer_events.h"
#include "platform/browser/tag_names.h"
#include "platform/ui/ui_backend.h"
#include "platform/webengine/bridge_script.h"
#include "platform/webengine/live_engine.h"
#include "platform/webengine/live_input.h"
#include "platform/win/effects_journal.h"
#include "platform/win/text.h"

namespace webengine {

using browser::HtmlDocument;
using browser::Node;
using browser::WebBrowser;

namespace {

std::u16string Wide(const QUrl& url) {
    return url.toString().toStdU16String();
}

QUrl AsUrl(const std::u16string& text) {
    return QUrl(QString::fromStdU16String(text));
}

QWebEngineHttpRequest PostRequest(const browser::NavigationRequest& request) {
    QWebEngineHttpRequest http(AsUrl(request.url), QWebEngineHttpRequest::Post);
    http.setPostData(
        QByteArray(request.postData.data(), static_cast<qsizetype>(request.postData.size())));
    // Extra headers come as "Name: value" lines.
    const QString headers = QString::fromStdU16String(request.headers);
    for (const QString& line : headers.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            http.setHeader(line.left(colon).trimmed().toLatin1(),
                           line.mid(colon + 1).trimmed().toUtf8());
    }
    return http;
}

HRESULT LoadEmbedded(const browser::NavigationRequest& request, HtmlDocument** document) {
    const browser::LoadedPage page =
        browser::LoadPage({request.url, request.post, request.postData, request.headers},
                          [](std::u16string_view host) {
                              return browser::BrowserSession::Instance().MappedFolder(host);
                          });
    return HtmlDocument::Create(page.bytes, page.url, page.charset, document);
}

LiveWrite Write(LiveWrite::Kind kind, NodeId node, std::u16string value = {}, bool on = false) {
    LiveWrite write;
    write.kind = kind;
    write.node = node;
    write.value = std::move(value);
    write.on = on;
    return write;
}

DISPID EventId(const std::string& kind) {
    return kind == "dblclick" ? DISPID_HTMLDOCUMENTEVENTS2_ONDBLCLICK
                              : DISPID_HTMLDOCUMENTEVENTS2_ONCLICK;
}

}  // namespace

LiveTab::LiveTab(LiveEngine& engine, WebBrowser& browser) : m_engine(engine), m_browser(&browser) {
    m_browser->AddRef();
    m_view = new QWebEngineView();
    auto* page = new LivePage(engine.Profile(), engine.Token(), engine.OnScreen(), *this);
    m_page = page;
    page->setParent(m_view);
    m_view->setPage(page);
    // The host's menu replaces Chromium's (the bridge reports the right-click).
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    m_input = std::make_shared<LiveInput>(*this);
    connect(page, &QWebEnginePage::loadStarted, this, [this] {
        m_loadExpected = false;
        m_engine.NoteActivity();
    });
    connect(page, &QWebEnginePage::loadFinished, this, &LiveTab::LoadFinished);
    connect(page, &QWebEnginePage::pdfPrintingFinished, this,
            [this](const QString& path, bool ok) { Printed(path.toStdU16String(), ok); });
    connect(m_view, &QWebEngineView::printFinished, this, [this](bool ok) { Printed({}, ok); });
    // The page's own window.print().
    connect(page, &QWebEnginePage::printRequested, this, [this] {
        if (m_browser) Print(*m_browser, OLECMDEXECOPT_PROMPTUSER);
    });
    m_browser->SetPageDriver(this);
}

LiveTab::~LiveTab() {
    if (WebBrowser* browser = std::exchange(m_browser, nullptr)) {
        browser->SetPageDriver(nullptr);
        browser->Release();
    }
    delete m_view.data();
}

bool LiveTab::ScriptsAllowed() const {
    return m_page && m_page->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled);
}

bool LiveTab::Busy() const {
    if (!m_page) return false;
    return m_loadExpected || m_mirrorPending || m_page->isLoading() ||
           m_batchesSent > m_batchesDone || m_printsPending > 0;
}

std::string LiveTab::BusyWith() const {
    if (!m_page) return {};
    const std::string url = m_page->url().toString().toStdString();
    if (m_loadExpected || m_page->isLoading()) return "loading " + url;
    if (m_mirrorPending) return "mirroring " + url;
    if (m_batchesSent > m_batchesDone) return "writing to " + url;
    if (m_printsPending > 0) return "printing " + url;
    return {};
}

QPoint LiveTab::ToGlobal(QPointF viewportPoint) const {
    if (!m_page || !m_view) return viewportPoint.toPoint();
    const qreal zoom = m_page->zoomFactor();
    return m_view->mapToGlobal(QPointF(viewportPoint.x() * zoom, viewportPoint.y() * zoom))
        .toPoint();
}

browser::PageInput* LiveTab::Input() {
    return m_engine.OnScreen() ? nullptr : m_input.get();
}

PageMirror* LiveTab::MirrorOf(const HtmlDocument& document) const {
    const auto found = m_mirrors.find(&document);
    return found == m_mirrors.end() ? nullptr : found->second.get();
}

// Loading

HRESULT LiveTab::Load(WebBrowser& browser, const browser::NavigationRequest& request,
                      HtmlDocument** document) {
    if (!document) return E_POINTER;
    *document = nullptr;
    if (!m_page) return E_FAIL;
    const QUrl url = AsUrl(request.url);
    if (!IsLoadableScheme(url.scheme())) return E_ACCESSDENIED;
    if (&browser != m_browser) {
        // A frame: its mirror came with the page; frames the live page
        // did not give (another origin's, a written page's) load here.
        const Node* element = browser.FrameElement();
        const auto found = element ? m_frameDocuments.find(element) : m_frameDocuments.end();
        if (found == m_frameDocuments.end()) return LoadEmbedded(request, document);
        *document = found->second.Detach();
        m_frameDocuments.erase(found);
        return S_OK;
    }
    m_showingWritten = false;
    if (request.url == u"about:blank" && !request.post && !m_asking) {
        // A blank page is there at once, as add-ons writing into a new
        // window expect; the view follows.
        if (!m_page->url().isEmpty() && m_page->url() != url) {
            m_ownLoadPending = m_blankLoading = true;
            m_page->load(url);
        }
        return HtmlDocument::Create({}, u"about:blank", {}, document);
    }
    if (m_asking) {
        m_accepted = true;  // the live page goes ahead with its own navigation
        return S_FALSE;
    }
    m_ownLoadPending = m_loadExpected = true;
    m_engine.NoteActivity();
    if (request.post)
        m_page->load(PostRequest(request));
    else
        m_page->load(url);
    return S_FALSE;
}

bool LiveTab::NavigationRequested(const QUrl& url, QWebEnginePage::NavigationType type,
                                  bool mainFrame) {
    if (m_showingWritten && url.scheme() == u"data") return true;  // the written page itself
    if (!IsLoadableScheme(url.scheme())) return false;
    if (!mainFrame || type == QWebEnginePage::NavigationTypeRedirect) return true;
    if (!m_browser) return false;
    if (std::exchange(m_ownLoadPending, false)) return true;
    // The page's own navigation: BeforeNavigate2 decides. When it cannot
    // fire now (an add-on's handler is running), it fires later and the
    // browser loads the address itself.
    CComPtr<WebBrowser> keep(m_browser);
    m_asking = true;
    m_accepted = false;
    m_browser->Go(browser::NavigationRequest(Wide(url)));
    m_asking = false;
    m_engine.NoteActivity();
    const bool accepted = std::exchange(m_accepted, false);
    if (accepted) m_loadExpected = true;
    return accepted;
}

QWebEnginePage* LiveTab::NewWindowRequested(QWebEnginePage::WebWindowType type) {
    if (!m_browser) return nullptr;
    const bool tab =
        type == QWebEnginePage::WebBrowserTab || type == QWebEnginePage::WebBrowserBackgroundTab;
    QPointer<LiveTab> self(this);
    m_engine.NoteActivity();
    return m_engine.Track(new NewWindowCatcher(m_page->profile(), [self, tab](const QUrl& url) {
        if (!self || !self->m_browser || !IsLoadableScheme(url.scheme())) return;
        CComPtr<WebBrowser> keep(self->m_browser);
        self->m_browser->OpenNewWindow(Wide(url), tab);
    }));
}

void LiveTab::LoadFinished(bool) {
    m_loadExpected = false;
    m_engine.NoteActivity();
    // A written or blank page's events came from the model.
    if (std::exchange(m_blankLoading, false) || !m_browser || m_showingWritten) return;
    QPointer<LiveTab> self(this);
    m_mirrorPending = true;
    m_page->runJavaScript(SnapshotScript(), QWebEngineScript::ApplicationWorld,
                          [self](const QVariant& result) {
                              if (!self) return;
                              self->ShowSnapshot(result.toString());
                              self->m_mirrorPending = false;
                              self->m_engine.NoteActivity();
                          });
}

void LiveTab::Refresh(std::function<void()> done) {
    if (!m_browser || !m_page || !m_top || m_showingWritten || m_instance.empty()) {
        QTimer::singleShot(0, std::move(done));  // not tied to the tab: done always runs
        return;
    }
    QPointer<LiveTab> self(this);
    m_page->runJavaScript(StateScript(), QWebEngineScript::ApplicationWorld,
                          [self, done = std::move(done)](const QVariant& result) {
                              if (self) self->ApplyState(result.toString());
                              done();
                          });
}

void LiveTab::ApplyState(const QString& json) {
    PageState state;
    if (!m_browser || !m_top || !ReadPageState(json, state) || state.instance != m_instance) return;
    if (state.snapshot) {
        Mirror(*state.snapshot, m_top);
    } else {
        ApplyControls(state.controls);
        ApplySelections(state.selections);
    }
}

void LiveTab::ApplyControls(const std::vector<ControlChange>& controls) {
    for (const ControlChange& change : controls)
        for (auto& [document, mirror] : m_mirrors)
            if (mirror->SetControlState(change.node, change.value, change.on)) break;
}

void LiveTab::ShowSnapshot(const QString& json) {
    if (!m_browser) return;
    m_mirrors.clear();
    m_frameDocuments.clear();
    m_top.Release();
    m_instance.clear();
    DocumentSnapshot snapshot;
    CComPtr<HtmlDocument> top;
    if (!json.isEmpty() && ReadDocumentSnapshot(json, snapshot)) {
        top = Mirror(snapshot, nullptr);
        m_instance = snapshot.instance;
    }
    // Pages without the bridge (error pages, viewers) show as empty pages.
    if (!top && FAILED(HtmlDocument::Create({}, Wide(m_page->url()), u"", &top))) return;
    m_top = top;
    CComPtr<WebBrowser> keep(m_browser);
    m_browser->ShowLoadedPage(top);
    m_frameDocuments.clear();
    emit PageShown(this);
}

CComPtr<HtmlDocument> LiveTab::Mirror(const DocumentSnapshot& snapshot, HtmlDocument* existing) {
    CComPtr<HtmlDocument> document(existing);
    if (!document) {
        if (FAILED(HtmlDocument::CreateFromTree(std::make_unique<browser::DocumentTree>(),
                                                snapshot.url, snapshot.charset, &document)))
            return nullptr;
    } else if (document->Url() != snapshot.url) {
        document->SetUrl(snapshot.url);
    }
    std::unique_ptr<PageMirror>& mirror = m_mirrors[document.p];
    if (!mirror) mirror = std::make_unique<PageMirror>(*document);
    mirror->Rebuild(snapshot.records);
    mirror->ApplySelection(snapshot.selection ? &*snapshot.selection : nullptr);
    for (const DocumentSnapshot::Frame& frame : snapshot.frames) {
        const Node* element = mirror->NodeOf(frame.element);
        if (!element || !frame.document) continue;
        HtmlDocument* current = existing ? document->FrameDocument(*element) : nullptr;
        CComPtr<HtmlDocument> child = Mirror(*frame.document, current);
        if (!child) continue;
        if (!existing)
            m_frameDocuments[element] = child;  // its browser shows it with its events
        else if (!current)
            document->AttachFrame(*element, child);
    }
    return document;
}

// Bridge messages

bool LiveTab::BridgeMessage(const QString& json, QString& reply) {
    reply.clear();
    PointerMessage message;
    if (!m_browser || !m_top || !ReadPointerMessage(json, message)) return false;
    // A page that has not been shown yet, or has gone, has no mirror to act on.
    if (m_instance.empty()) m_instance = message.instance;
    if (message.instance != m_instance) return false;
    if (message.snapshot) {
        Mirror(*message.snapshot, m_top);
    } else {
        ApplyControls(message.controls);
        ApplySelections(message.selections);
    }
    m_inMessage = true;
    Dispatch(message);
    m_inMessage = false;
    reply = WritesJson(std::exchange(m_reply, {}));
    m_lastPointerKind = message.kind;
    ++m_pointerMessages;
    m_engine.NoteActivity();
    return true;
}

void LiveTab::ApplySelections(const std::vector<MirrorSelection>& selections) {
    for (auto& [document, mirror] : m_mirrors) {
        const MirrorSelection* own = nullptr;
        for (const MirrorSelection& selection : selections)
            if (mirror->NodeOf(selection.scope)) own = &selection;
        mirror->ApplySelection(own);
    }
}

LiveTab::Found LiveTab::Find(NodeId id) const {
    for (const auto& [document, mirror] : m_mirrors)
        if (Node* node = mirror->NodeOf(id)) return {mirror.get(), node};
    return {};
}

void LiveTab::Dispatch(const PointerMessage& message) {
    CComPtr<WebBrowser> keep(m_browser);
    const auto browserOf = [this](const Found& found) -> WebBrowser* {
        return found.node ? m_browser->BrowserOf(found.mirror->Document()) : nullptr;
    };
    if (message.movedOver) {
        const Found moved = Find(message.movedOver);
        if (WebBrowser* browser = browserOf(moved))
            browser::FireMouseEvent(*browser, moved.mirror->Document(),
                                    DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEMOVE, *moved.node,
                                    message.movedWithAlt);
    }
    if (!m_browser) return;
    const Found target = Find(message.target);
    WebBrowser* browser = browserOf(target);
    if (!browser) return;
    CComPtr<HtmlDocument> document(&target.mirror->Document());
    if (message.kind != "contextmenu") {
        browser::FireMouseEvent(*browser, *document, EventId(message.kind), *target.node,
                                message.alt);
        return;
    }
    const QPoint at = ToGlobal(QPointF(message.x, message.y));
    browser::ShowPageContextMenu(*browser, *document, *target.node, POINT{at.x(), at.y()});
}

// Writes

void LiveTab::Send(LiveWrite write) {
    if (m_inMessage)
        m_reply.push_back(std::move(write));  // the page waits for the message's answer
    else
        Flush({std::move(write)});
}

void LiveTab::Flush(const std::vector<LiveWrite>& writes) {
    if (!m_page) return;
    QPointer<LiveTab> self(this);
    ++m_batchesSent;
    m_page->runJavaScript(ApplyWritesScript(WritesJson(writes)), QWebEngineScript::ApplicationWorld,
                          [self](const QVariant& result) {
                              if (!self) return;
                              const QJsonArray done =
                                  QJsonDocument::fromJson(result.toString().toUtf8()).array();
                              for (const QJsonValue& one : done)
                                  if (one.toInt() == 0) ++self->m_writesRefused;
                              ++self->m_batchesDone;
                          });
}

HRESULT LiveTab::Click(WebBrowser&, HtmlDocument& document, Node& element) {
    const PageMirror* mirror = MirrorOf(document);
    if (const NodeId id = mirror ? mirror->IdOf(element) : 0)
        Send(Write(LiveWrite::Kind::Click, id));
    return S_OK;
}

void LiveTab::NodeWritten(HtmlDocument& document, Node& node, browser::NodeWrite what) {
    const PageMirror* mirror = MirrorOf(document);
    const NodeId id = mirror ? mirror->IdOf(node) : 0;
    if (!id) return;
    // A list's value and index are its options' selected states.
    if (node.Is(GUMBO_TAG_SELECT) && what != browser::NodeWrite::Attribute) {
        for (Node* option : browser::SelectOptions(node))
            if (const NodeId optionId = mirror->IdOf(*option))
                Send(Write(LiveWrite::Kind::Selected, optionId, {}, browser::IsSelected(*option)));
        return;
    }
    switch (what) {
        case browser::NodeWrite::Value:
            Send(Write(LiveWrite::Kind::Value, id, browser::ControlValue(node)));
            break;
        case browser::NodeWrite::Checked:
            Send(Write(LiveWrite::Kind::Checked, id, {}, browser::IsChecked(node)));
            break;
        case browser::NodeWrite::Selected:
            Send(Write(LiveWrite::Kind::Selected, id, {}, browser::IsSelected(node)));
            break;
        case browser::NodeWrite::Attribute: {
            LiveWrite write = Write(LiveWrite::Kind::Attributes, id);
            write.attributes = node.attributes;
            Send(std::move(write));
            break;
        }
    }
}

void LiveTab::ContentWritten(WebBrowser& browser, HtmlDocument& document) {
    if (&browser != m_browser || !m_page) return;
    // What add-ons write is shown without scripts, and mirrored afresh.
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    m_mirrors.clear();
    m_mirrors[&document] = std::make_unique<PageMirror>(document);
    m_top = &document;
    m_instance.clear();
    m_showingWritten = true;
    m_ownLoadPending = false;
    const Node* root = document.Tree().DocumentElement();
    const std::u16string html = root ? browser::OuterHtml(*root) : std::u16string();
    m_page->setHtml(QString::fromStdU16String(html), AsUrl(document.Url()));
}

// Printing

HRESULT LiveTab::Print(WebBrowser&, DWORD options) {
    if (!m_browser || !m_top || !m_page || !m_view) return E_FAIL;
    if (m_engine.OnScreen()) {
        PrintOnScreen(options);
        return S_OK;
    }
    const std::u16string title = m_top->Title().empty() ? m_top->Url() : m_top->Title();
    if (options != OLECMDEXECOPT_DONTPROMPTUSER && !CurrentUiBackend().ConfirmPrint(title))
        return S_OK;
    const std::string path = browser::BrowserSession::Instance().NextPrintPath();
    if (path.empty()) return E_FAIL;
    // The page as rendered; the file is there once Chromium has laid it out.
    ++m_printsPending;
    m_page->printToPdf(QString::fromStdString(path));
    return S_OK;
}

void LiveTab::PrintOnScreen(DWORD options) {
    // One print at a time per view, as Chromium takes them.
    if (m_printsPending > 0) return;
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(m_page->title());
    if (options != OLECMDEXECOPT_DONTPROMPTUSER) {
        QPrintDialog dialog(printer.get(), m_view ? m_view->window() : nullptr);
        if (dialog.exec() != QDialog::Accepted || !m_view) return;
    }
    ++m_printsPending;
    // The printer goes when the view has printed.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(m_view, &QWebEngineView::printFinished, this,
                          [printer, connection] { QObject::disconnect(*connection); });
    m_view->print(printer.get());
    m_printTarget = printer->outputFileName().isEmpty()
                        ? printer->printerName().toStdU16String()
                        : printer->outputFileName().toStdU16String();
}

void LiveTab::Printed(const std::u16string& where, bool ok) {
    if (m_printsPending == 0) return;
    --m_printsPending;
    m_engine.NoteActivity();
    if (ok) JournalEffect(u"print", where.empty() ? m_printTarget : where);
}

void LiveTab::WindowClosed(WebBrowser& browser) {
    if (&browser != m_browser) return;
    m_mirrors.clear();
    m_frameDocuments.clear();
    m_top.Release();
    std::exchange(m_browser, nullptr)->Release();
    emit Closed(this);
    if (m_view) m_view->deleteLater();
    deleteLater();
}

}  // namespace webengine
