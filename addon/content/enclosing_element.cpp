// The walk goes left from just before the element's start tag towards the
// start of the document. Complete elements with the tag name on the way
// are entered (their end tag) and left again (their start tag) and cancel
// out; the first start tag that is passed without its end tag belongs to
// an element around the start point, and that element is the answer.
#include "addon/content/enclosing_element.h"

#include "addon/content/dom_reads.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/mshtml_markup.h"

namespace {

struct MarkupWalk {
    CComPtr<IMarkupPointer> start;  // the start of the document
    CComPtr<IMarkupPointer> cursor;
};

bool PlaceWalk(IHTMLDocument2* document, IHTMLElement* element, MarkupWalk& walk) {
    CComQIPtr<IMarkupServices> services(document);
    CComQIPtr<IMarkupContainer> container(document);
    return services && container && SUCCEEDED(services->CreateMarkupPointer(&walk.start)) &&
           SUCCEEDED(services->CreateMarkupPointer(&walk.cursor)) &&
           SUCCEEDED(walk.start->MoveToContainer(container, TRUE)) &&
           SUCCEEDED(walk.cursor->MoveAdjacentToElement(element, ELEM_ADJ_BeforeBegin));
}

bool CursorAfterStart(const MarkupWalk& walk) {
    BOOL left = FALSE;
    return SUCCEEDED(walk.start->IsLeftOf(walk.cursor, &left)) && left;
}

CComPtr<IHTMLElement> WalkToEnclosing(const MarkupWalk& walk, const char16_t* tagName) {
    int depth = 0;
    while (depth <= 0 && CursorAfterStart(walk)) {
        MARKUP_CONTEXT_TYPE context = CONTEXT_TYPE_None;
        CComPtr<IHTMLElement> passed;
        if (FAILED(walk.cursor->Left(TRUE, &context, &passed, nullptr, nullptr))) break;
        if (!passed || !HasTagName(passed, tagName)) continue;
        if (context == CONTEXT_TYPE_EnterScope) --depth;
        if (context == CONTEXT_TYPE_ExitScope) ++depth;
        if (depth > 0) return passed;
    }
    return nullptr;
}

}  // namespace

HRESULT FindEnclosingElement(IHTMLElement* element, const char16_t* tagName, IHTMLElement** found) {
    if (!found) return E_POINTER;
    *found = element;
    if (!element) return E_INVALIDARG;
    element->AddRef();
    CComPtr<IDispatch> document;
    const HRESULT hr = element->get_document(&document);
    if (FAILED(hr)) return hr;
    CComQIPtr<IHTMLDocument2> page(document);
    if (!page || HasTagName(element, tagName)) return S_OK;
    MarkupWalk walk;
    if (!PlaceWalk(page, element, walk)) return S_OK;
    if (CComPtr<IHTMLElement> enclosing = WalkToEnclosing(walk, tagName)) {
        (*found)->Release();
        *found = enclosing.Detach();
    }
    return S_OK;
}
