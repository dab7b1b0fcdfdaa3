// IHTMLLocation of a document: the parts of its address.
#pragma once

#include <atomic>

#include "platform/browser/com_results.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/url.h"

namespace browser {

class HtmlLocation final : public IHTMLLocation {
public:
    explicit HtmlLocation(std::u16string_view url);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    STDMETHODIMP get_href(BSTR* url) override;
    STDMETHODIMP get_protocol(BSTR* protocol) override;
    STDMETHODIMP get_host(BSTR* host) override;
    STDMETHODIMP get_hostname(BSTR* name) override;
    STDMETHODIMP get_port(BSTR* port) override;
    STDMETHODIMP get_pathname(BSTR* path) override;
    STDMETHODIMP get_search(BSTR* query) override;
    STDMETHODIMP get_hash(BSTR* fragment) override;
    STDMETHODIMP toString(BSTR* url) override;

private:
    ~HtmlLocation() = default;

    std::atomic<ULONG> m_refs{0};
    std::u16string m_href;
    Url m_url;
};

}  // namespace browser
