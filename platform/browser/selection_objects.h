// The selection object of a document and the ranges it creates.
#pragma once

#include <atomic>

#include "platform/browser/html_document.h"

namespace browser {

class SelectionObject final : public IHTMLSelectionObject {
public:
    explicit SelectionObject(HtmlDocument& document);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    STDMETHODIMP createRange(IDispatch** range) override;
    STDMETHODIMP empty() override;
    STDMETHODIMP clear() override;
    STDMETHODIMP get_type(BSTR* type) override;

private:
    ~SelectionObject() = default;

    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
};

// A text range over the selection it was created from.
class TextRange final : public IHTMLTxtRange {
public:
    TextRange(HtmlDocument& document, const Selection& selection);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    STDMETHODIMP get_htmlText(BSTR* html) override;
    STDMETHODIMP put_text(BSTR text) override;
    STDMETHODIMP get_text(BSTR* text) override;
    STDMETHODIMP parentElement(IHTMLElement** parent) override;

private:
    ~TextRange() = default;

    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
    Selection m_selection;
};

class ControlRange final : public IHTMLControlRange {
public:
    ControlRange(HtmlDocument& document, const Node& control);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    STDMETHODIMP get_length(long* length) override;
    STDMETHODIMP item(long index, IHTMLElement** element) override;
    STDMETHODIMP commonParentElement(IHTMLElement** parent) override;

private:
    ~ControlRange() = default;

    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
    const Node& m_control;
};

}  // namespace browser
