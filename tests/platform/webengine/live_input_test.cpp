// A window's acts on the live engine (off screen): they reach the page
// through its view as a person's keys and pointer do, so the page's own
// handlers see them, and each returns with what it caused complete and
// in the model: typed values, loads, new windows, selections, menus.
#include <QString>

#include "platform/browser/form_controls.h"
#include "platform/browser/selection.h"
#include "tests/platform/webengine/live_test_support.h"

namespace live_test {
namespace {

using browser::BrowserWindow;
using browser::PageElement;

class LiveActs : public LiveTest {
protected:
    BrowserWindow& WindowOf(webengine::LiveTab& tab) { return *Session().WindowOf(tab.Browser()); }
    PageElement At(webengine::LiveTab& tab, std::u16string_view selector) {
        return Mirrored(tab, selector);
    }
    std::u16string ModelValue(webengine::LiveTab& tab, std::u16string_view selector) {
        const PageElement element = At(tab, selector);
        return element.element ? browser::ControlValue(*element.element) : u"(none)";
    }
    std::string Events(const std::string& prefix) {
        std::string found;
        for (const std::string& entry : browser_test::EventLog())
            if (entry.rfind(prefix, 0) == 0) found += entry + ";";
        return found;
    }
};

TEST_F(LiveActs, TypingGoesThroughTheKeyboardAndReplacesTheText) {
    webengine::LiveTab& tab =
        OpenLive(AddPage("type.html",
                         "<title>T</title><input id=name value=old><textarea id=note></textarea>"
                         "<input id=n><script>var keys = 0; document.addEventListener('keydown', "
                         "function () { keys++; });</script>"));
    BrowserWindow& window = WindowOf(tab);
    EXPECT_EQ("", window.Type(At(tab, u"#name"), u"Zoë Lee"));
    EXPECT_EQ(u"Zoë Lee", ModelValue(tab, u"#name"));
    EXPECT_EQ("", window.Type(At(tab, u"#note"), u"two\r\nlines"));
    EXPECT_EQ(u"two\r\nlines", ModelValue(tab, u"#note"));
    EXPECT_EQ(QStringLiteral("two\nlines"),
              PageScript(tab, "document.getElementById('note').value").toString());
    // A text box takes no line break; an empty text clears the box.
    EXPECT_EQ("", window.Type(At(tab, u"#n"), u"a\r\nb"));
    EXPECT_EQ(u"ab", ModelValue(tab, u"#n"));
    EXPECT_EQ("", window.Type(At(tab, u"#n"), u""));
    EXPECT_EQ(u"", ModelValue(tab, u"#n"));
    // The page's own handlers saw real keys.
    EXPECT_LT(15, PageScript(tab, "keys").toInt());
}

TEST_F(LiveActs, ChecksChoicesAndClicksReachThePageAndTheAddOn) {
    webengine::LiveTab& tab = OpenLive(AddPage(
        "controls.html",
        "<title>C</title><input id=box type=checkbox><input id=r1 type=radio name=g checked>"
        "<input id=r2 type=radio name=g><select id=list multiple><option value=a>A"
        "<option value=b>B<option value=c>C</select><p id=p>some text</p>"));
    BrowserWindow& window = WindowOf(tab);
    EXPECT_EQ("", window.SetChecked(At(tab, u"#box"), true));
    EXPECT_TRUE(browser::IsChecked(*At(tab, u"#box").element));
    EXPECT_EQ("", window.SetChecked(At(tab, u"#r2"), true));
    EXPECT_FALSE(browser::IsChecked(*At(tab, u"#r1").element));
    EXPECT_NE("", window.SetChecked(At(tab, u"#r2"), false));
    EXPECT_EQ("click INPUT;click INPUT;", Events("click"));
    EXPECT_EQ("", window.Choose(At(tab, u"#list"), {u"c", u"a"}));
    EXPECT_EQ(QStringLiteral("a,c"),
              PageScript(tab,
                         "Array.from(document.getElementById('list').selectedOptions)"
                         ".map(o => o.value).join()")
                  .toString());
    EXPECT_EQ("", window.Hover(At(tab, u"#p")));
    EXPECT_EQ("", window.Click(At(tab, u"#p"), true));
    EXPECT_NE(std::string::npos, Events("mousemove").find("mousemove P;"));
    EXPECT_EQ("click INPUT;click INPUT;click P alt;", Events("click"));
}

TEST_F(LiveActs, AClickReturnsWithTheLoadsAndWindowsItStarted) {
    AddPage("next.html", "<title>Next</title><p id=n>next</p>");
    webengine::LiveTab& tab =
        OpenLive(AddPage("start.html",
                         "<title>Start</title><a id=go href='next.html'>go</a> "
                         "<a id=out href='next.html' target=_blank>out</a>"));
    BrowserWindow& window = WindowOf(tab);
    EXPECT_EQ("", window.Click(At(tab, u"#out")));
    ASSERT_EQ(2u, Session().WindowCount());
    EXPECT_EQ(u"Next", Session().Window(2)->Title());
    EXPECT_EQ("", window.Click(At(tab, u"#go")));
    EXPECT_EQ(u"Next", window.Title());
    EXPECT_EQ("", window.Navigate(PageUrl("start.html")));
    EXPECT_EQ(u"Start", window.Title());
}

// Chromium would save an Alt+clicked link; here the add-ons give Alt its
// meaning and the link is followed, unless the page cancelled the click.
TEST_F(LiveActs, AnAltClickFollowsTheLinkUnlessThePageCancelsIt) {
    AddPage("next.html", "<title>Next</title>");
    webengine::LiveTab& tab = OpenLive(
        AddPage("alt.html",
                "<title>Alt</title><a id=kept href='next.html'>kept</a> "
                "<a id=go href='next.html'>go</a><script>document.getElementById('kept')"
                ".addEventListener('click', function (e) { e.preventDefault(); });</script>"));
    BrowserWindow& window = WindowOf(tab);
    EXPECT_EQ("", window.Click(At(tab, u"#kept"), true));
    EXPECT_EQ(u"Alt", window.Title());
    EXPECT_EQ("", window.Click(At(tab, u"#go"), true));
    EXPECT_EQ(u"Next", window.Title());
    EXPECT_EQ("click A alt;click A alt;", Events("click"));
}

TEST_F(LiveActs, SelectionsMadeWithThePointerAreTheModels) {
    webengine::LiveTab& tab = OpenLive(AddPage(
        "select.html",
        "<title>S</title><p id=p>Some   words to\n select here</p><p id=q>other words</p>"));
    BrowserWindow& window = WindowOf(tab);
    auto selected = [&] { return browser::SelectedText(window.Document()->CurrentSelection()); };
    EXPECT_EQ("", window.Select(At(tab, u"#p"), 5, 14));
    EXPECT_EQ(u"words to", selected());
    EXPECT_EQ("", window.Select(At(tab, u"#q")));
    EXPECT_EQ(u"other words", selected());
    EXPECT_EQ("", window.DoubleClick(At(tab, u"#p")));
    EXPECT_EQ(u"Some", selected());
    EXPECT_EQ("", window.Unselect());
    EXPECT_EQ(u"", selected());
}

TEST_F(LiveActs, ARightClickReturnsOnceItsMenuCommandIsDone) {
    webengine::LiveTab& tab =
        OpenLive(AddPage("menu.html", "<title>M</title><p id=p>Copy me please</p>"));
    BrowserWindow& window = WindowOf(tab);
    ASSERT_EQ("", window.Select(At(tab, u"#p"), 0, 7));
    Answer(u"menu Copy");
    EXPECT_EQ("", window.RightClick(At(tab, u"#p")));
    ASSERT_EQ(1u, JournalOf("copy").size());
    EXPECT_NE(std::string::npos, JournalOf("copy")[0].find("Copy me"));
}

TEST_F(LiveActs, ActsOnWhatThePageNoLongerHoldsFailCleanly) {
    webengine::LiveTab& tab =
        OpenLive(AddPage("gone.html", "<title>G</title><input id=box><p id=hidden hidden>h</p>"));
    BrowserWindow& window = WindowOf(tab);
    const PageElement box = At(tab, u"#box");
    PageScript(tab, "document.getElementById('box').remove()");
    EXPECT_NE("", window.Type(box, u"x"));
    EXPECT_NE("", window.Click(box));
    EXPECT_NE("", window.Click(At(tab, u"#hidden")));
    // The page is still there for the next act.
    EXPECT_EQ("", window.Navigate(PageUrl("gone.html")));
}

TEST_F(LiveActs, PrintingMakesAPdfOfTheLivePage) {
    webengine::LiveTab& tab =
        OpenLive(AddPage("print.html",
                         "<title>P</title><p id=p>printed</p><script>document.body.append("
                         "document.createElement('hr'))</script>"));
    CComPtr<IWebBrowser2> browser(WindowOf(tab).Browser());
    Answer(u"print ok");
    ASSERT_EQ(S_OK, browser->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, nullptr, nullptr));
    ASSERT_EQ("", webengine::LiveEngine::Instance()->Settle());
    const std::vector<std::string> prints = JournalOf("print");
    ASSERT_EQ(1u, prints.size());
    const std::string path = prints[0].substr(prints[0].find('\t') + 1);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(file) << path;
    char head[5] = {};
    EXPECT_EQ(4u, std::fread(head, 1, 4, file));
    std::fclose(file);
    EXPECT_EQ(std::string("%PDF"), head);
}

}  // namespace
}  // namespace live_test
