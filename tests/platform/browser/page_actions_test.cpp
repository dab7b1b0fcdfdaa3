// What a user's acts do to pages: events with their source element and
// Alt key, links, check boxes, form submissions to a virtual host, word
// selection by double-click, and the acts' own failures.
#include <filesystem>

#include "platform/browser/form_controls.h"
#include "platform/browser/selection.h"
#include "platform/win/text.h"
#include "tests/platform/browser/browser_test_support.h"

namespace browser_test {

namespace {

using Log = std::vector<std::string>;

class PageActions : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        LoadRecordingAddOn();
        std::filesystem::create_directories(PagesFolder() + "/site");
        testing_support::WriteFile(PagesFolder() + "/site/index.html",
                                   "<title>Site</title><p>home</p>");
        testing_support::WriteFile(
            PagesFolder() + "/site/form.html",
            "<title>Form</title>"
            "<form action='find.html' method=get><input name=q value='a b'>"
            "<input type=checkbox name=all checked><input type=checkbox name=none>"
            "<select name=kind multiple><option value=x selected>X<option value=y>Y</select>"
            "<input type=submit name=go value=Go><input type=submit name=other value=Other></form>"
            "<form action='/save' method=post><textarea name=t>line</textarea>"
            "<button id=save>Save</button></form>");
        testing_support::WriteFile(PagesFolder() + "/site/find.html", "<title>Found</title>");
        testing_support::WriteFile(PagesFolder() + "/site/save", "<title>Saved</title>");
        Session().MapHost(u"Example.COM", Utf8ToUtf16(PagesFolder() + "/site/"));
    }
};

TEST_F(PageActions, ClickReportsThePointersElementAndAltThenFollowsTheLink) {
    AddPage("next.html", "<title>Next</title>");
    browser::BrowserWindow& window = Open(AddPage("links.html",
                                                  "<a href='next.html'><b>bold</b> link</a>"
                                                  "<a id=js href='javascript:go()'>script</a>"));
    EventLog().clear();
    EXPECT_EQ("", window.Click(Element(window, u"#js"), true));
    EXPECT_EQ((Log{"click A alt"}), EventLog());
    EXPECT_EQ(PageUrl("links.html"), window.Url());

    EXPECT_EQ("", window.Click(Element(window, u"a")));
    EXPECT_EQ("click B", EventLog()[1]);
    EXPECT_EQ("BN2 next.html top", EventLog()[2]);
    EXPECT_EQ(u"Next", window.Title());
}

TEST_F(PageActions, HoverFiresMouseMoveAndCheckBoxesToggleOnClick) {
    browser::BrowserWindow& window =
        Open(AddPage("box.html", "<label><input type=checkbox id=c> tick</label><p>text</p>"));
    EventLog().clear();
    EXPECT_EQ("", window.Hover(Element(window, u"p")));
    const browser::PageElement box = Element(window, u"#c");
    EXPECT_EQ("", window.Click(box));
    EXPECT_TRUE(browser::IsChecked(*box.element));
    EXPECT_EQ("", window.Click(box));
    EXPECT_FALSE(browser::IsChecked(*box.element));
    EXPECT_EQ((Log{"mousemove P", "click INPUT", "click INPUT"}), EventLog());
}

TEST_F(PageActions, AGetFormSendsItsLiveValuesAndOnlyTheClickedButton) {
    browser::BrowserWindow& window = Open(u"http://example.com/form.html");
    EXPECT_EQ(u"Form", window.Title());
    EXPECT_EQ("", window.Type(Element(window, u"[name=q]"), u"caf\u00e9 & tea"));
    EXPECT_EQ("", window.SetChecked(Element(window, u"[name=none]"), true));
    EXPECT_EQ("", window.Choose(Element(window, u"select"), {u"y", u"x"}));
    EXPECT_EQ("", window.Click(Element(window, u"[name=other]")));
    EXPECT_EQ(
        u"http://example.com/find.html?q=caf%C3%A9+%26+tea&all=on&none=on&kind=x&kind=y"
        u"&other=Other",
        window.Url());
    EXPECT_EQ(u"Found", window.Title());
}

TEST_F(PageActions, APostFormThroughAButtonRecordsItsBody) {
    browser::BrowserWindow& window = Open(u"https://example.com/form.html");
    EXPECT_EQ("", window.Type(Element(window, u"textarea"), u"one\ntwo"));
    EXPECT_EQ("", window.Click(Element(window, u"#save")));
    EXPECT_EQ(u"https://example.com/save", window.Url());
    EXPECT_EQ((std::vector<std::string>{"https://example.com/save t=one%0D%0Atwo"}),
              JournalOf("post"));
}

TEST_F(PageActions, VirtualHostsServeOnlyTheirFolder) {
    testing_support::WriteFile(PagesFolder() + "/secret.html", "<title>Secret</title>");
    browser::BrowserWindow& window = Open(u"http://example.com/");
    EXPECT_EQ(u"Site", window.Title());
    window.Navigate(u"http://example.com/%2e%2e/secret.html");
    EXPECT_EQ(u"The page cannot be displayed", window.Title());
    window.Navigate(u"http://example.com/missing.html");
    EXPECT_EQ(u"The page cannot be displayed", window.Title());
    EXPECT_EQ(u"http://example.com/missing.html", window.Url());
}

TEST_F(PageActions, DoubleClickSelectsTheFirstWordOrClearsTheSelection) {
    browser::BrowserWindow& window =
        Open(AddPage("words.html", "<p id=t>  Hello world</p><div id=e><img src=x.png></div>"));
    const browser::PageElement text = Element(window, u"#t");
    EventLog().clear();
    EXPECT_EQ("", window.DoubleClick(text));
    EXPECT_EQ(u"Hello", browser::SelectedText(window.Document()->CurrentSelection()));
    EXPECT_EQ("", window.DoubleClick(Element(window, u"#e"), true));
    EXPECT_EQ(browser::Selection::Kind::None, window.Document()->CurrentSelection().kind);
    EXPECT_EQ((Log{"dblclick P", "dblclick DIV alt"}), EventLog());
}

TEST_F(PageActions, SelectorsReachIntoFramesAndActsRefuseWrongElements) {
    AddPage("inner.html", "<p>inside</p><input type=radio name=r value=1>");
    browser::BrowserWindow& window =
        Open(AddPage("outer.html", "<p>outside</p><iframe src='inner.html'></iframe>"));
    const browser::PageElement inside = Element(window, u"frame 1 >> p");
    ASSERT_NE(nullptr, inside.element);
    EXPECT_EQ(u"inside", inside.element->firstChild->data);
    browser::PageElement none;
    EXPECT_EQ("no frame 2 (the page has 1)", window.FindElement(u"frame 2 >> p", none));
    EXPECT_EQ("no element matches table", window.FindElement(u"table", none));

    EXPECT_EQ("not a text box or text area", window.Type(inside, u"x"));
    EXPECT_EQ("not a check box or radio button", window.SetChecked(inside, true));
    EXPECT_EQ("not a list", window.Choose(inside, {u"1"}));
    EXPECT_EQ("", window.Select(inside, 1, 3));
    EXPECT_EQ(u"ns", browser::SelectedText(inside.document->CurrentSelection()));
    EXPECT_EQ("", window.Unselect());
    EXPECT_EQ(browser::Selection::Kind::None, inside.document->CurrentSelection().kind);
}

}  // namespace

}  // namespace browser_test
