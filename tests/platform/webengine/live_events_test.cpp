// What a user does in a live page reaches the add-ons as the embedded
// engine delivers it: navigation events (cancel honoured), pointer events
// on the mirrored element, the host's context menu, new windows with
// their own add-ons. And what a page's scripts can not do.
#include <QString>

#include "platform/browser/mshtml_document.h"
#include "platform/browser/selection.h"
#include "tests/platform/webengine/live_test_support.h"

namespace live_test {
namespace {

class LiveEvents : public LiveTest {};

TEST_F(LiveEvents, NavigationsFireTheirEventsAndACancelKeepsThePage) {
    AddPage("next.html", "<title>Next</title><p id=n>n</p>");
    AddPage("cancel.html", "<title>Cancelled</title>");
    webengine::LiveTab& tab =
        OpenLive(AddPage("start.html",
                         "<title>Start</title><a id=no href='cancel.html'>no</a> <a id=yes "
                         "href='next.html'>yes</a>"));
    ClickAt(tab, "#no", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click A"));
    ASSERT_TRUE(WaitForEvent("BN2 cancel.html top"));
    ClickAt(tab, "#yes", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click A"));
    EXPECT_TRUE(WaitForEvent("BN2 next.html top"));
    EXPECT_TRUE(WaitForEvent("NC2 next.html top"));
    EXPECT_TRUE(WaitForEvent("DC next.html top"));
    for (const std::string& entry : browser_test::EventLog())
        EXPECT_EQ(std::string::npos, entry.find("C2 cancel")) << entry;
    EXPECT_EQ(u"Next", Session().WindowOf(tab.Browser())->Title());
}

TEST_F(LiveEvents, PointerEventsReachTheAddOnOnTheMirroredElement) {
    webengine::LiveTab& tab = OpenLive(
        AddPage("pointer.html",
                "<title>P</title><p><b id=w>some words here</b></p><span id=s>span</span>"));
    ClickAt(tab, "#s", Qt::LeftButton, Qt::AltModifier);
    EXPECT_TRUE(WaitForEvent("mousemove SPAN alt"));
    EXPECT_TRUE(WaitForEvent("click SPAN alt"));
    ClickAt(tab, "#w", Qt::LeftButton, Qt::NoModifier, true);
    EXPECT_TRUE(WaitForEvent("dblclick B"));
    // The double-click selected the word before the add-on heard of it.
    EXPECT_EQ(u"words", browser::SelectedText(
                            Session().WindowOf(tab.Browser())->Document()->CurrentSelection()));
    // What the user selected is the model's selection when the menu opens.
    PageScript(tab,
               "var t = document.getElementById('w').firstChild, r = document.createRange();"
               "r.setStart(t, 0); r.setEnd(t, 10); getSelection().removeAllRanges();"
               "getSelection().addRange(r);");
    Answer(u"menu -");
    ClickAt(tab, "#w", Qt::RightButton);
    ASSERT_TRUE(WaitUntil([&] { return Ui().LastMenu() != nullptr; }));
    const browser::Selection& selection =
        Session().WindowOf(tab.Browser())->Document()->CurrentSelection();
    EXPECT_EQ(u"some words", browser::SelectedText(selection));
}

TEST_F(LiveEvents, ARightClickShowsTheHostsMenuAsARealMenu) {
    webengine::LiveTab& tab = OpenLive(
        AddPage("menu.html", "<title>M</title><a id=l href='menu.html'>link</a><p id=p>text</p>"));
    Answer(u"menu Copy");
    ClickAt(tab, "#l", Qt::RightButton);
    ASSERT_TRUE(WaitUntil([&] { return Ui().LastMenu() != nullptr; }));
    std::vector<std::u16string> labels;
    for (const MenuItemSnapshot& item : *Ui().LastMenu())
        if (!item.separator) labels.push_back(item.label);
    EXPECT_NE(labels.end(), std::find(labels.begin(), labels.end(), u"Open Link"));
    EXPECT_TRUE(WaitUntil([&] { return !JournalOf("copy").empty(); }));
}

TEST_F(LiveEvents, ANewWindowFromThePageGetsItsOwnAddOns) {
    AddPage("other.html", "<title>Other</title>");
    webengine::LiveTab& tab = OpenLive(AddPage(
        "opener.html", "<title>O</title><a id=out href='other.html' target=_blank>out</a>"));
    ClickAt(tab, "#out", Qt::LeftButton);
    EXPECT_TRUE(WaitForEvent("NewWindow2"));
    EXPECT_TRUE(WaitForEvent("site"));
    EXPECT_TRUE(WaitForEvent("DC other.html top"));
    EXPECT_EQ(2u, Session().WindowCount());
    EXPECT_EQ(u"Other", Session().Window(2)->Title());
}

TEST_F(LiveEvents, PageScriptsCannotReachTheBridgeOrForgeEvents) {
    webengine::LiveTab& tab = OpenLive(AddPage(
        "hostile.html", "<title>H</title><p id=p>p</p><script>window.tried = [];</script>"));
    EXPECT_EQ(QStringLiteral("undefined"),
              PageScript(tab, "typeof window.kestroBridge").toString());
    // Scripted events and a prompt that looks like the bridge's.
    PageScript(tab,
               "var p = document.getElementById('p');"
               "p.dispatchEvent(new MouseEvent('click', {bubbles: true}));"
               "p.click(); p.dispatchEvent(new MouseEvent('contextmenu', {bubbles: true}));"
               "prompt('kestro:00000000:{\"k\":\"click\",\"e\":1}', '');");
    ClickAt(tab, "#p", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click P"));
    int clicks = 0;
    for (const std::string& entry : browser_test::EventLog()) clicks += entry == "click P";
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(nullptr, Ui().LastMenu());
}

TEST_F(LiveEvents, ScriptAndDataAddressesAreRefused) {
    webengine::LiveTab& tab = OpenLive(AddPage("safe.html", "<title>Safe</title>"));
    for (const char16_t* address :
         {u"javascript:document.title='x'", u"data:text/html,<title>x</title>"}) {
        CComVariant none;
        EXPECT_EQ(S_OK, Session()
                            .WindowOf(tab.Browser())
                            ->Browser()
                            ->Navigate(CComBSTR(address), &none, &none, &none, &none));
    }
    PageScript(tab, "1");  // the page has answered whatever was asked before
    EXPECT_EQ(QStringLiteral("Safe"), PageScript(tab, "document.title").toString());
    EXPECT_EQ(u"Safe", Session().WindowOf(tab.Browser())->Title());
}

TEST_F(LiveEvents, AWindowTheAddOnWritesIntoRunsWithoutScripts) {
    webengine::LiveTab& tab = OpenLive(AddPage("writer.html", "<title>W</title>"));
    CComPtr<IDispatch> opened;
    CComQIPtr<IHTMLDocument2> document(Session().WindowOf(tab.Browser())->Document());
    ASSERT_TRUE(document);
    CComVariant name(u"_blank"), none;
    ASSERT_EQ(S_OK, document->open(CComBSTR(u"about:blank"), name, none, none, &opened));
    ASSERT_EQ(2u, Session().WindowCount());
    browser::BrowserWindow* written = Session().Window(2);
    CComQIPtr<IHTMLDocument2> target(written->Document());
    ASSERT_TRUE(target);
    ASSERT_EQ(
        S_OK,
        browser_test::WriteDocument(
            target, u"<title>Item</title><p id=x>shown</p><script>document.title='ran'</script>"));
    target->close();
    webengine::LiveTab* tab2 = TabOf(*written);
    ASSERT_TRUE(tab2);
    EXPECT_FALSE(tab2->ScriptsAllowed());
    ASSERT_TRUE(WaitUntil([&] { return tab2->Page()->title() == QStringLiteral("Item"); }));
    EXPECT_TRUE(tab.ScriptsAllowed());
}

}  // namespace
}  // namespace live_test
