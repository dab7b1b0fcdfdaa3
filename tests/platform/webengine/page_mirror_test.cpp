// The mirror without Chromium: snapshots as the bridge writes them, read
// and rebuilt into a document, with node identity kept across rebuilds.
#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "platform/browser/form_controls.h"
#include "platform/browser/mshtml_form.h"
#include "platform/browser/selection.h"
#include "platform/webengine/bridge_messages.h"
#include "platform/webengine/page_mirror.h"

namespace webengine {
namespace {

using browser::HtmlDocument;

class Mirror : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK,
                  HtmlDocument::CreateFromTree(std::make_unique<browser::DocumentTree>(),
                                               u"http://a.test/p.html", u"UTF-8", &m_document));
        m_mirror = std::make_unique<PageMirror>(*m_document);
    }
    // A snapshot's JSON from its flat node list and selection.
    void Rebuild(const std::string& nodes, const std::string& selection = "0") {
        DocumentSnapshot snapshot;
        const std::string json = R"({"i":"x","u":"http://a.test/p.html","c":"UTF-8","n":[)" +
                                 nodes + R"(],"s":)" + selection + R"(,"f":[]})";
        ASSERT_TRUE(ReadDocumentSnapshot(QString::fromStdString(json), snapshot)) << json;
        m_mirror->Rebuild(snapshot.records);
        m_mirror->ApplySelection(snapshot.selection ? &*snapshot.selection : nullptr);
    }
    CComPtr<IHTMLElement> Element(const char16_t* id) {
        CComPtr<IHTMLElement> element;
        m_document->getElementById(CComBSTR(id), &element);
        return element;
    }
    std::u16string Value(const char16_t* id) {
        CComQIPtr<IHTMLInputElement> input(Element(id));
        CComBSTR value;
        if (!input || FAILED(input->get_value(&value))) return u"(none)";
        return value.m_str ? value.m_str : u"";
    }

    CComPtr<HtmlDocument> m_document;
    std::unique_ptr<PageMirror> m_mirror;
};

constexpr char kForm[] = R"(1,0,1,"html",[],0,0, 2,1,1,"body",[],0,0, 3,2,1,"form",["id","f"],0,0,)"
                         R"( 4,3,1,"input",["id","user","name","user"],["typed",0],0,)"
                         R"( 5,3,1,"input",["id","keep","type","checkbox"],["on",1],0,)"
                         R"( 6,2,3,"Hello",0,0,0, 8,2,1,"br",[],0,0, 9,2,3,"world",0,0,0)";

TEST_F(Mirror, BuildsElementsWithLiveControlState) {
    Rebuild(kForm);
    EXPECT_EQ(u"typed", Value(u"user"));
    CComQIPtr<IHTMLInputElement> box(Element(u"keep"));
    VARIANT_BOOL checked = VARIANT_FALSE;
    ASSERT_TRUE(box);
    box->get_checked(&checked);
    EXPECT_EQ(VARIANT_TRUE, checked);
    CComBSTR tag;
    Element(u"f")->get_tagName(&tag);
    EXPECT_EQ(std::u16string(u"FORM"), tag.m_str);
    CComPtr<IHTMLElementCollection> inputs;
    m_document->getElementsByTagName(CComBSTR(u"input"), &inputs);
    long length = 0;
    inputs->get_length(&length);
    EXPECT_EQ(2, length);
}

TEST_F(Mirror, NodesKeepTheirObjectsAcrossRebuilds) {
    Rebuild(kForm);
    CComPtr<IHTMLElement> before = Element(u"user");
    const browser::Node* box = m_mirror->NodeOf(5);
    // The page inserted an input before it, removed the check box and typed.
    Rebuild(R"(1,0,1,"html",[],0,0, 2,1,1,"body",[],0,0, 3,2,1,"form",["id","f"],0,0,)"
            R"( 7,3,1,"input",["id","extra"],["",0],0, 4,3,1,"input",["id","user"],["new",0],0)");
    CComPtr<IHTMLElement> after = Element(u"user");
    EXPECT_EQ(before.p, after.p);
    EXPECT_EQ(u"new", Value(u"user"));
    EXPECT_FALSE(Element(u"keep"));
    EXPECT_EQ(u"", Value(u"extra"));
    // A node the page dropped keeps no links into the page.
    ASSERT_TRUE(box);
    EXPECT_EQ(0, m_mirror->IdOf(*box));
    EXPECT_EQ(nullptr, box->parent);
    EXPECT_EQ(nullptr, box->prev);
}

TEST_F(Mirror, MalformedSnapshotsAreRefusedWhole) {
    const char* bad[] = {
        R"({"n":[1,0,1,"html",[],0]})",             // a node short
        R"({"n":[1,0,1,"html",["id"],0,0]})",       // odd attributes
        R"({"n":[1,0,1,7,[],0,0]})",                // a name that is no text
        R"({"n":[1,0,1,"input",[],["v"],0]})",      // control state short
        R"([1,2,3])",                               // not a record
        R"({"n":[],"f":[{"e":1,"d":{"n":[1]}}]})",  // a bad frame
    };
    for (const char* json : bad) {
        DocumentSnapshot snapshot;
        EXPECT_FALSE(ReadDocumentSnapshot(QString::fromUtf8(json), snapshot)) << json;
    }
    PointerMessage message;
    EXPECT_FALSE(ReadPointerMessage(QStringLiteral(R"({"k":"keydown","e":1})"), message));
}

// Between snapshots the bridge lists the controls a script changed
// without touching the tree; only the mirror's controls take them.
TEST_F(Mirror, ControlChangesBetweenSnapshotsReachTheirNodes) {
    Rebuild(kForm);
    PageState state;
    ASSERT_TRUE(ReadPageState(
        QStringLiteral(
            R"({"i":"x","s":[],"v":[4,"set by script",0,5,"on",0,3,"form",1,77,"x",1]})"),
        state));
    for (const ControlChange& change : state.controls)
        m_mirror->SetControlState(change.node, change.value, change.on);
    EXPECT_EQ(u"set by script", Value(u"user"));
    CComQIPtr<IHTMLInputElement> box(Element(u"keep"));
    VARIANT_BOOL checked = VARIANT_TRUE;
    ASSERT_TRUE(box);
    box->get_checked(&checked);
    EXPECT_EQ(VARIANT_FALSE, checked);
    EXPECT_FALSE(m_mirror->SetControlState(3, u"form", true));  // not a control
    EXPECT_FALSE(m_mirror->SetControlState(77, u"x", true));    // not in the mirror
    PageState bad;
    EXPECT_FALSE(ReadPageState(QStringLiteral(R"({"i":"x","v":[4,"short"]})"), bad));
    EXPECT_FALSE(ReadPageState(QStringLiteral(R"({"i":"x","v":[4,5,0]})"), bad));
    EXPECT_FALSE(ReadPageState(QStringLiteral(R"({"v":[]})"), bad));  // no page named
}

TEST_F(Mirror, OrphansAndRepeatsAreSkipped) {
    // A child whose parent comes later, a node twice, a child of a text.
    Rebuild(R"(9,8,1,"p",["id","orphan"],0,0, 1,0,1,"html",[],0,0, 2,1,3,"t",0,0,0,)"
            R"( 3,2,1,"b",["id","under-text"],0,0, 1,0,1,"html",[],0,0)");
    EXPECT_FALSE(Element(u"orphan"));
    EXPECT_FALSE(Element(u"under-text"));
    EXPECT_EQ(2u, m_mirror->Size());
}

TEST_F(Mirror, SelectionIsFoundInTheScopesText) {
    Rebuild(kForm, R"([2,"Hello\nworld"])");
    const browser::Selection& selection = m_document->CurrentSelection();
    EXPECT_EQ(browser::Selection::Kind::Text, selection.kind);
    EXPECT_EQ(u"Hello\r\nworld", browser::SelectedText(selection));
    Rebuild(kForm, R"([2,"not on the page"])");
    EXPECT_EQ(browser::Selection::Kind::None, m_document->CurrentSelection().kind);
    Rebuild(kForm, R"([99,"Hello"])");
    EXPECT_EQ(browser::Selection::Kind::None, m_document->CurrentSelection().kind);
}

TEST(BridgeWrites, CarryEveryKindInOrder) {
    LiveWrite value;
    value.node = 4;
    value.value = u"a\"b";
    LiveWrite checked;
    checked.kind = LiveWrite::Kind::Checked;
    checked.node = 5;
    checked.on = true;
    LiveWrite attributes;
    attributes.kind = LiveWrite::Kind::Attributes;
    attributes.node = 3;
    attributes.attributes = {{u"id", u"f"}, {u"class", u"x"}};
    LiveWrite click;
    click.kind = LiveWrite::Kind::Click;
    click.node = 7;
    EXPECT_EQ(
        QStringLiteral(R"([["v",4,"a\"b"],["c",5,true],["A",3,["id","f","class","x"]],["k",7]])"),
        WritesJson({value, checked, attributes, click}));
}

}  // namespace
}  // namespace webengine
