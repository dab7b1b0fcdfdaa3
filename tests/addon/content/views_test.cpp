// The item, table and page views: exactly the markup each window gets, the
// print dialog after it, and the pop-up blocker around the opening.
#include "addon/content/dom_reads.h"
#include "addon/content/html_window.h"
#include "addon/content/popup_blocker.h"
#include "platform/browser/browser_settings.h"
#include "tests/addon/content/content_test_support.h"

namespace content_test {

namespace {

constexpr char kPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="windows-1252"><title>Views</title>
<link rel="stylesheet" href="site.css"><style>p { color: red }</style></head>
<body><p id="intro">Intro <b id="bold">bold</b></p>
<table id="table"><tr><td id="cell">Cell <i id="italic">one</i></td><td>Two</td></tr></table>
<div id="styled" style="color: blue"><style>.x { margin: 0 }</style>Styled</div></body></html>)";

// Reads the user's pop-up blocker value: its type and number.
struct PopupValue {
    bool present = false;
    DWORD type = 0;
    DWORD value = 0;
};

PopupValue ReadPopupValue() {
    PopupValue read;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, browser::kNewWindowsKey, 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return read;
    DWORD size = sizeof read.value;
    read.present = RegQueryValueExW(key, u"PopupMgr", nullptr, &read.type,
                                    reinterpret_cast<BYTE*>(&read.value), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return read;
}

class Views : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        m_window = &Open(AddPage("views.html", kPage));
        m_addOn = &AddOn(*m_window);
        m_footer = u"<P><A href=\"" + m_window->Url() + u"\">" + m_window->Url() + u"</A></P>";
    }
    // The markup of the newest window's body, and that window's head.
    std::u16string NewBody() {
        browser::BrowserWindow* opened = Session().Window(Session().WindowCount());
        if (!opened || opened == m_window) return u"(no new window)";
        CComPtr<IHTMLElement> body;
        CComBSTR html;
        CComQIPtr<IHTMLDocument2> document(opened->Document());
        if (!document || FAILED(document->get_body(&body)) || !body ||
            FAILED(body->get_innerHTML(&html)))
            return u"(unreadable)";
        return TextOf(html);
    }

    browser::BrowserWindow* m_window = nullptr;
    CEditHtml* m_addOn = nullptr;
    std::u16string m_footer;
};

TEST_F(Views, EachViewWindowHoldsExactlyItsPieceAndTheLinkToThePage) {
    m_addOn->ShowItemView(ObjectOf(*m_window, u"#cell"), false);
    EXPECT_EQ(u"Cell <I id=\"italic\">one</I>" + m_footer, NewBody());
    m_addOn->ShowTableItems(ObjectOf(*m_window, u"#italic"));
    EXPECT_EQ(
        u"<TABLE id=\"table\"><TBODY><TR><TD id=\"cell\">Cell <I id=\"italic\">one</I></TD>"
        u"<TD>Two</TD></TR></TBODY></TABLE>" +
            m_footer,
        NewBody());
    // Outside a table the table view shows the element itself, tag and all.
    m_addOn->ShowTableItems(ObjectOf(*m_window, u"#bold"));
    EXPECT_EQ(u"<B id=\"bold\">bold</B>" + m_footer, NewBody());
    EXPECT_EQ(4u, Session().WindowCount());
    EXPECT_EQ(3u, JournalOf("window").size());
}

TEST_F(Views, ThePageWithoutStyleLosesItsHeadButKeepsStylesInItsBody) {
    m_addOn->m_bAppendUrl = 0;
    m_addOn->ShowWithoutStyle(ObjectOf(*m_window, u"#bold"));
    const std::u16string body = NewBody();
    EXPECT_EQ(std::u16string::npos, body.find(u"site.css"));
    EXPECT_EQ(std::u16string::npos, body.find(u"color: red"));
    EXPECT_NE(std::u16string::npos, body.find(u"<STYLE>.x { margin: 0 }</STYLE>Styled"));
    EXPECT_NE(std::u16string::npos, body.find(u"style=\"color: blue\""));
    EXPECT_EQ(u"<P id=\"intro\">", body.substr(0, 14));
    // The new page reads its markup in the page's character set.
    browser::BrowserWindow* opened = Session().Window(2);
    ASSERT_NE(nullptr, opened);
    CComBSTR charset;
    CComQIPtr<IHTMLDocument2>(opened->Document())->get_charset(&charset);
    EXPECT_EQ(u"windows-1252", TextOf(charset));
}

TEST_F(Views, AnAddressCannotAddMarkupToTheView) {
    const std::string name = "a&b\"<i>x.html";
    browser::BrowserWindow& window = Open(AddPage(name, kPage));
    AddOn(window).ShowItemView(ObjectOf(window, u"#intro"), false);
    browser::BrowserWindow* opened = Session().Window(Session().WindowCount());
    ASSERT_NE(&window, opened);
    CComQIPtr<IHTMLDocument3> document(opened->Document());
    CComPtr<IHTMLElementCollection> links, italics;
    CComBSTR a(u"A"), i(u"I");
    long linkCount = 0, italicCount = 0;
    document->getElementsByTagName(a, &links);
    document->getElementsByTagName(i, &italics);
    links->get_length(&linkCount);
    italics->get_length(&italicCount);
    ASSERT_EQ(1, linkCount);
    EXPECT_EQ(0, italicCount);
    CComVariant zero(0);
    CComPtr<IDispatch> link;
    links->item(zero, zero, &link);
    CComBSTR href, text;
    CComQIPtr<IHTMLAnchorElement>(link)->get_href(&href);
    CComQIPtr<IHTMLElement>(link)->get_innerText(&text);
    EXPECT_EQ(window.Url(), TextOf(href));
    EXPECT_EQ(window.Url(), TextOf(text));
}

TEST_F(Views, PrintingShowsThePrintDialogForTheNewWindowAfterTheBlockerIsBack) {
    browser_test::SetPopupBlocker(1);
    std::vector<PopupValue> atPrint;
    UiWatch watch;
    watch.beforePrint = [&](const std::u16string&) { atPrint.push_back(ReadPopupValue()); };
    Answer(u"print -");
    m_addOn->ShowItemView(ObjectOf(*m_window, u"#intro"), true);
    ASSERT_EQ(1u, atPrint.size());
    EXPECT_EQ(1u, atPrint[0].value);
    // Cancelling the print dialog leaves the window open.
    EXPECT_EQ(2u, Session().WindowCount());
    EXPECT_EQ(u"Intro <B id=\"bold\">bold</B>" + m_footer, NewBody());
    EXPECT_TRUE(JournalOf("print").empty());
}

TEST_F(Views, TheBlockerIsOffOnlyWhileTheWindowOpensAndOnlyAsTheUserHasIt) {
    // Without the value nothing is created, and the window opens.
    m_addOn->ShowItemView(ObjectOf(*m_window, u"#intro"), false);
    EXPECT_FALSE(ReadPopupValue().present);
    EXPECT_EQ(2u, Session().WindowCount());

    browser_test::SetPopupBlocker(1);
    m_addOn->ShowItemView(ObjectOf(*m_window, u"#intro"), false);
    EXPECT_EQ(3u, Session().WindowCount());
    EXPECT_TRUE(JournalOf("blocked").empty());
    EXPECT_EQ(1u, ReadPopupValue().value);

    // A value that is not a REG_DWORD is never touched.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, browser::kNewWindowsKey, 0, KEY_WRITE, &key));
    const std::u16string text = u"yes";
    RegSetValueExW(key, u"PopupMgr", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
    m_addOn->ShowItemView(ObjectOf(*m_window, u"#intro"), false);
    EXPECT_EQ(DWORD(REG_SZ), ReadPopupValue().type);
}

TEST_F(Views, AWindowThatCannotBeOpenedLeavesTheBlockerAsItWas) {
    browser_test::SetPopupBlocker(1);
    // The page's window has closed: its document can open nothing more.
    CComPtr<IDispatch> intro = ObjectOf(*m_window, u"#intro");
    m_window->Close();
    m_addOn = nullptr;
    CEditHtml* other = &AddOn(OpenDemo("welcome.html"));
    // The view gets as far as opening: the page's address is still there.
    CComPtr<IHTMLDocument2> closed = DocumentOf(CComQIPtr<IHTMLElement>(intro));
    std::u16string url;
    ASSERT_TRUE(ReadPageUrl(closed, url));
    ASSERT_FALSE(OpenNewWindow(closed, u"about:blank"));
    other->ShowItemView(intro, false);
    EXPECT_EQ(1u, Session().WindowCount());
    EXPECT_EQ(1u, ReadPopupValue().value);
}

// Two windows switching the blocker at once: the second one found it
// already off and must not leave it off once the first has put it back.
TEST(PopupBlockerSwitch, ASwitchThatOverlapsAnotherLeavesTheUsersValue) {
    browser_test::SetPopupBlocker(1);
    {
        PopupBlockerSwitch first;
        EXPECT_EQ(0u, ReadPopupValue().value);
        PopupBlockerSwitch second;
        first.Restore();
        EXPECT_EQ(1u, ReadPopupValue().value);
    }
    EXPECT_EQ(1u, ReadPopupValue().value);
    {
        // Restored once only: the user's later choice stays.
        PopupBlockerSwitch once;
        once.Restore();
        browser_test::SetPopupBlocker(0);
        once.Restore();
    }
    EXPECT_EQ(0u, ReadPopupValue().value);
}

}  // namespace

}  // namespace content_test
