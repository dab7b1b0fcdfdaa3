#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

std::u16string InnerText(std::string_view html, std::u16string_view selector = u"body") {
    auto page = Page(html);
    return Text(Element<IHTMLElement>(*page, selector).p, &IHTMLElement::get_innerText);
}

TEST(InnerTextTest, WhiteSpaceCollapsesAsRendered) {
    EXPECT_EQ(u"one two three", InnerText("<body>  one \n\t two <b> three </b> </body>"));
    EXPECT_EQ(u"a  b", InnerText("<body>a&nbsp; b</body>"));
}

TEST(InnerTextTest, ParagraphsAreFollowedByAnEmptyLine) {
    EXPECT_EQ(u"First\r\n\r\nSecond\r\n\r\nafter",
              InnerText("<body><p>First</p><p>Second</p>after</body>"));
    EXPECT_EQ(u"Only", InnerText("<body><p>Only</p></body>"));
}

TEST(InnerTextTest, BreaksAndBlocks) {
    EXPECT_EQ(u"a\r\nb", InnerText("<body>a<br>b</body>"));
    EXPECT_EQ(u"a\r\n\r\nb", InnerText("<body>a<br><br>b</body>"));
    EXPECT_EQ(u"head\r\nbody\r\nfoot",
              InnerText("<body><div>head</div><div><div>body</div></div>foot</body>"));
    // A <br> closing a block gives no extra line.
    EXPECT_EQ(u"x\r\ny", InnerText("<body><div>x<br></div>y</body>"));
    EXPECT_EQ(u"one\r\ntwo", InnerText("<body><ul><li>one</li><li>two</li></ul></body>"));
}

TEST(InnerTextTest, TableCellsAreTabbedAndRowsBroken) {
    const char* table =
        "<body><table id=t><tr><td>a</td><td> b </td><td></td></tr>"
        "<tr><th>c</th><td>d</td></tr></table>after</body>";
    EXPECT_EQ(u"a\tb\t\r\nc\td\r\nafter", InnerText(table));
    EXPECT_EQ(u"a\tb\t\r\nc\td", InnerText(table, u"#t"));
    EXPECT_EQ(u"d", InnerText(table, u"tr:nth-of-type(2) td"));
}

TEST(InnerTextTest, HiddenContentIsLeftOut) {
    EXPECT_EQ(u"shown tail", InnerText("<head><title>T</title><style>p{}</style></head><body>shown "
                                       "<script>var x;</script><span hidden>gone</span>"
                                       "<div style='color:red; DISPLAY : none'>gone</div>"
                                       "<input type=hidden value=gone>tail</body>"));
}

TEST(InnerTextTest, PreformattedTextAndTextAreasKeepTheirLines) {
    EXPECT_EQ(u"before\r\n  a  b\r\nc\r\nafter",
              InnerText("<body>before<pre>  a  b\nc</pre>after</body>"));
    auto page = Page("<textarea id=t>x</textarea>");
    auto area = Element<IHTMLTextAreaElement>(*page, u"#t");
    ASSERT_EQ(S_OK, area->put_value(CComBSTR(u"line1\r\nline2")));
    EXPECT_EQ(u"line1\r\nline2",
              Text(Element<IHTMLElement>(*page, u"#t").p, &IHTMLElement::get_innerText));
}

TEST(OuterHtmlTest, SerialisesTheLiveTreeWithUpperCaseTags) {
    auto page = Page(
        "<div id=d class=\"a&quot;b\">x &amp; y<br><input name=u value=old>"
        "<input type=checkbox name=c><select><option value=1>one<option value=2>two</select>"
        "<textarea>t</textarea><!--note--><script>if (a < b) {}</script></div>");
    Element<IHTMLInputElement>(*page, u"[name=u]")->put_value(CComBSTR(u"new \"v\""));
    Element<IHTMLInputElement>(*page, u"[name=c]")->put_checked(VARIANT_TRUE);
    Element<IHTMLOptionElement>(*page, u"option:nth-of-type(2)")->put_selected(VARIANT_TRUE);
    Element<IHTMLTextAreaElement>(*page, u"textarea")->put_value(CComBSTR(u"<typed>"));
    auto div = Element<IHTMLElement>(*page, u"#d");
    EXPECT_EQ(
        u"<DIV id=\"d\" class=\"a&quot;b\">x &amp; y<BR><INPUT name=\"u\" value=\"new "
        u"&quot;v&quot;\">"
        u"<INPUT type=\"checkbox\" name=\"c\" CHECKED><SELECT><OPTION value=\"1\">one</OPTION>"
        u"<OPTION value=\"2\" SELECTED>two</OPTION></SELECT><TEXTAREA>&lt;typed&gt;</TEXTAREA>"
        u"<!--note--><SCRIPT>if (a < b) {}</SCRIPT></DIV>",
        Text(div.p, &IHTMLElement::get_outerHTML));
    EXPECT_EQ(u"x &amp; y<BR>", Text(div.p, &IHTMLElement::get_innerHTML).substr(0, 13));
}

TEST(OuterHtmlTest, TableCellInnerAndTableOuter) {
    auto page = Page("<table><tr><td id=c><b>cell</b></td></tr></table>");
    EXPECT_EQ(u"<B>cell</B>",
              Text(Element<IHTMLElement>(*page, u"#c").p, &IHTMLElement::get_innerHTML));
    EXPECT_EQ(u"<TABLE><TBODY><TR><TD id=\"c\"><B>cell</B></TD></TR></TBODY></TABLE>",
              Text(Element<IHTMLElement>(*page, u"table").p, &IHTMLElement::get_outerHTML));
}

}  // namespace
