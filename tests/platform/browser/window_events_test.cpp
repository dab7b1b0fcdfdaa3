// Browser windows as add-ons see them: the order of the browser events for
// pages with frames, cancelled navigations, new windows from document.open
// and the pop-up blocker, closing, the frames' browsers, printing.
#include "platform/browser/document_services.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/web_browser.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"
#include "tests/platform/browser/browser_test_support.h"

namespace browser_test {

namespace {

using Log = std::vector<std::string>;

CComPtr<IHTMLDocument2> DocumentOf(browser::BrowserWindow& window) {
    CComPtr<IDispatch> document;
    EXPECT_EQ(S_OK, window.Browser()->get_Document(&document));
    return CComQIPtr<IHTMLDocument2>(document);
}

HRESULT OpenFrom(IHTMLDocument2* document, const char16_t* url, IDispatch** window) {
    CComBSTR address(url);
    CComVariant name(u"_blank"), features(u"scrollbars=yes"), replace(true);
    return document->open(address, name, features, replace, window);
}

std::string BstrText(BSTR text) {
    return Utf16ToUtf8(text ? text : u"");
}

class WindowEvents : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        LoadRecordingAddOn();
        AddPage("a.html", "<title>A</title><p>frame a</p>");
        AddPage("b.html", "<title>B</title><p>frame b <a href='cancel.html'>stay</a></p>");
        AddPage("top.html",
                "<html><head><title>Top</title></head>"
                "<frameset cols='50%,50%'><frame name=left src='a.html'>"
                "<frame name=right src='b.html'></frameset></html>");
    }
};

TEST_F(WindowEvents, FramesCompleteWithTheirOwnBrowsersBeforeTheTopPage) {
    Open(PageUrl("top.html"));
    EXPECT_EQ((Log{"site", "BN2 top.html top", "NC2 top.html top", "BN2 a.html frame",
                   "NC2 a.html frame", "DC a.html frame", "BN2 b.html frame", "NC2 b.html frame",
                   "DC b.html frame", "DC top.html top"}),
              EventLog());
}

TEST_F(WindowEvents, TheContainerListsTheFramesBrowsers) {
    browser::BrowserWindow& window = Open(PageUrl("top.html"));
    CComQIPtr<IOleContainer> container(DocumentOf(window));
    ASSERT_TRUE(container);
    CComPtr<IEnumUnknown> frames;
    ASSERT_EQ(S_OK, container->EnumObjects(OLECONTF_EMBEDDINGS, &frames));
    std::vector<std::string> titles;
    for (CComPtr<IUnknown> item; frames->Next(1, &item, nullptr) == S_OK; item.Release()) {
        CComQIPtr<IWebBrowser2> frame(item);
        ASSERT_TRUE(frame);
        CComBSTR title;
        frame->get_LocationName(&title);
        titles.push_back(BstrText(title));
    }
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), titles);
    CComBSTR top;
    window.Browser()->get_LocationName(&top);
    EXPECT_EQ("Top", BstrText(top));
}

TEST_F(WindowEvents, ACancelledNavigationKeepsThePage) {
    browser::BrowserWindow& window = Open(PageUrl("b.html"));
    EventLog().clear();
    EXPECT_EQ("", window.Click(Element(window, u"a")));
    EXPECT_EQ((Log{"click A", "BN2 cancel.html top"}), EventLog());
    EXPECT_EQ(PageUrl("b.html"), window.Url());
}

TEST_F(WindowEvents, CloseFiresOnQuitThenReleasesTheAddOns) {
    browser::BrowserWindow& window = Open(PageUrl("a.html"));
    EventLog().clear();
    EXPECT_EQ(S_OK,
              window.Browser()->ExecWB(OLECMDID_CLOSE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr));
    EXPECT_EQ((Log{"OnQuit", "site null"}), EventLog());
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(0u, Session().WindowCount());
    EXPECT_EQ((std::vector<std::string>{Utf16ToUtf8(PageUrl("a.html"))}), JournalOf("close"));
    EXPECT_EQ("the window is closed", window.Close());
}

TEST_F(WindowEvents, OpenOfBlankGivesAWritableWindowWithItsOwnAddOn) {
    browser::BrowserWindow& window = Open(PageUrl("a.html"));
    EventLog().clear();
    CComPtr<IDispatch> opened;
    ASSERT_EQ(S_OK, OpenFrom(DocumentOf(window), u"about:blank", &opened));
    CComQIPtr<IHTMLWindow2> newWindow(opened);
    ASSERT_TRUE(newWindow);
    EXPECT_EQ(2u, Session().WindowCount());
    EXPECT_EQ((Log{"NewWindow2", "site", "BN2 about:blank top", "NC2 about:blank top",
                   "DC about:blank top"}),
              EventLog());

    CComPtr<IHTMLDocument2> written;
    ASSERT_EQ(S_OK, newWindow->get_document(&written));
    EventLog().clear();
    ASSERT_EQ(S_OK, WriteDocument(written,
                                  u"<title>Kestro Link Pages</title><frameset cols='100%'>"
                                  u"<frame src='" +
                                      PageUrl("a.html") + u"'></frameset>"));
    ASSERT_EQ(S_OK, written->close());
    // The written page completes as a loaded one: its frames first.
    EXPECT_EQ((Log{"NC2 about:blank top", "BN2 a.html frame", "NC2 a.html frame", "DC a.html frame",
                   "DC about:blank top"}),
              EventLog());
    EXPECT_EQ(u"Kestro Link Pages", Session().Window(2)->Title());
}

TEST_F(WindowEvents, OpenOfAnAddressLoadsItInANewWindow) {
    browser::BrowserWindow& window = Open(PageUrl("top.html"));
    CComPtr<IDispatch> opened;
    ASSERT_EQ(S_OK, OpenFrom(DocumentOf(window), u"b.html", &opened));
    ASSERT_TRUE(opened);
    EXPECT_EQ(PageUrl("b.html"), Session().Window(2)->Url());
    EXPECT_EQ((std::vector<std::string>{Utf16ToUtf8(PageUrl("b.html"))}), JournalOf("window"));
}

TEST_F(WindowEvents, ThePopupBlockerReturnsNoWindowOnlyWhileItIsOn) {
    browser::BrowserWindow& window = Open(PageUrl("a.html"));
    SetPopupBlocker(1);
    CComPtr<IDispatch> opened;
    EXPECT_EQ(S_OK, OpenFrom(DocumentOf(window), u"about:blank", &opened));
    EXPECT_EQ(nullptr, opened.p);
    EXPECT_EQ(1u, Session().WindowCount());
    EXPECT_EQ((std::vector<std::string>{"about:blank"}), JournalOf("blocked"));

    SetPopupBlocker(0);
    EXPECT_EQ(S_OK, OpenFrom(DocumentOf(window), u"about:blank", &opened));
    EXPECT_NE(nullptr, opened.p);
    EXPECT_EQ(2u, Session().WindowCount());
}

TEST_F(WindowEvents, AWindowClosedFromAnEventHandlerStopsLoadingThere) {
    AddPage("closer.html", "<p>closes its window when complete</p>");
    AddPage("closing.html",
            "<frameset rows='50%,50%'><frame src='closer.html'>"
            "<frame src='b.html'></frameset>");
    browser::BrowserWindow& window = Open(PageUrl("closing.html"));
    EXPECT_EQ((Log{"site", "BN2 closing.html top", "NC2 closing.html top", "BN2 closer.html frame",
                   "NC2 closer.html frame", "DC closer.html frame", "OnQuit", "site null"}),
              EventLog());
    EXPECT_FALSE(window.IsOpen());
    EXPECT_EQ(nullptr, window.Document());
}

TEST_F(WindowEvents, NavigateWithNewWindowFlagsOpensWindowsAndTargetsReachFrames) {
    browser::BrowserWindow& window = Open(PageUrl("top.html"));
    CComBSTR address(PageUrl("b.html").c_str());
    CComVariant newTab(static_cast<int>(navOpenInNewTab));
    CComVariant newWindow(static_cast<int>(navOpenInNewWindow));
    EXPECT_EQ(S_OK, window.Browser()->Navigate(address, &newTab, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, window.Browser()->Navigate(address, &newWindow, nullptr, nullptr, nullptr));
    EXPECT_EQ(3u, Session().WindowCount());
    EXPECT_EQ(PageUrl("b.html"), Session().Window(2)->Url());
    EXPECT_EQ((std::vector<std::string>{Utf16ToUtf8(PageUrl("b.html"))}), JournalOf("tab"));
    EXPECT_EQ((std::vector<std::string>{Utf16ToUtf8(PageUrl("b.html"))}), JournalOf("window"));

    CComVariant none(0), left(u"left");
    EXPECT_EQ(S_OK, window.Browser()->Navigate(address, &none, &left, nullptr, nullptr));
    EXPECT_EQ(PageUrl("top.html"), window.Url());
    EXPECT_EQ(PageUrl("b.html"), window.Document()->Frames()[0]->Url());
}

TEST_F(WindowEvents, PrintingAsksFirstAndWritesAPdfWhenConfirmed) {
    browser::BrowserWindow& window = Open(PageUrl("a.html"));
    CComQIPtr<IOleCommandTarget> target(DocumentOf(window));
    ASSERT_TRUE(target);
    Answer(u"print -");
    EXPECT_EQ(S_OK,
              target->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, nullptr, nullptr));
    EXPECT_TRUE(JournalOf("print").empty());

    Answer(u"print ok");
    EXPECT_EQ(S_OK,
              window.Browser()->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, nullptr, nullptr));
    const std::vector<std::string> printed = JournalOf("print");
    ASSERT_EQ(1u, printed.size());
    const std::string pdf = testing_support::ReadFile(printed[0]);
    EXPECT_EQ(0u, pdf.rfind("%PDF-", 0));
    EXPECT_NE(std::string::npos, pdf.find("%%EOF"));
}

TEST_F(WindowEvents, TheSetUpWritesTheVersionWhereAddOnsReadIt) {
    ASSERT_EQ(ERROR_SUCCESS, browser::WriteBrowserVersion(u"6.0.2900"));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Internet Explorer", 0,
                            KEY_READ, &key));
    char16_t version[32] = {};
    DWORD type = 0, size = sizeof(version);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, u"Version", nullptr, &type,
                                              reinterpret_cast<BYTE*>(version), &size));
    RegCloseKey(key);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(u"6.0.2900", std::u16string(version));
}

}  // namespace

}  // namespace browser_test
