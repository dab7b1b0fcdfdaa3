// The item and table views: a piece of the page alone in a new window.
// Only the piece is written, so the page's head (its style sheets and
// scripts) does not come along.
#include "addon/content/dom_reads.h"
#include "addon/content/enclosing_element.h"
#include "addon/content/html_window.h"
#include "addon/edit_html.h"

namespace {

using MarkupRead = HRESULT (STDMETHODCALLTYPE IHTMLElement::*)(BSTR*);

// The element's markup shown from its own document.
void ShowMarkupOf(CEditHtml& addOn, IHTMLElement* element, MarkupRead read, bool print) {
    CComPtr<IHTMLDocument2> document = DocumentOf(element);
    CComBSTR html;
    if (!document || FAILED((element->*read)(&html))) return;
    ShowHtmlInNewWindow(addOn, document, TextOf(html), print);
}

}  // namespace

void CEditHtml::ShowItemView(IDispatch* element, bool print) {
    if (CComQIPtr<IHTMLElement> pointed{element})
        ShowMarkupOf(*this, pointed, &IHTMLElement::get_innerHTML, print);
}

void CEditHtml::ShowTableItems(IDispatch* element) {
    CComQIPtr<IHTMLElement> pointed(element);
    CComPtr<IHTMLElement> table;
    if (!pointed || FAILED(FindEnclosingElement(pointed, u"TABLE", &table)) || !table) return;
    ShowMarkupOf(*this, table, &IHTMLElement::get_outerHTML, false);
}

void CEditHtml::ShowWithoutStyle(IDispatch* element) {
    CComQIPtr<IHTMLElement> pointed(element);
    CComPtr<IHTMLDocument2> document = DocumentOf(pointed);
    CComPtr<IHTMLElement> body;
    CComBSTR html;
    if (!document || FAILED(document->get_body(&body)) || !body ||
        FAILED(body->get_innerHTML(&html)))
        return;
    ShowHtmlInNewWindow(*this, document, TextOf(html), false);
}
