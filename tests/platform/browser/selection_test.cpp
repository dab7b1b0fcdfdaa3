#include "platform/browser/selection.h"
#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

// What the add-on reads: selection, createRange, IHTMLTxtRange::get_text.
std::u16string SelectionText(browser::HtmlDocument& page, HRESULT* rangeResult = nullptr) {
    CComPtr<IHTMLSelectionObject> selection;
    EXPECT_EQ(S_OK, page.get_selection(&selection));
    CComPtr<IDispatch> range;
    EXPECT_EQ(S_OK, selection->createRange(&range));
    CComQIPtr<IHTMLTxtRange> text(range);
    if (rangeResult) *rangeResult = text ? S_OK : E_NOINTERFACE;
    return text ? Text(text.p, &IHTMLTxtRange::get_text) : u"<no text range>";
}

TEST(SelectionTest, NoSelectionGivesAnEmptyTextRange) {
    auto page = Page("<p>words</p>");
    HRESULT hr = E_FAIL;
    EXPECT_EQ(u"", SelectionText(*page, &hr));
    EXPECT_EQ(S_OK, hr);
}

TEST(SelectionTest, WholeElementAndCharacterRanges) {
    auto page =
        Page("<div id=d><p>First para</p><table><tr><td>a</td><td>b</td></tr></table></div>");
    const browser::Node& div = *Find(*page, u"#d");
    page->Select(browser::SelectElementText(div));
    EXPECT_EQ(u"First para\r\n\r\na\tb", SelectionText(*page));
    page->Select(browser::SelectElementText(div, 6, 15));
    EXPECT_EQ(u"para\r\n\r\na", SelectionText(*page));
    page->Select(browser::SelectElementText(div, 15, 6));
    EXPECT_EQ(u"para\r\n\r\na", SelectionText(*page));
    page->Select(browser::SelectElementText(div, 100, 200));
    EXPECT_EQ(u"", SelectionText(*page));
}

TEST(SelectionTest, DoubleClickSelectsTheWordUnderThePoint) {
    auto page = Page("<p id=p>Hello, wide world</p><p id=e><img src=x.png></p>");
    const browser::Node& p = *Find(*page, u"#p");
    page->Select(browser::SelectWordAt(p, 9));
    EXPECT_EQ(u"wide", SelectionText(*page));
    page->Select(browser::SelectWordAt(p, 0));
    EXPECT_EQ(u"Hello", SelectionText(*page));
    page->Select(browser::SelectWordAt(p, 5));  // the comma
    EXPECT_EQ(u"", SelectionText(*page));
    page->Select(browser::SelectWordAt(*Find(*page, u"#e"), 0));
    EXPECT_EQ(browser::Selection::Kind::None, page->CurrentSelection().kind);
}

TEST(SelectionTest, SelectedImageOrControlGivesAControlRange) {
    auto page = Page("<p>text <img id=i src=x.png> <input id=c></p>");
    page->Select(browser::SelectControl(*Find(*page, u"#i")));
    HRESULT hr = S_OK;
    SelectionText(*page, &hr);
    EXPECT_EQ(E_NOINTERFACE, hr);  // not a text range
    CComPtr<IHTMLSelectionObject> selection;
    ASSERT_EQ(S_OK, page->get_selection(&selection));
    EXPECT_EQ(u"Control", Text(selection.p, &IHTMLSelectionObject::get_type));
    CComPtr<IDispatch> range;
    ASSERT_EQ(S_OK, selection->createRange(&range));
    CComQIPtr<IHTMLControlRange> controls(range);
    ASSERT_TRUE(controls);
    CComPtr<IHTMLElement> image;
    ASSERT_EQ(S_OK, controls->item(0, &image));
    EXPECT_EQ(u"IMG", Text(image.p, &IHTMLElement::get_tagName));
    // Plain elements are not controls.
    EXPECT_EQ(browser::Selection::Kind::None, browser::SelectControl(*Find(*page, u"p")).kind);
    EXPECT_EQ(S_OK, selection->empty());
    EXPECT_EQ(u"None", Text(selection.p, &IHTMLSelectionObject::get_type));
}

}  // namespace
