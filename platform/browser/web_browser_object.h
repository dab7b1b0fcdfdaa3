// The browser object of a window or of a frame. A window's browser is the
// top of a tree: its frames' browsers are its children, created for the
// FRAME and IFRAME elements of each page. All events of the tree fire
// through the top browser's DWebBrowserEvents2 connection point, each with
// the browser it concerns as first argument; the top browser also owns the
// window's page window and its add-on objects.
//
// Navigation is synchronous: BeforeNavigate2 (cancellable), the page is
// loaded, NavigateComplete2, then each frame's own navigation (its
// BeforeNavigate2, NavigateComplete2, frames and DocumentComplete), and
// last the DocumentComplete of the browser itself. An event handler may
// navigate or close the window; the navigation it interrupted then stops.
//
// What a handler starts (navigations, refresh, back and forward, new
// windows and tabs, the events of a page it wrote) runs after the handler
// returns (deferred_work.h); requests are checked at once. A new window a
// handler opens with document.open exists at once, showing a blank page
// the handler may write into and print; the window's add-ons are made and
// its events fire after the handler: NavigateComplete2 and
// DocumentComplete of the blank page, then those of the written page.
// get_LocationName tells the title of the page whose events began last, so
// during the blank page's events it is still "about:blank".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/browser/document_host.h"
#include "platform/browser/html_document.h"
#include "platform/browser/web_browser.h"
#include "platform/com/atl_site.h"
#include "platform/com/connection_point.h"

namespace browser {

class DocumentServices;
class ClientSite;
class PageDriver;

struct NavigationRequest {
    NavigationRequest() = default;
    NavigationRequest(std::u16string address) : url(std::move(address)) {}

    std::u16string url;
    long flags = 0;         // navOpenInNewWindow, navOpenInNewTab
    std::u16string target;  // a frame name, "_blank", "_self", "_parent", "_top"
    bool post = false;
    std::string postData;
    std::u16string headers;
};

class WebBrowser final : public IWebBrowser2,
                         public IConnectionPointContainer,
                         public DocumentHost {
public:
    // A new window's browser with its page window; no page, no add-ons yet.
    static HRESULT CreateWindowBrowser(WebBrowser** browser);

    // IUnknown: IWebBrowser2, IDispatch and IUnknown share one pointer, the
    // one events carry.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    // IWebBrowser2
    STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData,
                          VARIANT* headers) override;
    STDMETHODIMP Refresh() override;
    STDMETHODIMP get_Document(IDispatch** document) override;
    STDMETHODIMP get_LocationName(BSTR* title) override;
    STDMETHODIMP get_LocationURL(BSTR* url) override;
    STDMETHODIMP get_Busy(VARIANT_BOOL* busy) override;
    STDMETHODIMP Quit() override;
    STDMETHODIMP ExecWB(OLECMDID command, OLECMDEXECOPT options, VARIANT* in,
                        VARIANT* out) override;

    // IConnectionPointContainer
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // DocumentHost
    HRESULT Click(HtmlDocument& document, Node& element) override;
    HRESULT Submit(HtmlDocument& document, Node& form) override;
    HRESULT Open(HtmlDocument& document, BSTR url, const VARIANT& name, const VARIANT& features,
                 const VARIANT& replace, IDispatch** window) override;
    HRESULT ParentWindow(HtmlDocument& document, IHTMLWindow2** window) override;
    HRESULT QueryDocumentInterface(HtmlDocument& document, REFIID iid, void** out) override;
    void ContentWritten(HtmlDocument& document) override;
    void NodeWritten(HtmlDocument& document, Node& node, NodeWrite what) override;

    // The tree
    WebBrowser* Top();
    WebBrowser* Parent() const { return m_parent; }
    // The FRAME or IFRAME element of a frame's browser (in its parent's page).
    const Node* FrameElement() const { return m_frameElement; }
    const std::u16string& Name() const { return m_name; }
    // The browsers of the current page's frames, in document order.
    std::vector<WebBrowser*> FrameBrowsers() const;
    // The browser showing a document, in this browser's tree.
    WebBrowser* BrowserOf(const HtmlDocument& document);
    // Every document of the tree, this browser's first.
    std::vector<HtmlDocument*> AllDocuments();
    IDispatch* AsDispatch() { return static_cast<IWebBrowser2*>(this); }

    // The window
    bool IsClosed();
    HWND PageWindow();
    HtmlDocument* Document() const { return m_document; }
    DocumentServices* Services() const { return m_services; }
    ClientSite* Site();
    // Creates and sites every registered add-on (top browsers only).
    void LoadAddOns();
    // The window's add-on objects (of the top browser), each counted.
    std::vector<CComPtr<IObjectWithSite>> AddOns();
    // A new window's first page, shown without events: about:blank.
    void ShowBlankPage(bool addToHistory);
    // OnQuit, add-ons released (SetSite(NULL)), page window destroyed.
    HRESULT CloseWindow();

    // Navigation: routes by flags and target, then loads synchronously.
    HRESULT Go(const NavigationRequest& request);
    HRESULT GoBack();
    HRESULT GoForward();
    bool CanGoBack() const { return m_historyIndex > 0; }
    bool CanGoForward() const { return m_historyIndex + 1 < m_history.size(); }
    // A new window or tab showing url (NewWindow2 first; null when
    // cancelled). Inside a call out the window comes at once with a blank
    // page; its add-ons and url follow when the call out has returned.
    WebBrowser* OpenNewWindow(const std::u16string& url, bool tab = false);

    // A live engine for this window (page_driver.h); set on a window's
    // browser before its first page, not owned.
    void SetPageDriver(PageDriver* driver);
    PageDriver* Driver();
    // The page a driver loaded for this browser's last navigation: shown,
    // then NavigateComplete2, its frames and DocumentComplete.
    void ShowLoadedPage(HtmlDocument* document);

    // Printing: the print dialog (unless told not to prompt), then a PDF;
    // a page driver may print its page instead.
    HRESULT Print(DWORD options);

    // Fires a DWebBrowserEvents2 event; args in their declared order.
    void FireBrowserEvent(DISPID id, std::vector<VARIANT>& args);

private:
    WebBrowser() = default;
    ~WebBrowser();

    struct Frame {
        const Node* element;
        CComPtr<WebBrowser> browser;
    };
    struct Window {
        HWND pageWindow = nullptr;
        std::vector<CComPtr<IObjectWithSite>> addOns;
        bool closing = false;
        bool closed = false;
    };

    bool Stale(unsigned navigation);
    bool Closing();
    // Inside a call out: queues request(*this) for after it; true then.
    template <class Request>
    bool Deferred(Request request);
    HRESULT GoToHistory(std::size_t index);
    void StartOpenedWindow(const std::u16string& url);
    void CompleteBlankPage();
    void DropFrames();
    void CompleteWrittenPage(HtmlDocument& document);
    void FireNavigateComplete(const std::u16string& url);
    // False when the navigation did not go ahead (cancelled, overtaken).
    bool LoadHere(const NavigationRequest& request, bool addToHistory);
    void ShowDocument(HtmlDocument* document, bool addToHistory);
    void DetachDocument();
    void CompleteDocument(unsigned navigation);
    void LoadFrames(unsigned navigation);
    WebBrowser* FindFrame(std::u16string_view name);
    int Depth() const;

    std::atomic<ULONG> m_refs{0};
    WebBrowser* m_parent = nullptr;  // not counted: the parent owns this
    const Node* m_frameElement = nullptr;
    std::u16string m_name;
    std::unique_ptr<Window> m_window;  // top browsers only
    ConnectionPoint m_events{this, DIID_DWebBrowserEvents2};
    CComPtr<HtmlDocument> m_document;
    std::u16string m_locationName;  // the title of the page whose events began last
    CComPtr<DocumentServices> m_services;
    CComPtr<ClientSite> m_site;
    std::vector<Frame> m_frames;
    std::vector<std::u16string> m_history;
    std::size_t m_historyIndex = 0;
    unsigned m_navigation = 0;
    PageDriver* m_driver = nullptr;    // top browsers only
    bool m_loadAddsToHistory = false;  // for the page a driver is loading
};

}  // namespace browser
