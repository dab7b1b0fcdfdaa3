#include "platform/browser/web_browser_object.h"

#include <new>
#include <utility>

#include "platform/browser/browser_registry.h"
#include "platform/browser/browser_session.h"
#include "platform/browser/call_out.h"
#include "platform/browser/client_site.h"
#include "platform/browser/deferred_work.h"
#include "platform/browser/document_services.h"
#include "platform/browser/form_submission.h"
#include "platform/browser/markup_serializer.h"
#include "platform/browser/page_driver.h"
#include "platform/browser/page_loader.h"
#include "platform/browser/page_objects.h"
#include "platform/browser/pointer_events.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/url.h"
#include "platform/com/class_factory.h"
#include "platform/ui/print_service.h"
#include "platform/ui/ui_backend.h"
#include "platform/ui/window.h"
#include "platform/win/effects_journal.h"
#include "platform/win/text.h"

namespace browser {

namespace {

// Frames within frames load to this depth; deeper ones stay blank, so a
// page that frames itself ends.
constexpr int kMaxFrameDepth = 6;

LRESULT PageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

VARIANT DispatchArgument(IDispatch* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = value;
    return v;
}

VARIANT ByReference(VARIANT* inner) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = inner;
    return v;
}

CComVariant PostDataVariant(const std::string& data) {
    CComVariant v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(data.size()));
    if (!array) return v;
    void* bytes = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &bytes))) {
        std::copy(data.begin(), data.end(), static_cast<char*>(bytes));
        SafeArrayUnaccessData(array);
    }
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = array;
    return v;
}

bool PostDataBytes(const VARIANT* value, std::string& out) {
    while (value && value->vt == (VT_BYREF | VT_VARIANT)) value = value->pvarVal;
    if (!value || value->vt != (VT_ARRAY | VT_UI1) || !value->parray) return false;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(value->parray, 1, &lower);
    SafeArrayGetUBound(value->parray, 1, &upper);
    void* bytes = nullptr;
    if (FAILED(SafeArrayAccessData(value->parray, &bytes))) return false;
    out.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(upper - lower + 1));
    SafeArrayUnaccessData(value->parray);
    return true;
}

std::u16string OptionalText(const VARIANT* value) {
    std::u16string text;
    if (value) {
        const VARIANT* inner = value->vt == (VT_BYREF | VT_VARIANT) ? value->pvarVal : value;
        if (inner && inner->vt != VT_EMPTY && inner->vt != VT_NULL) VariantText(*inner, text);
    }
    return text;
}

std::u16string FrameName(const Node& element) {
    const std::u16string name = element.AttributeOr(u"name");
    return name.empty() ? element.AttributeOr(u"id") : name;
}

}  // namespace

// Requests a handler makes are carried out once it has returned.
template <class Request>
bool WebBrowser::Deferred(Request request) {
    if (!InCallOut()) return false;
    RunOrDefer([self = CComPtr<WebBrowser>(this), request] { request(*self); });
    return true;
}

HRESULT WebBrowser::CreateWindowBrowser(WebBrowser** browser) {
    if (!browser) return E_POINTER;
    *browser = nullptr;
    auto* created = new (std::nothrow) WebBrowser();
    if (!created) return E_OUTOFMEMORY;
    created->m_window = std::make_unique<Window>();
    created->m_window->pageWindow = CreatePlainWindow(u"about:blank", PageWindowProc, nullptr);
    created->AddRef();
    *browser = created;
    return S_OK;
}

WebBrowser::~WebBrowser() {
    DetachDocument();
    if (m_site) m_site->Detach();
}

STDMETHODIMP WebBrowser::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser2)
        *out = static_cast<IWebBrowser2*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) WebBrowser::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) WebBrowser::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

// IWebBrowser2

STDMETHODIMP WebBrowser::Navigate(BSTR url, VARIANT* flags, VARIANT* targetFrameName,
                                  VARIANT* postData, VARIANT* headers) {
    if (!url || SysStringLen(url) == 0) return E_INVALIDARG;
    if (IsClosed()) return E_FAIL;
    NavigationRequest request;
    const std::u16string_view typed(url, SysStringLen(url));
    request.url = m_document ? ResolveUrl(m_document->Url(), typed) : ParseUrl(typed).ToString();
    if (flags) {
        long value = 0;
        const VARIANT* inner = flags->vt == (VT_BYREF | VT_VARIANT) ? flags->pvarVal : flags;
        if (inner && inner->vt != VT_EMPTY && inner->vt != VT_NULL && VariantIndex(*inner, value))
            request.flags = value;
    }
    request.target = OptionalText(targetFrameName);
    request.post = PostDataBytes(postData, request.postData);
    request.headers = OptionalText(headers);
    return Go(request);
}

STDMETHODIMP WebBrowser::Refresh() {
    if (!m_document || IsClosed()) return E_FAIL;
    if (Deferred([](WebBrowser& browser) { browser.Refresh(); })) return S_OK;
    LoadHere({m_document->Url()}, false);
    return S_OK;
}

STDMETHODIMP WebBrowser::get_Document(IDispatch** document) {
    if (!document) return E_POINTER;
    *document = nullptr;
    if (!m_document) return S_OK;
    return m_document->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(document));
}

STDMETHODIMP WebBrowser::get_LocationName(BSTR* title) {
    if (!m_document) return ReturnString(u"", title);
    return ReturnString(m_locationName.empty() ? m_document->Url() : m_locationName, title);
}

STDMETHODIMP WebBrowser::get_LocationURL(BSTR* url) {
    return ReturnString(m_document ? m_document->Url() : u"", url);
}

STDMETHODIMP WebBrowser::get_Busy(VARIANT_BOOL* busy) {
    return ReturnBool(false, busy);
}

STDMETHODIMP WebBrowser::Quit() {
    return Top()->CloseWindow();
}

STDMETHODIMP WebBrowser::ExecWB(OLECMDID command, OLECMDEXECOPT options, VARIANT*, VARIANT*) {
    if (command == OLECMDID_CLOSE) return Top()->CloseWindow();
    if (command == OLECMDID_PRINT) return Print(options);
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP WebBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
    *point = &m_events;
    m_events.AddRef();
    return S_OK;
}

// DocumentHost

HRESULT WebBrowser::Click(HtmlDocument& document, Node& element) {
    PageDriver* driver = Driver();
    if (!driver) return ClickElement(*this, document, element, false);
    // The event fires here; the live page carries out the default action.
    CComPtr<WebBrowser> keep(this);
    CComPtr<HtmlDocument> keepDocument(&document);
    FireMouseEvent(*this, document, DISPID_HTMLDOCUMENTEVENTS2_ONCLICK, element, false);
    if (IsClosed() || m_document.p != &document) return S_OK;
    return driver->Click(*this, document, element);
}

HRESULT WebBrowser::Submit(HtmlDocument& document, Node& form) {
    return SubmitForm(*this, document, form, nullptr);
}

HRESULT WebBrowser::Open(HtmlDocument& document, BSTR url, const VARIANT& name, const VARIANT&,
                         const VARIANT&, IDispatch** window) {
    std::u16string target;
    VariantText(name, target);
    const std::u16string_view address(url ? url : u"", SysStringLen(url));
    // document.open() / open("text/html"): rewrite this document.
    if (target.empty() && (address.empty() || WideEqualsNoCase(address, u"text/html"))) {
        document.BeginWrite();
        return document.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(window));
    }
    const std::u16string resolved =
        address.empty() ? u"about:blank" : ResolveUrl(document.Url(), address);
    WebBrowser* opened = target.empty() || target == u"_blank" ? nullptr : Top()->FindFrame(target);
    if (opened) {
        opened->Go({resolved});
    } else {
        if (PopupBlockerOn()) {
            JournalEffect(u"blocked", resolved);
            return S_OK;
        }
        opened = OpenNewWindow(resolved);
        if (!opened) return S_OK;  // NewWindow2 cancelled it
    }
    auto* result = new (std::nothrow) HtmlWindow(*opened);
    if (!result) return E_OUTOFMEMORY;
    result->AddRef();
    const HRESULT hr = result->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(window));
    result->Release();
    return hr;
}

HRESULT WebBrowser::ParentWindow(HtmlDocument&, IHTMLWindow2** window) {
    auto* result = new (std::nothrow) HtmlWindow(*this);
    if (!result) return E_OUTOFMEMORY;
    result->AddRef();
    *window = result;
    return S_OK;
}

HRESULT WebBrowser::QueryDocumentInterface(HtmlDocument& document, REFIID iid, void** out) {
    if (&document != m_document.p || !m_services) return E_NOINTERFACE;
    return m_services->QueryOwnInterface(iid, out);
}

void WebBrowser::ContentWritten(HtmlDocument& document) {
    if (&document != m_document.p || IsClosed()) return;
    // The old frames went with the old content; its events wait for a
    // handler that wrote it to return.
    DropFrames();
    if (PageDriver* driver = Driver()) driver->ContentWritten(*this, document);
    CComPtr<HtmlDocument> written(&document);
    RunOrDefer(
        [self = CComPtr<WebBrowser>(this), written] { self->CompleteWrittenPage(*written); });
}

void WebBrowser::NodeWritten(HtmlDocument& document, Node& node, NodeWrite what) {
    if (PageDriver* driver = Driver()) driver->NodeWritten(document, node, what);
}

void WebBrowser::DropFrames() {
    std::vector<Frame> oldFrames = std::move(m_frames);
    for (Frame& frame : oldFrames) {
        frame.browser->DetachDocument();
        frame.browser->m_parent = nullptr;
        frame.browser->m_frameElement = nullptr;
    }
}

void WebBrowser::CompleteWrittenPage(HtmlDocument& document) {
    if (&document != m_document.p || IsClosed()) return;
    CComPtr<WebBrowser> keep(this);
    const unsigned navigation = ++m_navigation;
    // A written page is a new page: its sinks and UI handler start afresh.
    if (m_services) m_services->Detach();
    m_services = new (std::nothrow) DocumentServices(document, *this);
    m_locationName = document.Title();
    if (m_window) SetWindowTextW(m_window->pageWindow, document.Title().c_str());
    // The written page completes as a loaded one does, frames included.
    FireNavigateComplete(document.Url());
    if (Stale(navigation)) return;
    CompleteDocument(navigation);
}

// The tree

WebBrowser* WebBrowser::Top() {
    WebBrowser* top = this;
    while (top->m_parent) top = top->m_parent;
    return top;
}

std::vector<WebBrowser*> WebBrowser::FrameBrowsers() const {
    std::vector<WebBrowser*> out;
    for (const Frame& frame : m_frames) out.push_back(frame.browser);
    return out;
}

WebBrowser* WebBrowser::BrowserOf(const HtmlDocument& document) {
    std::vector<WebBrowser*> pending{this};
    while (!pending.empty()) {
        WebBrowser* browser = pending.back();
        pending.pop_back();
        if (browser->m_document.p == &document) return browser;
        for (Frame& frame : browser->m_frames) pending.push_back(frame.browser);
    }
    return nullptr;
}

std::vector<HtmlDocument*> WebBrowser::AllDocuments() {
    std::vector<HtmlDocument*> out;
    std::vector<WebBrowser*> pending{this};
    while (!pending.empty()) {
        WebBrowser* browser = pending.back();
        pending.pop_back();
        if (browser->m_document) out.push_back(browser->m_document);
        for (auto it = browser->m_frames.rbegin(); it != browser->m_frames.rend(); ++it)
            pending.push_back(it->browser);
    }
    return out;
}

WebBrowser* WebBrowser::FindFrame(std::u16string_view name) {
    std::vector<WebBrowser*> pending{this};
    while (!pending.empty()) {
        WebBrowser* browser = pending.back();
        pending.pop_back();
        if (browser != this && browser->m_name == name) return browser;
        for (Frame& frame : browser->m_frames) pending.push_back(frame.browser);
    }
    return nullptr;
}

int WebBrowser::Depth() const {
    int depth = 0;
    for (const WebBrowser* b = m_parent; b; b = b->m_parent) ++depth;
    return depth;
}

// The window

bool WebBrowser::IsClosed() {
    const Window* window = Top()->m_window.get();
    return !window || window->closed;
}

HWND WebBrowser::PageWindow() {
    const Window* window = Top()->m_window.get();
    return window && !window->closed ? window->pageWindow : nullptr;
}

ClientSite* WebBrowser::Site() {
    if (!m_site) m_site = new (std::nothrow) ClientSite(*this);
    return m_site;
}

void WebBrowser::LoadAddOns() {
    if (!m_window) return;
    for (const CLSID& clsid : RegisteredAddOns()) {
        CComPtr<IObjectWithSite> addOn;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectWithSite,
                                    reinterpret_cast<void**>(&addOn))))
            continue;
        addOn->SetSite(static_cast<IWebBrowser2*>(this));
        if (IsClosed()) return;
        m_window->addOns.push_back(addOn);
    }
}

std::vector<CComPtr<IObjectWithSite>> WebBrowser::AddOns() {
    const Window* window = Top()->m_window.get();
    return window ? window->addOns : std::vector<CComPtr<IObjectWithSite>>();
}

void WebBrowser::ShowBlankPage(bool addToHistory) {
    CComPtr<HtmlDocument> blank;
    if (FAILED(HtmlDocument::Create({}, u"about:blank", {}, &blank))) return;
    ShowDocument(blank, addToHistory);
}

HRESULT WebBrowser::CloseWindow() {
    if (!m_window) {
        WebBrowser* top = Top();
        return top == this ? E_FAIL : top->CloseWindow();
    }
    if (m_window->closing) return S_OK;
    CComPtr<WebBrowser> keep(this);
    m_window->closing = true;
    const std::u16string url = m_document ? m_document->Url() : u"";
    std::vector<VARIANT> none;
    FireBrowserEvent(DISPID_ONQUIT, none);
    // Sinks still advised belong to add-ons about to be released: cut them
    // while those are alive. Cookies are handed out from 1 upwards.
    for (DWORD cookie = 1; m_events.SinkCount() > 0 && cookie != 0; ++cookie)
        m_events.Unadvise(cookie);
    std::vector<CComPtr<IObjectWithSite>> addOns = std::move(m_window->addOns);
    for (CComPtr<IObjectWithSite>& addOn : addOns) addOn->SetSite(nullptr);
    addOns.clear();
    m_window->closed = true;
    ++m_navigation;
    DetachDocument();
    if (m_window->pageWindow) DestroyWindow(m_window->pageWindow);
    m_window->pageWindow = nullptr;
    BrowserSession::Instance().RemoveWindow(this);
    if (PageDriver* driver = std::exchange(m_driver, nullptr)) driver->WindowClosed(*this);
    JournalEffect(u"close", url);
    return S_OK;
}

// Navigation

bool WebBrowser::Stale(unsigned navigation) {
    return IsClosed() || m_navigation != navigation;
}

bool WebBrowser::Closing() {
    const Window* window = Top()->m_window.get();
    return !window || window->closing || window->closed;
}

HRESULT WebBrowser::Go(const NavigationRequest& request) {
    if (IsClosed()) return E_FAIL;
    if (IsScriptUrl(request.url)) return S_OK;
    if (Deferred([request](WebBrowser& browser) { browser.Go(request); })) return S_OK;
    // A window on its way out (its OnQuit handlers run) goes nowhere.
    if (Closing()) return S_OK;
    const std::u16string& target = request.target;
    if ((request.flags & (navOpenInNewWindow | navOpenInNewTab)) || target == u"_blank") {
        OpenNewWindow(request.url, (request.flags & navOpenInNewTab) != 0);
        return S_OK;
    }
    WebBrowser* destination = this;
    if (target == u"_top")
        destination = Top();
    else if (target == u"_parent")
        destination = m_parent ? m_parent : this;
    else if (!target.empty() && target != u"_self") {
        destination = Top()->FindFrame(target);
        if (!destination) {
            OpenNewWindow(request.url);
            return S_OK;
        }
    }
    CComPtr<WebBrowser> keep(destination);
    destination->LoadHere(request, true);
    return S_OK;
}

HRESULT WebBrowser::GoBack() {
    if (m_historyIndex == 0 || IsClosed()) return E_FAIL;
    if (Deferred([](WebBrowser& browser) { browser.GoBack(); })) return S_OK;
    return GoToHistory(m_historyIndex - 1);
}

HRESULT WebBrowser::GoForward() {
    if (m_historyIndex + 1 >= m_history.size() || IsClosed()) return E_FAIL;
    if (Deferred([](WebBrowser& browser) { browser.GoForward(); })) return S_OK;
    return GoToHistory(m_historyIndex + 1);
}

HRESULT WebBrowser::GoToHistory(std::size_t index) {
    CComPtr<WebBrowser> keep(this);
    const CComPtr<HtmlDocument> before = m_document;  // held, so its address stays its own
    const std::size_t from = m_historyIndex;
    m_historyIndex = index;
    // A cancelled navigation leaves the place in the history as it was.
    if (!LoadHere({m_history[index]}, false) && m_document.p == before.p) m_historyIndex = from;
    return S_OK;
}

WebBrowser* WebBrowser::OpenNewWindow(const std::u16string& url, bool tab) {
    CComPtr<IDispatch> offered;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT browserArg, cancelArg;
    VariantInit(&browserArg);
    browserArg.vt = VT_BYREF | VT_DISPATCH;
    browserArg.ppdispVal = &offered;
    VariantInit(&cancelArg);
    cancelArg.vt = VT_BYREF | VT_BOOL;
    cancelArg.pboolVal = &cancel;
    std::vector<VARIANT> args{browserArg, cancelArg};
    FireBrowserEvent(DISPID_NEWWINDOW2, args);
    if (cancel != VARIANT_FALSE) return nullptr;
    JournalEffect(tab ? u"tab" : u"window", url);
    if (!InCallOut()) return BrowserSession::Instance().OpenBrowser(url);
    // The caller gets the window now; the rest waits for its handler.
    WebBrowser* opened = BrowserSession::Instance().OpenBlankBrowser(url == u"about:blank");
    if (opened)
        RunOrDefer([self = CComPtr<WebBrowser>(opened), url] { self->StartOpenedWindow(url); });
    return opened;
}

void WebBrowser::StartOpenedWindow(const std::u16string& url) {
    if (IsClosed()) return;
    LoadAddOns();
    if (IsClosed()) return;
    if (url == u"about:blank")
        CompleteBlankPage();
    else
        Go({url});
}

// The events of the page a new window was opened with. Its document may
// hold what the opener wrote meanwhile; that page's events follow.
void WebBrowser::CompleteBlankPage() {
    CComPtr<WebBrowser> keep(this);
    const unsigned navigation = ++m_navigation;
    FireNavigateComplete(u"about:blank");
    if (Stale(navigation)) return;
    CComVariant url(u"about:blank");
    std::vector<VARIANT> args{DispatchArgument(AsDispatch()), ByReference(&url)};
    FireBrowserEvent(DISPID_DOCUMENTCOMPLETE, args);
}

void WebBrowser::FireNavigateComplete(const std::u16string& address) {
    CComVariant url(address);
    std::vector<VARIANT> args{DispatchArgument(AsDispatch()), ByReference(&url)};
    FireBrowserEvent(DISPID_NAVIGATECOMPLETE2, args);
}

bool WebBrowser::LoadHere(const NavigationRequest& request, bool addToHistory) {
    CComPtr<WebBrowser> keep(this);
    const unsigned navigation = ++m_navigation;

    CComVariant url(request.url);
    CComVariant flags(static_cast<int>(0));
    CComVariant target(request.target);
    CComVariant postData;
    if (request.post) postData = PostDataVariant(request.postData);
    CComVariant headers(request.headers);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT cancelArg;
    VariantInit(&cancelArg);
    cancelArg.vt = VT_BYREF | VT_BOOL;
    cancelArg.pboolVal = &cancel;
    std::vector<VARIANT> args{DispatchArgument(AsDispatch()),
                              ByReference(&url),
                              ByReference(&flags),
                              ByReference(&target),
                              ByReference(&postData),
                              ByReference(&headers),
                              cancelArg};
    FireBrowserEvent(DISPID_BEFORENAVIGATE2, args);
    if (cancel != VARIANT_FALSE || Stale(navigation)) return false;

    CComPtr<HtmlDocument> document;
    if (PageDriver* driver = Driver()) {
        const HRESULT loaded = driver->Load(*this, request, &document);
        if (loaded == S_FALSE) m_loadAddsToHistory = addToHistory && !request.post;
        if (loaded == S_FALSE || Stale(navigation)) return loaded == S_FALSE;
        if (FAILED(loaded) || !document) return false;
    } else {
        PageRequest pageRequest{request.url, request.post, request.postData, request.headers};
        const LoadedPage page = LoadPage(pageRequest, [](std::u16string_view host) {
            return BrowserSession::Instance().MappedFolder(host);
        });
        if (Stale(navigation)) return false;
        if (FAILED(HtmlDocument::Create(page.bytes, page.url, page.charset, &document)))
            return false;
    }
    ShowDocument(document, addToHistory && !request.post);
    FireNavigateComplete(document->Url());
    if (Stale(navigation)) return true;
    CompleteDocument(navigation);
    return true;
}

void WebBrowser::SetPageDriver(PageDriver* driver) {
    m_driver = driver;
}

PageDriver* WebBrowser::Driver() {
    WebBrowser* top = Top();
    return top->m_window && !top->m_window->closed ? top->m_driver : nullptr;
}

void WebBrowser::ShowLoadedPage(HtmlDocument* document) {
    if (!document || IsClosed()) return;
    CComPtr<HtmlDocument> page(document);
    if (Deferred([page](WebBrowser& browser) { browser.ShowLoadedPage(page); })) return;
    CComPtr<WebBrowser> keep(this);
    const unsigned navigation = ++m_navigation;
    ShowDocument(document, std::exchange(m_loadAddsToHistory, false));
    FireNavigateComplete(document->Url());
    if (Stale(navigation)) return;
    CompleteDocument(navigation);
}

void WebBrowser::ShowDocument(HtmlDocument* document, bool addToHistory) {
    DetachDocument();
    m_document = document;
    m_services = new (std::nothrow) DocumentServices(*document, *this);
    document->SetHost(this);
    if (m_parent && m_parent->m_document && m_frameElement)
        m_parent->m_document->AttachFrame(*m_frameElement, document);
    if (addToHistory) {
        if (!m_history.empty()) m_history.resize(m_historyIndex + 1);
        m_history.push_back(document->Url());
        m_historyIndex = m_history.size() - 1;
    }
    m_locationName = document->Title();
    if (m_window) SetWindowTextW(m_window->pageWindow, document->Title().c_str());
}

void WebBrowser::DetachDocument() {
    for (Frame& frame : m_frames) {
        frame.browser->DetachDocument();
        // A frame's browser someone still holds no longer belongs to a window.
        frame.browser->m_parent = nullptr;
        frame.browser->m_frameElement = nullptr;
    }
    m_frames.clear();
    if (m_services) m_services->Detach();
    m_services.Release();
    if (m_document) m_document->SetHost(nullptr);
    m_document.Release();
}

void WebBrowser::CompleteDocument(unsigned navigation) {
    LoadFrames(navigation);
    if (Stale(navigation)) return;
    CComVariant url(m_document->Url());
    std::vector<VARIANT> args{DispatchArgument(AsDispatch()), ByReference(&url)};
    FireBrowserEvent(DISPID_DOCUMENTCOMPLETE, args);
}

void WebBrowser::LoadFrames(unsigned navigation) {
    CComPtr<HtmlDocument> document = m_document;
    std::vector<const Node*> elements;
    const Node* root = document->Tree().Root();
    for (const Node* n = root; n; n = NextInSubtree(n, root))
        if (n->Is(GUMBO_TAG_FRAME) || n->Is(GUMBO_TAG_IFRAME)) elements.push_back(n);
    for (const Node* element : elements) {
        auto* child = new (std::nothrow) WebBrowser();
        if (!child) return;
        child->m_parent = this;
        child->m_frameElement = element;
        child->m_name = FrameName(*element);
        m_frames.push_back({element, child});
        const std::u16string source = element->AttributeOr(u"src");
        const std::u16string url = source.empty() ? u"about:blank" : document->ResolveLink(source);
        if (child->Depth() > kMaxFrameDepth) continue;
        child->LoadHere({url}, true);
        if (Stale(navigation)) return;
    }
}

void WebBrowser::FireBrowserEvent(DISPID id, std::vector<VARIANT>& args) {
    WebBrowser* top = Top();
    if (!top->m_window || top->m_window->closed) return;
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                      static_cast<UINT>(reversed.size()), 0};
    CallOut callOut(this, m_document);
    top->m_events.Fire(id, &params);
}

// Printing

HRESULT WebBrowser::Print(DWORD options) {
    if (!m_document || IsClosed()) return E_FAIL;
    if (PageDriver* driver = Driver()) {
        const HRESULT printed = driver->Print(*this, options);
        if (printed != E_NOTIMPL) return printed;
    }
    CComPtr<HtmlDocument> document = m_document;
    const std::u16string title = document->Title().empty() ? document->Url() : document->Title();
    if (options != OLECMDEXECOPT_DONTPROMPTUSER && !CurrentUiBackend().ConfirmPrint(title))
        return S_OK;
    const Node* page = document->Tree().DocumentElement();
    const std::u16string html = page ? OuterHtml(*page) : std::u16string();
    const std::string path = BrowserSession::Instance().NextPrintPath();
    if (path.empty()) return E_FAIL;
    const HRESULT hr = PrintHtmlToPdf(html, title, Utf8ToUtf16(path));
    if (FAILED(hr)) return hr;
    JournalEffect(u"print", Utf8ToUtf16(path));
    return S_OK;
}

}  // namespace browser
