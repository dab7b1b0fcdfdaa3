// innerText where lines start: the white space that indents markup after a
// block, a row or a paragraph is not rendered, as on a page.
#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

std::u16string InnerText(std::string_view html, std::u16string_view selector = u"body") {
    auto page = Page(html);
    return Text(Element<IHTMLElement>(*page, selector).p, &IHTMLElement::get_innerText);
}

TEST(InnerTextLines, IndentedRowsStartWithTheirFirstCell) {
    const char* table =
        "<body><table id=t>\n  <tr>\n    <th>Bird</th>\n    <th>Count</th>\n  </tr>\n"
        "  <tr>\n    <td>Kestrel</td>\n    <td>2</td>\n  </tr>\n</table></body>";
    EXPECT_EQ(u"Bird\tCount\r\nKestrel\t2", InnerText(table, u"#t"));
}

TEST(InnerTextLines, TextAfterABlockStartsItsLine) {
    EXPECT_EQ(u"First\r\n\r\nafter", InnerText("<body><p>First</p>\n  after</body>"));
    EXPECT_EQ(u"a\r\nb", InnerText("<body><div>a</div> b</body>"));
    // Inside a line white space still separates words.
    EXPECT_EQ(u"a b\r\nc\r\nd e", InnerText("<body>a <b>b</b><div>c</div> <i>d</i> e</body>"));
}

}  // namespace
