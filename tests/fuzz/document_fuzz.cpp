// libFuzzer harness for the browser host's documents: arbitrary bytes are
// decoded, parsed and built, then walked the ways the add-on walks pages:
// rendered text, serialisation, markup pointers, collections, selections
// and selectors.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/browser/css_selector.h"
#include "platform/browser/html_document.h"
#include "platform/browser/markup_serializer.h"
#include "platform/browser/mshtml_form.h"
#include "platform/browser/rendered_text.h"
#include "platform/browser/selection.h"
#include "platform/win/text.h"

namespace {

using browser::HtmlDocument;

constexpr int kElementsVisited = 64;

void WalkPointer(HtmlDocument& document, IHTMLElement* element) {
    CComPtr<IMarkupPointer> start, walker;
    if (FAILED(document.CreateMarkupPointer(&start)) ||
        FAILED(document.CreateMarkupPointer(&walker)))
        return;
    start->MoveToContainer(static_cast<IMarkupContainer*>(&document), TRUE);
    walker->MoveAdjacentToElement(element, ELEM_ADJ_BeforeBegin);
    BOOL left = FALSE;
    std::size_t steps = 0;
    const std::size_t limit = 4 * document.Tree().NodeCount() + 16;
    while (SUCCEEDED(start->IsLeftOf(walker, &left)) && left && steps++ < limit) {
        MARKUP_CONTEXT_TYPE context = CONTEXT_TYPE_None;
        CComPtr<IHTMLElement> passed;
        long count = 3;
        OLECHAR text[3];
        if (FAILED(walker->Left(TRUE, &context, &passed, &count, text))) break;
    }
    walker->MoveAdjacentToElement(element, ELEM_ADJ_AfterBegin);
    for (std::size_t i = 0; i < limit; ++i) {
        MARKUP_CONTEXT_TYPE context = CONTEXT_TYPE_None;
        if (FAILED(walker->Right(TRUE, &context, nullptr, nullptr, nullptr)) ||
            context == CONTEXT_TYPE_None)
            break;
    }
}

void VisitElement(HtmlDocument& document, IDispatch* item) {
    CComQIPtr<IHTMLElement> element(item);
    if (!element) return;
    CComBSTR text, inner, outer, tag;
    element->get_innerText(&text);
    element->get_innerHTML(&inner);
    element->get_outerHTML(&outer);
    element->get_tagName(&tag);
    CComVariant attribute;
    element->getAttribute(CComBSTR(u"name"), 0, &attribute);
    if (CComQIPtr<IHTMLInputElement> input(item); input) {
        CComBSTR value;
        input->get_value(&value);
        input->put_checked(VARIANT_TRUE);
    }
    if (CComQIPtr<IHTMLFormElement> form(item); form) {
        long length = 0;
        form->get_length(&length);
        CComPtr<IDispatch> first;
        form->item(CComVariant(0), CComVariant(0), &first);
    }
    if (CComQIPtr<IHTMLAnchorElement> anchor(item); anchor) {
        CComBSTR href;
        anchor->get_href(&href);
    }
    WalkPointer(document, element);
    CComQIPtr<IDomNodeAccess> access(item);
    document.Select(browser::SelectWordAt(*access->DomNode(), 1));
    CComPtr<IHTMLSelectionObject> selection;
    if (SUCCEEDED(document.get_selection(&selection))) {
        CComPtr<IDispatch> range;
        selection->createRange(&range);
        if (CComQIPtr<IHTMLTxtRange> textRange(range); textRange) {
            CComBSTR selected;
            textRange->get_text(&selected);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string_view charsets[] = {u"", u"utf-8", u"windows-1252", u"utf-16le"};
    HtmlDocument* raw = nullptr;
    if (FAILED(HtmlDocument::Create(bytes, u"http://fuzz.example/a/b.html",
                                    charsets[size ? data[0] % 4 : 0], &raw)))
        return 0;
    CComPtr<HtmlDocument> document;
    document.Attach(raw);
    browser::RenderedText(*document->Tree().Root());
    browser::OuterHtml(*document->Tree().Root());

    CComPtr<IHTMLElementCollection> all;
    if (SUCCEEDED(document->getElementsByTagName(CComBSTR(u"*"), &all))) {
        long length = 0;
        all->get_length(&length);
        for (long i = 0; i < length && i < kElementsVisited; ++i) {
            CComPtr<IDispatch> item;
            if (SUCCEEDED(all->item(CComVariant(static_cast<int>(i)), CComVariant(0), &item)))
                VisitElement(*document, item);
        }
    }
    // The first line of the input doubles as a selector.
    const std::string_view firstLine = bytes.substr(0, bytes.find('\n'));
    browser::QuerySelector(*document->Tree().Root(), Utf8ToUtf16(firstLine.substr(0, 64)));
    return 0;
}
