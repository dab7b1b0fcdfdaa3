#include "addon/content/dom_reads.h"

std::u16string TextOf(const CComBSTR& text) {
    return text.m_str ? std::u16string(text.m_str, text.Length()) : std::u16string();
}

CComPtr<IHTMLDocument2> DocumentOf(IHTMLElement* element) {
    CComPtr<IDispatch> document;
    if (!element || FAILED(element->get_document(&document)) || !document) return nullptr;
    CComQIPtr<IHTMLDocument2> page(document);
    return CComPtr<IHTMLDocument2>(page.p);
}

bool HasTagName(IHTMLElement* element, const char16_t* tagName) {
    CComBSTR tag;
    return element && SUCCEEDED(element->get_tagName(&tag)) && TextOf(tag) == tagName;
}

bool ReadPageUrl(IHTMLDocument2* document, std::u16string& url) {
    CComPtr<IHTMLLocation> location;
    CComBSTR href;
    if (!document || FAILED(document->get_location(&location)) || !location ||
        FAILED(location->get_href(&href)))
        return false;
    url = TextOf(href);
    return !url.empty();
}
