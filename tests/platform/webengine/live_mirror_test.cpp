// The live page mirrored into the document model: what page scripts and
// the user change reaches the model before the next event, frames
// included; writes through the model reach the live page by node id.
#include <QString>

#include "platform/browser/form_controls.h"
#include "platform/browser/mshtml_form.h"
#include "tests/platform/webengine/live_test_support.h"

namespace live_test {
namespace {

using browser::PageElement;

std::u16string Value(const PageElement& element) {
    return element.element ? browser::ControlValue(*element.element) : u"(none)";
}

class LiveMirror : public LiveTest {};

TEST_F(LiveMirror, PageScriptChangesReachTheModelAtTheNextEvent) {
    webengine::LiveTab& tab = OpenLive(AddPage(
        "script.html",
        "<title>S</title><form id=f><input id=old value=one><input id=gone></form><p id=p>p</p>"
        "<script>addEventListener('load', function () {"
        " var f = document.getElementById('f');"
        " var n = document.createElement('input'); n.id = 'added'; n.value = 'made'; "
        "f.appendChild(n);"
        " f.removeChild(document.getElementById('gone'));"
        " document.getElementById('old').value = 'two'; });</script>"));
    ClickAt(tab, "#p", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click P"));
    EXPECT_EQ(u"made", Value(Mirrored(tab, u"#added")));
    EXPECT_EQ(u"two", Value(Mirrored(tab, u"#old")));
    PageElement gone;
    EXPECT_NE("", Session().WindowOf(tab.Browser())->FindElement(u"#gone", gone));
}

TEST_F(LiveMirror, ValuesTheUserTypesAreInTheModel) {
    webengine::LiveTab& tab =
        OpenLive(AddPage("typing.html", "<title>T</title><input id=box><p id=p>p</p>"));
    ClickAt(tab, "#box", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click INPUT"));
    TypeText(tab, QStringLiteral("Ann"));
    ASSERT_TRUE(WaitUntil(
        [&] { return PageScript(tab, "document.getElementById('box').value") == "Ann"; }));
    ClickAt(tab, "#p", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click P"));
    EXPECT_EQ(u"Ann", Value(Mirrored(tab, u"#box")));
}

TEST_F(LiveMirror, FramesAreMirroredWithTheirEventsInTheEmbeddedOrder) {
    AddPage("inner.html", "<title>Inner</title><p id=in>inside</p>");
    webengine::LiveTab& tab = OpenLive(
        AddPage("outer.html",
                "<title>Outer</title><p id=top>top</p><iframe id=fr src='inner.html'></iframe>"));
    (void)tab;
    const std::vector<std::string> expected = {"BN2 outer.html top",   "NC2 outer.html top",
                                               "BN2 inner.html frame", "NC2 inner.html frame",
                                               "DC inner.html frame",  "DC outer.html top"};
    std::vector<std::string> seen;
    for (const std::string& entry : browser_test::EventLog())
        if (entry.rfind("BN2", 0) == 0 || entry.rfind("NC2", 0) == 0 || entry.rfind("DC", 0) == 0)
            seen.push_back(entry);
    EXPECT_EQ(expected, seen);
    PageElement inside;
    ASSERT_EQ("", Session().WindowOf(tab.Browser())->FindElement(u"frame 1 >> #in", inside));
    ClickAt(tab, "#fr >> #in", Qt::LeftButton);
    EXPECT_TRUE(WaitForEvent("click P"));
}

TEST_F(LiveMirror, ALargePageIsMirroredWhole) {
    std::string html = "<title>Big</title><form id=f>";
    for (int i = 0; i < 10000; ++i)
        html += "<input name=i" + std::to_string(i) + " value=" + std::to_string(i) + ">";
    html += "</form><p id=p>end</p>";
    webengine::LiveTab& tab = OpenLive(AddPage("big.html", html));
    CComPtr<IHTMLElementCollection> inputs;
    Session()
        .WindowOf(tab.Browser())
        ->Document()
        ->getElementsByTagName(CComBSTR(u"INPUT"), &inputs);
    long length = 0;
    ASSERT_TRUE(inputs);
    inputs->get_length(&length);
    EXPECT_EQ(10000, length);
    EXPECT_EQ(u"9999", Value(Mirrored(tab, u"input[name=i9999]")));
}

// A changed page's snapshot travels with the event; Chromium cuts a
// prompt's text at 10,240 characters, so a long one goes in parts.
TEST_F(LiveMirror, AChangedLargePageReachesTheModelWithTheNextEvent) {
    std::string html = "<title>Big</title><p id=p>end</p><form>";
    for (int i = 0; i < 3000; ++i)
        html += "<input name=i" + std::to_string(i) + " value=\"\u00e9\">";
    webengine::LiveTab& tab = OpenLive(AddPage("changed.html", html + "</form>"));
    PageScript(tab,
               "for (const input of document.querySelectorAll('input')) "
               "input.value = 'changed \\u{1F600} ' + input.name;");
    ClickAt(tab, "#p", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click P"));
    EXPECT_EQ(u"changed \U0001F600 i0", Value(Mirrored(tab, u"input[name=i0]")));
    EXPECT_EQ(u"changed \U0001F600 i2999", Value(Mirrored(tab, u"input[name=i2999]")));
}

TEST_F(LiveMirror, AnElementKeepsItsObjectAcrossRebuildsAndWritesReachThePage) {
    webengine::LiveTab& tab = OpenLive(
        AddPage("writes.html",
                "<title>W</title><form id=f><input id=user><input id=keep type=checkbox>"
                "<select id=list><option value=a>A<option value=b>B</select></form><p id=p>p</p>"));
    const PageElement user = Mirrored(tab, u"#user");
    CComPtr<IHTMLInputElement> before;
    user.document->ObjectFor(user.element, &before);
    // The page changes, so the next event rebuilds the mirror.
    PageScript(tab,
               "document.getElementById('f').insertBefore(document.createElement('input'), "
               "document.getElementById('user')); document.getElementById('user').value='x';");
    ClickAt(tab, "#p", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click P"));
    CComPtr<IHTMLInputElement> after;
    const PageElement again = Mirrored(tab, u"#user");
    again.document->ObjectFor(again.element, &after);
    EXPECT_EQ(before.p, after.p);
    CComBSTR value;
    before->get_value(&value);
    EXPECT_EQ(std::u16string(u"x"), value.m_str);

    before->put_value(CComBSTR(u"Ann Lee"));
    CComPtr<IHTMLInputElement> keep;
    const PageElement box = Mirrored(tab, u"#keep");
    box.document->ObjectFor(box.element, &keep);
    keep->put_checked(VARIANT_TRUE);
    CComPtr<IHTMLSelectElement> list;
    const PageElement select = Mirrored(tab, u"#list");
    select.document->ObjectFor(select.element, &list);
    list->put_value(CComBSTR(u"b"));
    CComPtr<IHTMLElement> element;
    before->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(&element));
    CComVariant title(u"a title");
    element->setAttribute(CComBSTR(u"title"), title, 0);
    ASSERT_TRUE(WaitForWrites(tab, 5));
    EXPECT_EQ(0u, tab.WritesRefused());
    EXPECT_EQ(QStringLiteral("Ann Lee|true|b|a title"),
              PageScript(tab,
                         "var u=document.getElementById('user');[u.value, "
                         "document.getElementById('keep').checked, "
                         "document.getElementById('list').value, u.title].join('|')")
                  .toString());
}

TEST_F(LiveMirror, AWriteIntoANodeThePageRemovedFailsCleanly) {
    webengine::LiveTab& tab =
        OpenLive(AddPage("removed.html", "<title>R</title><input id=doomed><p id=p>p</p>"));
    const PageElement doomed = Mirrored(tab, u"#doomed");
    CComPtr<IHTMLInputElement> input;
    doomed.document->ObjectFor(doomed.element, &input);
    PageScript(tab, "document.getElementById('doomed').remove()");
    EXPECT_EQ(S_OK, input->put_value(CComBSTR(u"lost")));
    ASSERT_TRUE(WaitForWrites(tab, 1));
    EXPECT_EQ(1u, tab.WritesRefused());
    // The next event drops it from the model; the object stays usable.
    ClickAt(tab, "#p", Qt::LeftButton);
    ASSERT_TRUE(WaitForEvent("click P"));
    PageElement gone;
    EXPECT_NE("", Session().WindowOf(tab.Browser())->FindElement(u"#doomed", gone));
    CComBSTR value;
    EXPECT_EQ(S_OK, input->get_value(&value));
}

TEST_F(LiveMirror, AClickThroughTheModelFiresItsEventAndFollowsTheLinkLive) {
    AddPage("target.html", "<title>Target</title>");
    webengine::LiveTab& tab =
        OpenLive(AddPage("link.html", "<title>L</title><a id=go href='target.html'>go</a>"));
    CComPtr<IHTMLElement> link;
    const PageElement go = Mirrored(tab, u"#go");
    go.document->ObjectFor(go.element, &link);
    link->click();
    EXPECT_TRUE(WaitForEvent("click A"));
    EXPECT_TRUE(WaitForEvent("BN2 target.html top"));
    EXPECT_TRUE(WaitForEvent("DC target.html top"));
    EXPECT_EQ(u"Target", Session().WindowOf(tab.Browser())->Title());
}

}  // namespace
}  // namespace live_test
