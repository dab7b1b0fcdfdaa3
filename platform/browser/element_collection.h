// IHTMLElementCollection over a list of elements taken when it was made.
#pragma once

#include <atomic>
#include <vector>

#include "platform/browser/html_document.h"

namespace browser {

class ElementCollection final : public IHTMLElementCollection {
public:
    ElementCollection(HtmlDocument& document, std::vector<Node*> nodes);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    STDMETHODIMP toString(BSTR* text) override;
    STDMETHODIMP get_length(long* length) override;
    STDMETHODIMP item(VARIANT name, VARIANT index, IDispatch** element) override;
    STDMETHODIMP tags(VARIANT tagName, IDispatch** collection) override;

private:
    ~ElementCollection() = default;

    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
    std::vector<Node*> m_nodes;
};

// MSHTML's item(name, index) over a list of elements: an integer picks by
// position; a text picks the elements whose id or name equals it: one
// element, the index-th of several when index is an integer, or else a
// collection of them. S_OK with null when nothing matches.
HRESULT ItemFromList(HtmlDocument& document, const std::vector<Node*>& nodes, const VARIANT& name,
                     const VARIANT& index, IDispatch** element);
// Elements of nodes whose tag name (any case) is tagName; "*" keeps all.
std::vector<Node*> FilterByTag(const std::vector<Node*>& nodes, std::u16string_view tagName);
// Elements of root's subtree (root excluded) with the tag name, in document order.
std::vector<Node*> ElementsByTag(const Node& root, std::u16string_view tagName);

}  // namespace browser
