#include "platform/browser/css_selector.h"
#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

const char* kPage =
    "<div id=main class='box wide'><form name=login>"
    "<p><input name=user type=text><input name=pass type=password></p>"
    "<span><input name=extra></span></form>"
    "<ul><li>one</li><li class=x>two</li><li>three</li></ul></div><p class=box>out</p>";

std::u16string Match(browser::HtmlDocument& page, std::u16string_view selector) {
    browser::Node* node = browser::QuerySelector(*page.Tree().Root(), selector);
    if (!node) return u"<none>";
    CComPtr<IHTMLElement> element;
    page.ObjectFor(node, &element);
    return Text(element.p, &IHTMLElement::get_outerHTML);
}

TEST(CssSelectorTest, SimpleSelectors) {
    auto page = Page(kPage);
    EXPECT_EQ(u"<INPUT name=\"user\" type=\"text\">", Match(*page, u"input"));
    EXPECT_EQ(u"<INPUT name=\"pass\" type=\"password\">", Match(*page, u"[type=password]"));
    EXPECT_EQ(u"<INPUT name=\"pass\" type=\"password\">", Match(*page, u"input[name='pass']"));
    EXPECT_EQ(u"<LI class=\"x\">two</LI>", Match(*page, u".x"));
    EXPECT_EQ(u"<LI>three</LI>", Match(*page, u"li:nth-of-type(3)"));
    EXPECT_EQ(u"<P class=\"box\">out</P>", Match(*page, u"p.box"));
    EXPECT_EQ(u"<FORM name=\"login\">", Match(*page, u"#main [name]").substr(0, 19));
}

TEST(CssSelectorTest, Combinators) {
    auto page = Page(kPage);
    EXPECT_EQ(u"<INPUT name=\"extra\">", Match(*page, u"form > span input"));
    EXPECT_EQ(u"<INPUT name=\"extra\">", Match(*page, u"span>input"));
    EXPECT_EQ(u"<none>", Match(*page, u"form > input"));
    EXPECT_EQ(u"<INPUT name=\"pass\" type=\"password\">",
              Match(*page, u"div.wide form p input:nth-of-type(2)"));
}

TEST(CssSelectorTest, MalformedSelectorsMatchNothing) {
    for (std::u16string_view bad :
         {u"", u"> p", u"p >", u"[name", u"a:hover", u"#", u"p:nth-of-type(0)"})
        EXPECT_FALSE(browser::CssSelector::Parse(bad).has_value());
}

TEST(CssSelectorTest, DescendantChainsOnDeepPagesDoNotBacktrackEndlessly) {
    std::string html;
    for (int i = 0; i < 3000; ++i) html += "<div>";
    auto page = Page(html + "<b>x</b>");
    // Without an enclosing span every ancestor combination fails; each is tried once.
    EXPECT_EQ(u"<none>", Match(*page, u"span div div div div b"));
    EXPECT_EQ(u"<B>x</B>", Match(*page, u"div div div div > b"));
    std::u16string tooLong;
    for (int i = 0; i < 40; ++i) tooLong += u"div ";
    EXPECT_FALSE(browser::CssSelector::Parse(tooLong + u"b").has_value());
}

}  // namespace
