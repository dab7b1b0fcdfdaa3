// The add-on in a browser window as a user meets it: links opened
// elsewhere, the Alt+Click toggle, PDF links, double-click to close, frames
// and the state a new page clears.
#include "tests/addon/addon_test_support.h"

namespace addon_test {

namespace {

class BrowserEvents : public AddOnTest {
protected:
    DWORD Setting(const char16_t* name) {
        DWORD value = 99;
        EXPECT_TRUE(addon_test::Setting(name, value));
        return value;
    }
};

TEST_F(BrowserEvents, APlainLinkOpensInANewTabWhenTheSettingIsOn) {
    SetSetting(u"Open New Window", 1);
    browser::BrowserWindow& window = OpenDemo("article.html");
    EXPECT_EQ("", window.Click(Element(window, u"#one")));
    EXPECT_EQ(2u, Session().WindowCount());
    EXPECT_EQ(u"Field Notes", window.Title());
    ASSERT_EQ(1u, JournalOf("tab").size());
    EXPECT_NE(std::string::npos, JournalOf("tab")[0].find("notes/one.html"));
}

TEST_F(BrowserEvents, BelowVersionSevenOnlyWebAddressesGoToTheShell) {
    SetBrowserVersion(u"6.0.2900");
    SetSetting(u"Open New Window", 1);
    browser::BrowserWindow& web = Open(DemoWeb("article.html"));
    web.Click(Element(web, u"#one"));
    EXPECT_EQ((std::vector<std::string>{"http://demo.test/notes/one.html"}), JournalOf("shell"));
    EXPECT_EQ(u"Field Notes", web.Title());

    // A file: link would have the shell run what it names.
    browser::BrowserWindow& local = OpenDemo("article.html");
    local.Click(Element(local, u"#two"));
    EXPECT_EQ(1u, JournalOf("shell").size());
    EXPECT_EQ(1u, JournalOf("window").size());
    EXPECT_EQ(u"Field Notes", local.Title());
}

TEST_F(BrowserEvents, AltClickTogglesTheSettingAndThatClickAlreadyFollowsIt) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    window.Click(Element(window, u"#one"), true);
    EXPECT_EQ(1u, Setting(u"Open New Window"));
    EXPECT_EQ(1u, JournalOf("tab").size());
    EXPECT_EQ(u"Field Notes", window.Title());

    window.Click(Element(window, u"#two"), true);
    EXPECT_EQ(0u, Setting(u"Open New Window"));
    EXPECT_EQ(1u, JournalOf("tab").size());
    EXPECT_EQ(u"Note Two", window.Title());
}

TEST_F(BrowserEvents, ClicksThatAreNotPlainLinksNeverToggleOrRedirect) {
    SetSetting(u"Open New Window", 1);
    browser::BrowserWindow& window = OpenDemo("article.html");
    for (const char16_t* selector : {u"#p1", u"#anchor", u"#script", u"#handled"}) {
        window.Click(Element(window, selector), true);
        EXPECT_EQ(1u, Setting(u"Open New Window")) << Utf16ToUtf8(selector);
    }
    EXPECT_TRUE(JournalOf("tab").empty());
}

TEST_F(BrowserEvents, AClickWhoseNavigationWasCancelledDoesNotCountForATypedAddress) {
    LoadRecordingAddOn();  // cancels every address that holds "cancel"
    SetSetting(u"Open PDF New Window", 1);
    AddPage("cancel.html", "<title>Never</title>");
    AddPage("guide.pdf", "%PDF-1.4");
    browser::BrowserWindow& window =
        Open(AddPage("start.html", "<a id=go href='cancel.html'>go</a>"));
    window.Click(Element(window, u"#go"));
    window.Navigate(PageUrl("guide.pdf"));
    EXPECT_TRUE(JournalOf("tab").empty());
    EXPECT_EQ(1u, Session().WindowCount());
}

TEST_F(BrowserEvents, PdfLinksOpenElsewhereOnlyWithTheirSetting) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    SetSetting(u"Open PDF New Window", 1);
    browser::BrowserWindow& withSetting = OpenDemo("article.html");
    withSetting.Click(Element(withSetting, u"#pdf"));
    ASSERT_EQ(1u, JournalOf("tab").size());
    EXPECT_NE(std::string::npos, JournalOf("tab")[0].find("guide.pdf"));

    // The first window loaded its settings before the change.
    window.Click(Element(window, u"#pdf"));
    EXPECT_EQ(1u, JournalOf("tab").size());
}

TEST_F(BrowserEvents, DoubleClickOnABlankAreaClosesTheWindow) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    window.DoubleClick(Element(window, u"#p1"));
    window.DoubleClick(Element(window, u"#one"));
    window.DoubleClick(Element(window, u"#blank"), true);
    EXPECT_TRUE(window.IsOpen());
    window.DoubleClick(Element(window, u"#blank"));
    EXPECT_FALSE(window.IsOpen());
}

TEST_F(BrowserEvents, DoubleClickClosesNothingWithTheSettingOff) {
    SetSetting(u"Double Click Close Window", 0);
    browser::BrowserWindow& window = OpenDemo("article.html");
    window.DoubleClick(Element(window, u"#blank"));
    EXPECT_TRUE(window.IsOpen());
}

TEST_F(BrowserEvents, EveryFrameReportsItsClicksButItsLinksStayInTheFrame) {
    AddPage("left.html", "<title>Left</title><p><a id=go href='right.html'>go</a></p>");
    AddPage("right.html", "<title>Right</title><div id=empty></div><p>text</p>");
    AddPage("set.html",
            "<frameset cols='50%,50%'><frame src='left.html'><frame src='right.html'></frameset>");
    SetSetting(u"Open New Window", 1);
    browser::BrowserWindow& window = Open(PageUrl("set.html"));
    window.Click(Element(window, u"frame 1 >> #go"), true);
    EXPECT_EQ(0u, Setting(u"Open New Window"));
    EXPECT_TRUE(JournalOf("tab").empty());
    window.DoubleClick(Element(window, u"frame 2 >> #empty"));
    EXPECT_FALSE(window.IsOpen());
}

TEST_F(BrowserEvents, ANavigationInsideAFrameDoesNotStopTheNextPageBeingHooked) {
    browser::BrowserWindow& window = OpenDemo("frames.html");
    CEditHtml* addOn = AddOnOf(window);
    ASSERT_NE(nullptr, addOn);
    // The right frame navigates on its own.
    window.Click(Element(window, u"frame 2 >> #signin"));
    EXPECT_EQ(nullptr, addOn->m_pNavigatedDisp);
    window.Navigate(DemoFile("login.html"));
    addOn->m_spDefUIHandler.Release();
    window.Navigate(DemoFile("article.html"));
    EXPECT_TRUE(addOn->m_spDefUIHandler);
}

TEST_F(BrowserEvents, ANewTopLevelPageClearsTheLoginFormState) {
    browser::BrowserWindow& window = OpenDemo("login.html");
    CEditHtml* addOn = AddOnOf(window);
    ASSERT_NE(nullptr, addOn);
    CComPtr<IDispatch> user;
    window.Document()->ObjectFor(Element(window, u"#user").element, &user);
    ASSERT_TRUE(addOn->PageHasPasswordInput(user));
    addOn->m_bLoginSaved = addOn->m_bPasswordHasValue = addOn->m_bPromptDeclined = 1;
    window.Navigate(DemoFile("welcome.html"));
    EXPECT_FALSE(addOn->m_spPasswordInput);
    EXPECT_EQ(0, addOn->m_bLoginSaved + addOn->m_bPasswordHasValue + addOn->m_bPromptDeclined);
}

}  // namespace

}  // namespace addon_test
