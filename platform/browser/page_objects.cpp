#include "platform/browser/page_objects.h"

#include <new>

#include "platform/browser/html_location.h"
#include "platform/browser/web_browser_object.h"

namespace browser {

// HtmlWindow

HtmlWindow::HtmlWindow(WebBrowser& browser) : m_browser(&browser) {
    m_browser->AddRef();
}

HtmlWindow::~HtmlWindow() {
    m_browser->Release();
}

STDMETHODIMP HtmlWindow::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IHTMLWindow2)
        return E_NOINTERFACE;
    *out = static_cast<IHTMLWindow2*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HtmlWindow::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP HtmlWindow::get_document(IHTMLDocument2** document) {
    if (!document) return E_POINTER;
    *document = nullptr;
    HtmlDocument* current = m_browser->IsClosed() ? nullptr : m_browser->Document();
    if (!current) return E_FAIL;
    return ReturnInterface<IHTMLDocument2>(current, document);
}

STDMETHODIMP HtmlWindow::get_location(IHTMLLocation** location) {
    if (!location) return E_POINTER;
    *location = nullptr;
    HtmlDocument* current = m_browser->Document();
    return current ? current->get_location(location) : E_FAIL;
}

STDMETHODIMP HtmlWindow::get_name(BSTR* name) {
    return ReturnString(m_browser->Name(), name);
}

STDMETHODIMP HtmlWindow::close() {
    return m_browser->Top()->CloseWindow();
}

// HtmlEventObject

HtmlEventObject::HtmlEventObject(HtmlDocument& document, Node& source, std::u16string type,
                                 bool alt, long button)
    : m_document(&document),
      m_source(&source),
      m_type(std::move(type)),
      m_alt(alt),
      m_button(button) {}

STDMETHODIMP HtmlEventObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IHTMLEventObj)
        return E_NOINTERFACE;
    *out = static_cast<IHTMLEventObj*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HtmlEventObject::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP HtmlEventObject::get_srcElement(IHTMLElement** element) {
    return m_document->ObjectFor(m_source, element);
}

STDMETHODIMP HtmlEventObject::get_altKey(VARIANT_BOOL* down) {
    return ReturnBool(m_alt, down);
}

STDMETHODIMP HtmlEventObject::get_ctrlKey(VARIANT_BOOL* down) {
    return ReturnBool(false, down);
}

STDMETHODIMP HtmlEventObject::get_shiftKey(VARIANT_BOOL* down) {
    return ReturnBool(false, down);
}

STDMETHODIMP HtmlEventObject::get_type(BSTR* type) {
    return ReturnString(m_type, type);
}

STDMETHODIMP HtmlEventObject::get_clientX(long* x) {
    if (!x) return E_POINTER;
    *x = 0;
    return S_OK;
}

STDMETHODIMP HtmlEventObject::get_clientY(long* y) {
    if (!y) return E_POINTER;
    *y = 0;
    return S_OK;
}

STDMETHODIMP HtmlEventObject::get_button(long* button) {
    if (!button) return E_POINTER;
    *button = m_button;
    return S_OK;
}

// UnknownEnumerator

STDMETHODIMP UnknownEnumerator::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IEnumUnknown) return E_NOINTERFACE;
    *out = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) UnknownEnumerator::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP UnknownEnumerator::Next(ULONG count, IUnknown** items, ULONG* fetched) {
    if (!items || (count > 1 && !fetched)) return E_POINTER;
    ULONG given = 0;
    while (given < count && m_next < m_items.size()) {
        items[given] = m_items[m_next++];
        items[given]->AddRef();
        ++given;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP UnknownEnumerator::Skip(ULONG count) {
    const std::size_t left = m_items.size() - m_next;
    m_next += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP UnknownEnumerator::Reset() {
    m_next = 0;
    return S_OK;
}

STDMETHODIMP UnknownEnumerator::Clone(IEnumUnknown** copy) {
    if (!copy) return E_POINTER;
    auto* clone = new (std::nothrow) UnknownEnumerator(m_items);
    if (!clone) return E_OUTOFMEMORY;
    clone->m_next = m_next;
    clone->AddRef();
    *copy = clone;
    return S_OK;
}

}  // namespace browser
