#include "platform/browser/mshtml_markup.h"
#include "platform/browser/tag_names.h"
#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

CComPtr<IHTMLElementCollection> ByTag(browser::HtmlDocument& document, const char16_t* tag) {
    CComPtr<IHTMLElementCollection> collection;
    CComBSTR name(tag);
    EXPECT_EQ(S_OK, document.getElementsByTagName(name, &collection));
    return collection;
}

TEST(HtmlDocumentTest, TagNamesAreUpperCaseForHtmlOnly) {
    auto page = Page("<p>x<my-widget>w</my-widget><svg><foreignObject/></svg><input></p>");
    EXPECT_EQ(u"P", Text(Element<IHTMLElement>(*page, u"p").p, &IHTMLElement::get_tagName));
    EXPECT_EQ(u"MY-WIDGET",
              Text(Element<IHTMLElement>(*page, u"my-widget").p, &IHTMLElement::get_tagName));
    EXPECT_EQ(u"foreignObject",
              Text(Element<IHTMLElement>(*page, u"foreignObject").p, &IHTMLElement::get_tagName));
    // Lookups by tag name ignore case, as the add-on asks for "INPUT".
    long length = 0;
    EXPECT_EQ(S_OK, ByTag(*page, u"INPUT")->get_length(&length));
    EXPECT_EQ(1, length);
}

TEST(HtmlDocumentTest, GetAttributeReturnsTheTextAsWrittenOrNull) {
    auto page = Page("<a id=l href='#top' OnClick='go()'>x</a>");
    auto link = Element<IHTMLElement>(*page, u"#l");
    CComVariant value;
    EXPECT_EQ(S_OK, link->getAttribute(CComBSTR(u"HREF"), 0, &value));
    ASSERT_EQ(VT_BSTR, value.vt);
    EXPECT_EQ(std::u16string(u"#top"), value.bstrVal);
    CComVariant handler;
    EXPECT_EQ(S_OK, link->getAttribute(CComBSTR(u"OnClick"), 0, &handler));
    EXPECT_EQ(VT_BSTR, handler.vt);
    CComVariant missing;
    EXPECT_EQ(S_OK, link->getAttribute(CComBSTR(u"title"), 0, &missing));
    EXPECT_EQ(VT_NULL, missing.vt);
}

TEST(HtmlDocumentTest, OneObjectPerNode) {
    auto page = Page("<body><div id=d>text</div></body>");
    CComPtr<IHTMLElement> body;
    ASSERT_EQ(S_OK, page->get_body(&body));
    CComQIPtr<IHTMLDOMNode> bodyNode(body);
    CComPtr<IHTMLDOMNode> first;
    ASSERT_EQ(S_OK, bodyNode->get_firstChild(&first));
    CComPtr<IDispatch> byIndex;
    ASSERT_EQ(S_OK, ByTag(*page, u"div")->item(Index(0), Index(0), &byIndex));
    CComQIPtr<IUnknown> a(first), b(byIndex);
    EXPECT_EQ(a.p, b.p);
    // The document is the parent node of <html> and the element's document.
    CComPtr<IDispatch> owner;
    ASSERT_EQ(S_OK, body->get_document(&owner));
    CComQIPtr<IUnknown> ownerUnknown(owner), pageUnknown(static_cast<IHTMLDocument2*>(page.p));
    EXPECT_EQ(ownerUnknown.p, pageUnknown.p);
}

TEST(HtmlDocumentTest, NodesAnswerTheInterfacesOfTheirKind) {
    auto page = Page("<form><input id=i><select id=s></select></form><p id=p>t</p>");
    auto input = Element<IHTMLElement>(*page, u"#i");
    CComPtr<IHTMLInputElement> asInput;
    CComPtr<IHTMLFormElement> asForm;
    EXPECT_EQ(S_OK, input->QueryInterface(&asInput));
    EXPECT_EQ(E_NOINTERFACE, input->QueryInterface(&asForm));
    CComPtr<IHTMLInputElement> selectAsInput;
    EXPECT_EQ(E_NOINTERFACE, Element<IHTMLElement>(*page, u"#s")->QueryInterface(&selectAsInput));

    CComPtr<IHTMLDOMNode> text;
    ASSERT_EQ(S_OK, Element<IHTMLDOMNode>(*page, u"#p")->get_firstChild(&text));
    CComPtr<IHTMLElement> textAsElement;
    CComPtr<IHTMLDOMTextNode> textNode;
    EXPECT_EQ(E_NOINTERFACE, text->QueryInterface(&textAsElement));
    ASSERT_EQ(S_OK, text->QueryInterface(&textNode));
    long length = 0;
    EXPECT_EQ(S_OK, textNode->get_length(&length));
    EXPECT_EQ(1, length);

    CComPtr<IMarkupServices> services;
    CComPtr<IMarkupContainer> container;
    EXPECT_EQ(S_OK, page->QueryInterface(IID_IMarkupServices, reinterpret_cast<void**>(&services)));
    EXPECT_EQ(S_OK,
              page->QueryInterface(IID_IMarkupContainer, reinterpret_cast<void**>(&container)));
}

TEST(HtmlDocumentTest, NodeWalkReportsTypesAndNames) {
    auto page = Page("<body><b>bold</b><!--c-->tail</body>");
    auto bold = Element<IHTMLDOMNode>(*page, u"b");
    long type = 0;
    EXPECT_EQ(S_OK, bold->get_nodeType(&type));
    EXPECT_EQ(1, type);
    EXPECT_EQ(u"B", Text(bold.p, &IHTMLDOMNode::get_nodeName));
    CComPtr<IHTMLDOMNode> comment, tail, after;
    ASSERT_EQ(S_OK, bold->get_nextSibling(&comment));
    EXPECT_EQ(u"#comment", Text(comment.p, &IHTMLDOMNode::get_nodeName));
    ASSERT_EQ(S_OK, comment->get_nextSibling(&tail));
    EXPECT_EQ(S_OK, tail->get_nodeType(&type));
    EXPECT_EQ(3, type);
    EXPECT_EQ(u"#text", Text(tail.p, &IHTMLDOMNode::get_nodeName));
    EXPECT_EQ(S_OK, tail->get_nextSibling(&after));
    EXPECT_EQ(nullptr, after.p);
    CComPtr<IHTMLDOMNode> parent;
    ASSERT_EQ(S_OK, tail->get_parentNode(&parent));
    EXPECT_EQ(u"BODY", Text(parent.p, &IHTMLDOMNode::get_nodeName));
}

TEST(HtmlDocumentTest, LocationOfFileAndHttpPages) {
    auto file = Page("<p>x</p>", u"/tmp/pages/login.html");
    CComPtr<IHTMLLocation> location;
    ASSERT_EQ(S_OK, file->get_location(&location));
    EXPECT_EQ(u"", Text(location.p, &IHTMLLocation::get_hostname));
    EXPECT_EQ(u"file:///tmp/pages/login.html", Text(location.p, &IHTMLLocation::get_href));

    auto web = Page("<p>x</p>", u"http://Shop.Example.com:8080/a/b.php?user=1&x=2#f");
    CComPtr<IHTMLLocation> webLocation;
    ASSERT_EQ(S_OK, web->get_location(&webLocation));
    EXPECT_EQ(u"shop.example.com", Text(webLocation.p, &IHTMLLocation::get_hostname));
    EXPECT_EQ(u"shop.example.com:8080", Text(webLocation.p, &IHTMLLocation::get_host));
    EXPECT_EQ(u"http://shop.example.com:8080/a/b.php?user=1&x=2#f",
              Text(webLocation.p, &IHTMLLocation::get_href));
    EXPECT_EQ(u"?user=1&x=2", Text(webLocation.p, &IHTMLLocation::get_search));
}

TEST(HtmlDocumentTest, AnchorHrefIsAbsolute) {
    auto page = Page(
        "<a id=r href='../docs/x.html?q=1'>r</a><a id=j href='javascript:go()'>j</a>"
        "<a id=n>n</a>",
        u"http://example.com/dir/sub/page.html");
    EXPECT_EQ(u"http://example.com/dir/docs/x.html?q=1",
              Text(Element<IHTMLAnchorElement>(*page, u"#r").p, &IHTMLAnchorElement::get_href));
    EXPECT_EQ(u"javascript:go()",
              Text(Element<IHTMLAnchorElement>(*page, u"#j").p, &IHTMLAnchorElement::get_href));
    EXPECT_EQ(u"",
              Text(Element<IHTMLAnchorElement>(*page, u"#n").p, &IHTMLAnchorElement::get_href));

    auto based =
        Page("<head><base href='http://cdn.example.org/root/'></head><a href='p.html'>x</a>",
             u"http://example.com/dir/page.html");
    EXPECT_EQ(u"http://cdn.example.org/root/p.html",
              Text(Element<IHTMLAnchorElement>(*based, u"a").p, &IHTMLAnchorElement::get_href));
}

TEST(HtmlDocumentTest, WriteAndCloseReplaceTheContent) {
    auto page = Page("<p id=old>old</p>");
    auto old = Element<IHTMLElement>(*page, u"#old");
    CComVariant none;
    CComPtr<IDispatch> window;
    ASSERT_EQ(S_OK, page->open(nullptr, none, none, none, &window));
    SAFEARRAY* strings = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    VARIANT* items = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(strings, reinterpret_cast<void**>(&items)));
    items[0].vt = VT_BSTR;
    items[0].bstrVal = SysAllocString(u"<TABLE><TR><TD>new</TD></TR></TABLE>");
    SafeArrayUnaccessData(strings);
    EXPECT_EQ(S_OK, page->write(strings));
    EXPECT_EQ(S_OK, page->close());
    SafeArrayDestroy(strings);

    CComPtr<IHTMLElement> body;
    ASSERT_EQ(S_OK, page->get_body(&body));
    EXPECT_EQ(u"new", Text(body.p, &IHTMLElement::get_innerText));
    // An element of the replaced page stays usable.
    EXPECT_EQ(u"old", Text(old.p, &IHTMLElement::get_innerText));
}

TEST(HtmlDocumentTest, CharsetCanBeReadAndChanged) {
    auto page = Page("<p>x</p>", u"http://example.com/", u"ISO-8859-1");
    CComBSTR charset;
    EXPECT_EQ(S_OK, page->get_charset(&charset));
    EXPECT_EQ(u"windows-1252", charset.View());
    EXPECT_EQ(S_OK, page->put_charset(CComBSTR(u"UTF-8")));
    EXPECT_EQ(E_INVALIDARG, page->put_charset(CComBSTR(u"no-such-set")));
    CComBSTR changed;
    EXPECT_EQ(S_OK, page->get_charset(&changed));
    EXPECT_EQ(u"utf-8", changed.View());
}

TEST(HtmlDocumentTest, FramesAreChildDocumentsInElementOrder) {
    auto frameset = Page("<frameset><frame id=a src=a.html><frame id=b src=b.html></frameset>");
    auto first = Page("<p>A</p>", u"http://example.com/a.html");
    auto second = Page("<p>B</p>", u"http://example.com/b.html");
    frameset->AttachFrame(*Find(*frameset, u"#b"), second);
    frameset->AttachFrame(*Find(*frameset, u"#a"), first);
    const auto frames = frameset->Frames();
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ(first.p, frames[0]);
    EXPECT_EQ(second.p, frames[1]);
    EXPECT_EQ(frameset.p, first->ParentDocument());
    EXPECT_EQ(first.p, frameset->FrameDocument(*Find(*frameset, u"#a")));
}

}  // namespace
