// What add-ons start from inside their handlers: navigations, new windows
// and tabs, written pages and menu commands wait until the handler has
// returned and then run in the order they were asked for; a handler that
// closes its own window keeps its object until it returns.
#include "platform/browser/deferred_work.h"
#include "platform/browser/doc_host_ui.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/web_browser.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_event.h"
#include "platform/com/atl_site.h"
#include "platform/win/text.h"
#include "tests/platform/browser/browser_test_support.h"

namespace browser_test {

namespace {

using Log = std::vector<std::string>;

void Note(const std::string& entry) {
    EventLog().push_back(entry);
}

std::string Result(HRESULT hr) {
    switch (hr) {
        case S_OK:
            return "S_OK";
        case E_INVALIDARG:
            return "E_INVALIDARG";
        case E_FAIL:
            return "E_FAIL";
        default:
            return std::to_string(hr);
    }
}

HRESULT NavigateTo(IWebBrowser2* browser, const std::u16string& url, long flags = 0) {
    CComBSTR address(url.c_str());
    CComVariant how(static_cast<int>(flags));
    return browser->Navigate(address, &how, nullptr, nullptr, nullptr);
}

std::string LastSegment(const std::u16string& url) {
    const std::string text = Utf16ToUtf8(url);
    return text.substr(text.rfind('/') + 1);
}

std::vector<std::string> Starting(const Log& log, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& entry : log)
        if (entry.rfind(prefix, 0) == 0) found.push_back(entry);
    return found;
}

CComPtr<IHTMLDocument2> DocumentOf(IWebBrowser2* browser) {
    CComPtr<IDispatch> document;
    if (browser) browser->get_Document(&document);
    return CComQIPtr<IHTMLDocument2>(document);
}

HRESULT WriteAndClose(IHTMLDocument2* document, const std::u16string& html) {
    const HRESULT hr = WriteDocument(document, html);
    return SUCCEEDED(hr) ? document->close() : hr;
}

std::string LocationName(IWebBrowser2* browser) {
    CComBSTR name;
    if (!browser || FAILED(browser->get_LocationName(&name))) return "?";
    return Utf16ToUtf8(name.m_str ? name.m_str : u"");
}

class HandlerWork : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        LoadRecordingAddOn();
        m_start = AddPage("start.html", "<title>Start</title><p>start</p><a href='a.html'>a</a>");
        for (const char* name : {"a.html", "b.html", "c.html", "d.html"})
            AddPage(name, std::string("<title>") + name + "</title><p>" + name + "</p>");
    }

    browser::BrowserWindow& Start() {
        browser::BrowserWindow& window = Open(m_start);
        EventLog().clear();
        return window;
    }

    std::u16string m_start;
};

TEST_F(HandlerWork, ANavigationAHandlerStartsRunsAfterItReturns) {
    browser::BrowserWindow& window = Start();
    SetHandlerAction([&](const std::string& entry, IWebBrowser2* browser) {
        if (entry != "click P") return;
        Note("navigate " + Result(NavigateTo(browser, PageUrl("a.html"))) + " at " +
             LastSegment(window.Url()));
    });
    EXPECT_EQ("", window.Click(Element(window, u"p")));
    EXPECT_EQ((Log{"click P", "navigate S_OK at start.html", "BN2 a.html top", "NC2 a.html top",
                   "DC a.html top"}),
              EventLog());
    EXPECT_FALSE(browser::DeferredWorkPending());
}

TEST_F(HandlerWork, RequestsAreCheckedAtOnce) {
    browser::BrowserWindow& window = Start();
    SetHandlerAction([&](const std::string& entry, IWebBrowser2* browser) {
        if (entry != "click P") return;
        CComBSTR empty(u"");
        Note("empty " + Result(browser->Navigate(empty, nullptr, nullptr, nullptr, nullptr)) +
             ", none " + Result(browser->Navigate(nullptr, nullptr, nullptr, nullptr, nullptr)) +
             ", refresh " + Result(browser->Refresh()));
        CComPtr<IWebBrowser2> keep(browser);
        keep->ExecWB(OLECMDID_CLOSE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
        Note("closed: navigate " + Result(NavigateTo(keep, PageUrl("a.html"))) + ", refresh " +
             Result(keep->Refresh()));
    });
    EXPECT_EQ("", window.Click(Element(window, u"p")));
    // The refresh asked for before the window closed went with it.
    EXPECT_EQ((Log{"click P", "empty E_INVALIDARG, none E_INVALIDARG, refresh S_OK", "OnQuit",
                   "site null", "closed: navigate E_FAIL, refresh E_FAIL"}),
              EventLog());
    EXPECT_FALSE(window.IsOpen());
}

TEST_F(HandlerWork, QueuedWorkRunsInOrderAndWorkItQueuesComesAfter) {
    browser::BrowserWindow& window = Start();
    SetHandlerAction([&](const std::string& entry, IWebBrowser2* browser) {
        if (entry == "click P") {
            NavigateTo(browser, PageUrl("a.html"), navOpenInNewWindow);
            NavigateTo(browser, PageUrl("b.html"), navOpenInNewTab);
            NavigateTo(browser, PageUrl("c.html"));
        } else if (entry == "DC a.html top") {
            NavigateTo(browser, PageUrl("d.html"));  // in the new window
        }
    });
    EXPECT_EQ("", window.Click(Element(window, u"p")));
    EXPECT_EQ((Log{"BN2 a.html top", "BN2 b.html top", "BN2 c.html top", "BN2 d.html top"}),
              Starting(EventLog(), "BN2"));
    ASSERT_EQ(3u, Session().WindowCount());
    EXPECT_EQ(PageUrl("c.html"), Session().Window(1)->Url());
    EXPECT_EQ(PageUrl("d.html"), Session().Window(2)->Url());
    EXPECT_EQ(PageUrl("b.html"), Session().Window(3)->Url());
    EXPECT_EQ((std::vector<std::string>{Utf16ToUtf8(PageUrl("a.html"))}), JournalOf("window"));
    EXPECT_EQ((std::vector<std::string>{Utf16ToUtf8(PageUrl("b.html"))}), JournalOf("tab"));
}

TEST_F(HandlerWork, AWindowOpenedInAHandlerIsWrittenAtOnceItsEventsFollow) {
    browser::BrowserWindow& window = Start();
    SetHandlerAction([&](const std::string& entry, IWebBrowser2* browser) {
        if (entry == "DC about:blank top") Note("location " + LocationName(browser));
        if (entry != "click P") return;
        CComBSTR blank(u"about:blank");
        CComVariant name(u"_blank"), features(u"toolbar=no"), replace(true);
        CComPtr<IDispatch> opened;
        DocumentOf(browser)->open(blank, name, features, replace, &opened);
        CComQIPtr<IHTMLWindow2> newWindow(opened);
        CComPtr<IHTMLDocument2> document;
        if (!newWindow || FAILED(newWindow->get_document(&document))) return Note("no window");
        Note("opened, windows " + std::to_string(Session().WindowCount()));
        CComBSTR charset(u"windows-1252");
        document->put_charset(charset);
        WriteAndClose(document,
                      u"<title>Kestro Link Pages</title><frameset cols='100%'><frame src='" +
                          PageUrl("a.html") + u"'></frameset>");
        CComQIPtr<IOleCommandTarget> target(document);
        target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, nullptr);
        Note("written " + Utf16ToUtf8(Session().Window(2)->Title()) + ", printed " +
             std::to_string(JournalOf("print").size()));
    });
    EXPECT_EQ("", window.Click(Element(window, u"p")));
    EXPECT_EQ(
        (Log{"click P", "NewWindow2", "opened, windows 2", "written Kestro Link Pages, printed 1",
             "site", "NC2 about:blank top", "DC about:blank top", "location about:blank",
             "NC2 about:blank top", "BN2 a.html frame", "NC2 a.html frame", "DC a.html frame",
             "DC about:blank top", "location Kestro Link Pages"}),
        EventLog());
    EXPECT_EQ(u"windows-1252", Session().Window(2)->Document()->Charset());
}

// A UI handler that carries out the browser's "Open in New Window" on the
// link from inside ShowContextMenu.
class CommandingHandler final : public IDocHostUIHandler {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDocHostUIHandler) return E_NOINTERFACE;
        *out = static_cast<IDocHostUIHandler*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown* commandTarget, IDispatch*) override {
        CComQIPtr<IOleCommandTarget> target(commandTarget);
        const HRESULT hr = target->Exec(&CGID_MSHTML, IDM_FOLLOWLINKN, 0, nullptr, nullptr);
        Note("exec " + Result(hr) + ", windows " +
             std::to_string(browser::BrowserSession::Instance().WindowCount()));
        return S_OK;
    }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO*) override { return S_OK; }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_FAIL; }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return S_OK; }
    STDMETHODIMP GetExternal(IDispatch**) override { return S_FALSE; }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR*) override { return S_FALSE; }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject**) override { return S_FALSE; }

private:
    ~CommandingHandler() = default;
    ULONG m_refs = 0;
};

TEST_F(HandlerWork, AMenuCommandRunFromTheUiHandlerTakesEffectAfterIt) {
    browser::BrowserWindow& window = Start();
    CComQIPtr<ICustomDoc> custom(DocumentOf(window.Browser()));
    ASSERT_TRUE(custom);
    ASSERT_EQ(S_OK, custom->SetUIHandler(new CommandingHandler()));
    EXPECT_EQ("", window.RightClick(Element(window, u"a")));
    EXPECT_EQ("exec S_OK, windows 1", EventLog().front());
    EXPECT_EQ(2u, Session().WindowCount());
    EXPECT_EQ(PageUrl("a.html"), Session().Window(2)->Url());
}

// An add-on written with the ATL shapes, whose event sinks are not counted:
// only the host's own reference keeps it while its handler closes the window.
enum class CloseFrom { DocumentComplete, Click };
struct ClosingCase {
    CloseFrom from;
    bool quit;  // Quit, else ExecWB(OLECMDID_CLOSE)
};
ClosingCase g_closing{CloseFrom::DocumentComplete, false};

constexpr CLSID kClosingAddOn = MakeGuid("5E0C7A23-3B44-4D8E-9A61-0F2B7C9D1E41");

class ClosingAddOn
    : public CComObjectRootEx<CComSingleThreadModel>,
      public IObjectWithSiteImpl<ClosingAddOn>,
      public IDispEventImpl<0, ClosingAddOn, &DIID_DWebBrowserEvents2, &LIBID_SHDocVw, 1, 1>,
      public IDispEventImpl<1, ClosingAddOn, &DIID_HTMLDocumentEvents2> {
    using BrowserEvents =
        IDispEventImpl<0, ClosingAddOn, &DIID_DWebBrowserEvents2, &LIBID_SHDocVw, 1, 1>;
    using PageEvents = IDispEventImpl<1, ClosingAddOn, &DIID_HTMLDocumentEvents2>;

public:
    BEGIN_COM_MAP(ClosingAddOn)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    BEGIN_SINK_MAP(ClosingAddOn)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_DOCUMENTCOMPLETE, DocumentComplete)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_ONQUIT, OnQuit)
    SINK_ENTRY_EX(1, DIID_HTMLDocumentEvents2, DISPID_HTMLDOCUMENTEVENTS2_ONCLICK, OnClick)
    END_SINK_MAP()

    ~ClosingAddOn() { Note("destroyed"); }

    STDMETHODIMP SetSite(IUnknown* site) override {
        IObjectWithSiteImpl<ClosingAddOn>::SetSite(site);
        m_browser.Release();
        if (!site) {
            Note("site null");
            return S_OK;
        }
        site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser));
        return BrowserEvents::DispEventAdvise(site);
    }

    HRESULT DocumentComplete(IDispatch*, VARIANT*) {
        if (SUCCEEDED(m_browser->get_Document(&m_page)) && m_page)
            PageEvents::DispEventAdvise(m_page);
        if (g_closing.from == CloseFrom::DocumentComplete) CloseOwnWindow();
        return S_OK;
    }

    HRESULT OnQuit() {
        Note("OnQuit");
        if (m_page) PageEvents::DispEventUnadvise(m_page);
        return BrowserEvents::DispEventUnadvise(m_browser);
    }

    HRESULT OnClick(IDispatch*) {
        if (g_closing.from == CloseFrom::Click) CloseOwnWindow();
        return S_OK;
    }

private:
    void CloseOwnWindow() {
        IWebBrowser2* browser = m_browser;
        m_state = "closing";
        if (g_closing.quit)
            browser->Quit();
        else
            browser->ExecWB(OLECMDID_CLOSE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
        // Still this object's own members, after the window let it go.
        Note("after " + m_state + (m_browser ? ", sited" : ", unsited"));
    }

    std::string m_state;
    CComPtr<IWebBrowser2> m_browser;
    CComPtr<IDispatch> m_page;
};

KESTRO_BUILTIN_CLASS(ClosingAddOn, kClosingAddOn, CComCreator<ClosingAddOn>::CreateInstance);

class ClosingFromAHandler : public BrowserTest {};

TEST_F(ClosingFromAHandler, TheAddOnLivesUntilItsHandlerReturns) {
    LoadAddOn(u"{5E0C7A23-3B44-4D8E-9A61-0F2B7C9D1E41}");
    const std::u16string page = AddPage("page.html", "<p>text</p>");
    const ClosingCase cases[] = {{CloseFrom::DocumentComplete, false}, {CloseFrom::Click, true}};
    for (const ClosingCase& closing : cases) {
        SCOPED_TRACE(closing.quit ? "Quit from a click" : "ExecWB from DocumentComplete");
        g_closing = closing;
        browser::BrowserWindow& window = Open(page);
        if (closing.from == CloseFrom::Click) window.Click(Element(window, u"p"));
        EXPECT_EQ((Log{"OnQuit", "site null", "after closing, unsited", "destroyed"}), EventLog());
        EXPECT_FALSE(window.IsOpen());
        EventLog().clear();
    }
}

}  // namespace

}  // namespace browser_test
