#include "platform/browser/html_location.h"

namespace browser {

HtmlLocation::HtmlLocation(std::u16string_view url) : m_href(url), m_url(ParseUrl(url)) {}

STDMETHODIMP HtmlLocation::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IHTMLLocation)
        return E_NOINTERFACE;
    *out = static_cast<IHTMLLocation*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HtmlLocation::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) HtmlLocation::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP HtmlLocation::get_href(BSTR* url) {
    return ReturnString(m_href, url);
}

STDMETHODIMP HtmlLocation::get_protocol(BSTR* protocol) {
    return ReturnString(m_url.scheme + u":", protocol);
}

STDMETHODIMP HtmlLocation::get_host(BSTR* host) {
    return ReturnString(m_url.Host(), host);
}

STDMETHODIMP HtmlLocation::get_hostname(BSTR* name) {
    return ReturnString(m_url.HostName(), name);
}

STDMETHODIMP HtmlLocation::get_port(BSTR* port) {
    return ReturnString(m_url.Port(), port);
}

STDMETHODIMP HtmlLocation::get_pathname(BSTR* path) {
    return ReturnString(m_url.path, path);
}

STDMETHODIMP HtmlLocation::get_search(BSTR* query) {
    return ReturnString(m_url.hasQuery && !m_url.query.empty() ? u"?" + m_url.query : u"", query);
}

STDMETHODIMP HtmlLocation::get_hash(BSTR* fragment) {
    return ReturnString(m_url.hasFragment && !m_url.fragment.empty() ? u"#" + m_url.fragment : u"",
                        fragment);
}

STDMETHODIMP HtmlLocation::toString(BSTR* url) {
    return ReturnString(m_href, url);
}

}  // namespace browser
