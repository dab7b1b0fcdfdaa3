#include "addon/doc_event_sink.h"

#include "addon/content/find_ancestor.h"
#include "addon/edit_html.h"
#include "platform/browser/mshtml_form.h"
#include "platform/browser/web_browser.h"

namespace {

std::u16string Text(const CComBSTR& text) {
    return text.m_str ? std::u16string(text.m_str, text.Length()) : std::u16string();
}

bool StartsWith(const std::u16string& text, std::u16string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool AltDown(IHTMLEventObj* event) {
    VARIANT_BOOL alt = VARIANT_FALSE;
    return SUCCEEDED(event->get_altKey(&alt)) && alt == VARIANT_TRUE;
}

// The first item of the form that is an input, walking from the start
// and stopping at the first missing item.
CComPtr<IHTMLElement> FirstInputOf(IHTMLFormElement* form) {
    long length = 0;
    if (!form || FAILED(form->get_length(&length))) return nullptr;
    for (long i = 0; i < length; ++i) {
        CComVariant index(static_cast<int>(i));
        CComPtr<IDispatch> item;
        if (FAILED(form->item(index, index, &item)) || !item) return nullptr;
        if (CComQIPtr<IHTMLInputElement> input{item}) return CComQIPtr<IHTMLElement>(item);
    }
    return nullptr;
}

bool AttributeText(IHTMLElement* element, const char16_t* name, VARIANT& value) {
    CComBSTR attribute(name);
    return SUCCEEDED(element->getAttribute(attribute, 0, &value));
}

}  // namespace

STDMETHODIMP CDocEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, tagVARIANT*,
                                   EXCEPINFO*, UINT*) {
    if (!params) return E_INVALIDARG;
    if (params->cArgs == 0 || !params->rgvarg) return S_OK;
    const VARIANT& first = params->rgvarg[params->cArgs - 1];
    IDispatch* argument = first.vt == VT_DISPATCH ? first.pdispVal
                          : first.vt == (VT_BYREF | VT_DISPATCH) && first.ppdispVal
                              ? *first.ppdispVal
                              : nullptr;
    CComQIPtr<IHTMLEventObj> event(argument);
    if (!event) return S_OK;
    // The owner and this sink may be let go by what a click starts.
    CComPtr<IUnknown> self(GetUnknown());
    CEditHtmlHold owner(m_pOwner);
    switch (id) {
        case DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEMOVE:
            m_bLinkClicked = m_bAltClick = 0;
            break;
        case DISPID_HTMLDOCUMENTEVENTS2_ONCLICK:
            m_bLinkClicked = m_bAltClick = 0;
            OnClick(event);
            break;
        case DISPID_HTMLDOCUMENTEVENTS2_ONDBLCLICK:
            OnDoubleClick(event);
            break;
        default:
            break;
    }
    return S_OK;
}

void CDocEventSink::OnClick(IHTMLEventObj* event) {
    CComPtr<IHTMLElement> clicked;
    if (FAILED(event->get_srcElement(&clicked)) || !clicked) return;
    if (CComQIPtr<IHTMLInputElement> input{clicked}) {
        CComBSTR type;
        if (SUCCEEDED(input->get_type(&type)) &&
            (Text(type) == u"submit" || Text(type) == u"image"))
            if (m_pOwner) m_pOwner->AskSaveLogin(clicked);
        return;
    }
    if (CComQIPtr<IHTMLButtonElement> button{clicked}) {
        CComPtr<IHTMLFormElement> form;
        if (SUCCEEDED(button->get_form(&form)) && form)
            if (CComPtr<IHTMLElement> item = FirstInputOf(form); item && m_pOwner)
                m_pOwner->AskSaveLogin(item);
        return;
    }
    if (AltDown(event)) m_bAltClick = 1;
    CComPtr<IHTMLElement> element = clicked;
    while (element) {
        CComBSTR tag;
        if (FAILED(element->get_tagName(&tag))) return;
        if (Text(tag) == u"BODY") return;
        if (Text(tag) == u"A") return FollowLinkRule(element);
        CComPtr<IHTMLElement> parent;
        if (FAILED(element->get_parentElement(&parent))) return;
        element = parent;
    }
}

void CDocEventSink::FollowLinkRule(IHTMLElement* link) {
    CComVariant href;
    if (!AttributeText(link, u"HREF", href)) return;
    std::u16string address;
    if (href.vt == VT_BSTR && href.bstrVal)
        address.assign(href.bstrVal, SysStringLen(href.bstrVal));
    if (StartsWith(address, u"javascript:")) {
        // A script link may be what submits a login form.
        CComPtr<IHTMLElement> formElement = FindAncestorByTag(link, u"FORM");
        if (CComQIPtr<IHTMLFormElement> form{formElement})
            if (CComPtr<IHTMLElement> item = FirstInputOf(form); item && m_pOwner)
                m_pOwner->AskSaveLogin(item);
        return;
    }
    if (StartsWith(address, u"#")) return;
    CComVariant onClick;
    if (AttributeText(link, u"OnClick", onClick) && onClick.vt != VT_EMPTY && onClick.vt != VT_NULL)
        return;  // the page handles the click itself
    m_bLinkClicked = 1;
}

void CDocEventSink::OnDoubleClick(IHTMLEventObj* event) {
    CComPtr<IHTMLElement> element;
    CComBSTR tag;
    if (FAILED(event->get_srcElement(&element)) || !element || FAILED(element->get_tagName(&tag)))
        return;
    if (Text(tag) == u"INPUT" || Text(tag) == u"A") return;
    if (AltDown(event)) return;
    CComPtr<IDispatch> document;
    CComPtr<IHTMLSelectionObject> selection;
    CComPtr<IDispatch> range;
    if (FAILED(element->get_document(&document)) || !document) return;
    CComQIPtr<IHTMLDocument2> page(document);
    if (!page || FAILED(page->get_selection(&selection)) || !selection ||
        FAILED(selection->createRange(&range)))
        return;
    CComQIPtr<IHTMLTxtRange> textRange(range);
    CComBSTR text;
    if (!textRange || FAILED(textRange->get_text(&text))) return;
    const std::u16string words = Text(text);
    const std::size_t first = words.find_first_not_of(u" \n\r");
    if (first != std::u16string::npos) return;  // a double-click on a word selects it
    if (m_pOwner && m_pOwner->m_bDblClickClose && m_pOwner->m_spWebBrowser)
        m_pOwner->m_spWebBrowser->ExecWB(OLECMDID_CLOSE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}
