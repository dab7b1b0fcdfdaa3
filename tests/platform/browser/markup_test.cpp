#include "platform/browser/mshtml_markup.h"
#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

// The enclosing-element walk the add-on performs with markup pointers:
// from the start of the document to just before the element, stepping left
// and counting scopes of the wanted tag.
CComPtr<IHTMLElement> Enclosing(IHTMLElement* element, const char16_t* tag) {
    CComPtr<IHTMLElement> result(element);
    CComPtr<IDispatch> documentDispatch;
    EXPECT_EQ(S_OK, element->get_document(&documentDispatch));
    CComQIPtr<IHTMLDocument2> document(documentDispatch);
    if (Text(element, &IHTMLElement::get_tagName) == tag) return result;
    CComPtr<IMarkupServices> services;
    CComPtr<IMarkupContainer> container;
    document->QueryInterface(IID_IMarkupServices, reinterpret_cast<void**>(&services));
    document->QueryInterface(IID_IMarkupContainer, reinterpret_cast<void**>(&container));
    CComPtr<IMarkupPointer> start, current;
    EXPECT_EQ(S_OK, services->CreateMarkupPointer(&start));
    EXPECT_EQ(S_OK, services->CreateMarkupPointer(&current));
    EXPECT_EQ(S_OK, start->MoveToContainer(container, TRUE));
    EXPECT_EQ(S_OK, current->MoveAdjacentToElement(element, ELEM_ADJ_BeforeBegin));
    int depth = 0;
    BOOL left = FALSE;
    while (SUCCEEDED(start->IsLeftOf(current, &left)) && left && depth <= 0) {
        MARKUP_CONTEXT_TYPE context = CONTEXT_TYPE_None;
        CComPtr<IHTMLElement> passed;
        EXPECT_EQ(S_OK, current->Left(TRUE, &context, &passed, nullptr, nullptr));
        if (!passed || Text(passed.p, &IHTMLElement::get_tagName) != tag) continue;
        if (context == CONTEXT_TYPE_EnterScope) --depth;
        if (context == CONTEXT_TYPE_ExitScope) ++depth;
        if (depth > 0) result = passed;
    }
    return result;
}

std::u16string IdOf(IHTMLElement* element) {
    return Text(element, &IHTMLElement::get_id);
}

const char* kNested =
    "<table id=outer><tr><td id=o1>before</td><td id=o2>"
    "<table id=inner><tr><td id=i1><b id=w>word</b></td></tr></table>"
    "<span id=s>after</span></td></tr></table>"
    "<table id=h><tr><th><i id=th>head</i></th></tr></table><p id=free>free</p>";

TEST(MarkupPointerTest, EnclosingElementWalk) {
    auto page = Page(kNested);
    EXPECT_EQ(u"i1", IdOf(Enclosing(Element<IHTMLElement>(*page, u"#w"), u"TD")));
    EXPECT_EQ(u"inner", IdOf(Enclosing(Element<IHTMLElement>(*page, u"#w"), u"TABLE")));
    // Complete tables before the start point cancel out.
    EXPECT_EQ(u"o2", IdOf(Enclosing(Element<IHTMLElement>(*page, u"#s"), u"TD")));
    EXPECT_EQ(u"outer", IdOf(Enclosing(Element<IHTMLElement>(*page, u"#s"), u"TABLE")));
    // The element itself when it has the tag, or when nothing encloses it.
    EXPECT_EQ(u"o1", IdOf(Enclosing(Element<IHTMLElement>(*page, u"#o1"), u"TD")));
    EXPECT_EQ(u"free", IdOf(Enclosing(Element<IHTMLElement>(*page, u"#free"), u"TD")));
    EXPECT_EQ(u"th", IdOf(Enclosing(Element<IHTMLElement>(*page, u"#th"), u"TD")));
}

TEST(MarkupPointerTest, LeftReportsWhatItPassed) {
    auto page = Page("<body><p id=p>ab<br>cd</p></body>");
    CComPtr<IMarkupPointer> pointer;
    ASSERT_EQ(S_OK, page->CreateMarkupPointer(&pointer));
    ASSERT_EQ(S_OK, pointer->MoveAdjacentToElement(Element<IHTMLElement>(*page, u"#p"),
                                                   ELEM_ADJ_AfterEnd));
    struct Expected {
        MARKUP_CONTEXT_TYPE context;
        const char16_t* tag;
    };
    const Expected steps[] = {{CONTEXT_TYPE_EnterScope, u"P"}, {CONTEXT_TYPE_Text, nullptr},
                              {CONTEXT_TYPE_NoScope, u"BR"},   {CONTEXT_TYPE_Text, nullptr},
                              {CONTEXT_TYPE_ExitScope, u"P"},  {CONTEXT_TYPE_ExitScope, u"BODY"}};
    for (const Expected& step : steps) {
        MARKUP_CONTEXT_TYPE context = CONTEXT_TYPE_None;
        CComPtr<IHTMLElement> passed;
        long count = -1;
        ASSERT_EQ(S_OK, pointer->Left(TRUE, &context, &passed, &count, nullptr));
        EXPECT_EQ(step.context, context);
        if (step.tag)
            EXPECT_EQ(step.tag, Text(passed.p, &IHTMLElement::get_tagName));
        else
            EXPECT_EQ(2, count);
    }
}

TEST(MarkupPointerTest, TextIsPassedInPiecesAndComparedInOrder) {
    auto page = Page("<p id=p>hello</p>");
    CComPtr<IMarkupPointer> a, b;
    page->CreateMarkupPointer(&a);
    page->CreateMarkupPointer(&b);
    auto p = Element<IHTMLElement>(*page, u"#p");
    a->MoveAdjacentToElement(p, ELEM_ADJ_BeforeEnd);
    b->MoveAdjacentToElement(p, ELEM_ADJ_AfterBegin);
    long count = 2;
    OLECHAR chars[2] = {};
    MARKUP_CONTEXT_TYPE context = CONTEXT_TYPE_None;
    ASSERT_EQ(S_OK, a->Left(TRUE, &context, nullptr, &count, chars));
    EXPECT_EQ(CONTEXT_TYPE_Text, context);
    EXPECT_EQ(2, count);
    EXPECT_EQ(u"lo", std::u16string(chars, 2));
    BOOL result = FALSE;
    EXPECT_EQ(S_OK, b->IsLeftOf(a, &result));
    EXPECT_TRUE(result);
    count = 3;
    ASSERT_EQ(S_OK, a->Left(TRUE, &context, nullptr, &count, nullptr));
    EXPECT_EQ(S_OK, b->IsEqualTo(a, &result));
    EXPECT_TRUE(result);
    CComPtr<IHTMLElement> scope;
    ASSERT_EQ(S_OK, a->CurrentScope(&scope));
    EXPECT_EQ(u"p", IdOf(scope));
    // Pointers of another document are refused.
    auto other = Page("<p>x</p>");
    CComPtr<IMarkupPointer> foreign;
    other->CreateMarkupPointer(&foreign);
    foreign->MoveToContainer(CComQIPtr<IMarkupContainer>(static_cast<IHTMLDocument2*>(other.p)),
                             TRUE);
    EXPECT_EQ(E_INVALIDARG, a->IsLeftOf(foreign, &result));
}

}  // namespace
