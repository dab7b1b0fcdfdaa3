#include "platform/browser/markup_serializer.h"
#include "platform/browser/mshtml_markup.h"
#include "platform/browser/rendered_text.h"
#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

constexpr int kDepth = 10000;

std::string DeepPage() {
    std::string html = "<html><body>";
    for (int i = 0; i < kDepth; ++i) html += i % 2 ? "<div>" : "<span>";
    html += "<b id=deep>core</b>";
    for (int i = kDepth - 1; i >= 0; --i) html += i % 2 ? "</div>" : "</span>";
    return html + "tail</body></html>";
}

// Every whole-tree operation must walk 10,000 levels with loops; a recursive
// walk would overflow the stack (sooner still under the sanitizers).
TEST(DeepPageTest, TenThousandLevelsDoNotExhaustTheStack) {
    auto page = Page(DeepPage());
    CComPtr<IHTMLElement> body;
    ASSERT_EQ(S_OK, page->get_body(&body));
    const std::u16string text = Text(body.p, &IHTMLElement::get_innerText);
    EXPECT_EQ(u"core", text.substr(text.find(u"core"), 4));
    EXPECT_EQ(u"tail", text.substr(text.size() - 4));

    const std::u16string html = Text(body.p, &IHTMLElement::get_outerHTML);
    EXPECT_NE(std::u16string::npos, html.find(u"<B id=\"deep\">core</B>"));

    CComQIPtr<IHTMLElement2> body2(body);
    CComPtr<IHTMLElementCollection> divs;
    ASSERT_EQ(S_OK, body2->getElementsByTagName(CComBSTR(u"DIV"), &divs));
    long length = 0;
    EXPECT_EQ(S_OK, divs->get_length(&length));
    EXPECT_EQ(kDepth / 2, length);

    // A markup walk from the deepest element back to the start of the page.
    CComPtr<IMarkupPointer> start, walker;
    page->CreateMarkupPointer(&start);
    page->CreateMarkupPointer(&walker);
    start->MoveToContainer(CComQIPtr<IMarkupContainer>(static_cast<IHTMLDocument2*>(page.p)), TRUE);
    walker->MoveAdjacentToElement(Element<IHTMLElement>(*page, u"#deep"), ELEM_ADJ_BeforeBegin);
    int depth = 0;
    BOOL left = FALSE;
    while (SUCCEEDED(start->IsLeftOf(walker, &left)) && left) {
        MARKUP_CONTEXT_TYPE context = CONTEXT_TYPE_None;
        ASSERT_EQ(S_OK, walker->Left(TRUE, &context, nullptr, nullptr, nullptr));
        if (context == CONTEXT_TYPE_ExitScope) ++depth;
        if (context == CONTEXT_TYPE_EnterScope) --depth;
    }
    EXPECT_EQ(kDepth + 2, depth);  // the spans and divs, <body> and <html>
}

TEST(DeepPageTest, UnclosedNestingAndWrittenPagesToo) {
    std::string html;
    for (int i = 0; i < kDepth; ++i) html += "<div><table><tr><td>";
    auto page = Page(html + "x");
    EXPECT_EQ(u"x", browser::RenderedText(*page->Tree().Root()).substr(0, 1));
    EXPECT_FALSE(browser::OuterHtml(*page->Tree().Root()).empty());
}

}  // namespace
