// Small objects the window hands out around its pages: a browser's
// IHTMLWindow2, the event object of document events, and the enumerator of
// a document's embedded objects.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "platform/browser/html_document.h"
#include "platform/browser/ole_interfaces.h"

namespace browser {

class WebBrowser;

class HtmlWindow final : public IHTMLWindow2 {
public:
    explicit HtmlWindow(WebBrowser& browser);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    STDMETHODIMP get_document(IHTMLDocument2** document) override;
    STDMETHODIMP get_location(IHTMLLocation** location) override;
    STDMETHODIMP get_name(BSTR* name) override;
    STDMETHODIMP close() override;

private:
    ~HtmlWindow();
    std::atomic<ULONG> m_refs{0};
    WebBrowser* m_browser;  // counted
};

class HtmlEventObject final : public IHTMLEventObj {
public:
    HtmlEventObject(HtmlDocument& document, Node& source, std::u16string type, bool alt,
                    long button);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    STDMETHODIMP get_srcElement(IHTMLElement** element) override;
    STDMETHODIMP get_altKey(VARIANT_BOOL* down) override;
    STDMETHODIMP get_ctrlKey(VARIANT_BOOL* down) override;
    STDMETHODIMP get_shiftKey(VARIANT_BOOL* down) override;
    STDMETHODIMP get_type(BSTR* type) override;
    STDMETHODIMP get_clientX(long* x) override;
    STDMETHODIMP get_clientY(long* y) override;
    STDMETHODIMP get_button(long* button) override;

private:
    ~HtmlEventObject() = default;
    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
    Node* m_source;
    std::u16string m_type;
    bool m_alt;
    long m_button;
};

// Enumerates a fixed list of objects (each counted while listed).
class UnknownEnumerator final : public IEnumUnknown {
public:
    explicit UnknownEnumerator(std::vector<CComPtr<IUnknown>> items) : m_items(std::move(items)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP Next(ULONG count, IUnknown** items, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumUnknown** copy) override;

private:
    ~UnknownEnumerator() = default;
    std::atomic<ULONG> m_refs{0};
    std::vector<CComPtr<IUnknown>> m_items;
    std::size_t m_next = 0;
};

}  // namespace browser
