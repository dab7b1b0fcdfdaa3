// The COM object of one element, text or comment node. One class answers
// for every kind of node; QueryInterface offers only the interfaces MSHTML
// offers for that kind (an INPUT answers IHTMLInputElement, a FORM
// IHTMLFormElement, a text node IHTMLDOMTextNode...).
#pragma once

#include <atomic>

#include "platform/browser/html_document.h"
#include "platform/browser/mshtml_form.h"

namespace browser {

class HtmlNode final : public IHTMLElement,
                       public IHTMLElement2,
                       public IHTMLDOMNode,
                       public IHTMLDOMTextNode,
                       public IHTMLAnchorElement,
                       public IHTMLFormElement,
                       public IHTMLFormElement3,
                       public IHTMLInputElement,
                       public IHTMLButtonElement,
                       public IHTMLSelectElement,
                       public IHTMLOptionElement,
                       public IHTMLTextAreaElement,
                       public IDomNodeAccess {
public:
    // Made by HtmlDocument::ObjectFor only, which keeps one per node.
    HtmlNode(HtmlDocument& document, Node& node);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    // IHTMLElement
    STDMETHODIMP setAttribute(BSTR name, VARIANT value, LONG flags) override;
    STDMETHODIMP getAttribute(BSTR name, LONG flags, VARIANT* value) override;
    STDMETHODIMP removeAttribute(BSTR name, LONG flags, VARIANT_BOOL* success) override;
    STDMETHODIMP get_className(BSTR* value) override;
    STDMETHODIMP get_id(BSTR* value) override;
    STDMETHODIMP get_tagName(BSTR* value) override;
    STDMETHODIMP get_parentElement(IHTMLElement** parent) override;
    STDMETHODIMP get_document(IDispatch** document) override;
    STDMETHODIMP get_title(BSTR* value) override;
    STDMETHODIMP get_innerHTML(BSTR* value) override;
    STDMETHODIMP get_innerText(BSTR* value) override;
    STDMETHODIMP get_outerHTML(BSTR* value) override;
    STDMETHODIMP click() override;
    STDMETHODIMP contains(IHTMLElement* child, VARIANT_BOOL* result) override;
    STDMETHODIMP get_children(IDispatch** collection) override;
    STDMETHODIMP get_all(IDispatch** collection) override;

    // IHTMLElement2
    STDMETHODIMP getElementsByTagName(BSTR tagName, IHTMLElementCollection** collection) override;

    // IHTMLDOMNode
    STDMETHODIMP get_nodeType(long* type) override;
    STDMETHODIMP get_parentNode(IHTMLDOMNode** parent) override;
    STDMETHODIMP hasChildNodes(VARIANT_BOOL* result) override;
    STDMETHODIMP get_nodeName(BSTR* name) override;
    STDMETHODIMP get_nodeValue(VARIANT* value) override;
    STDMETHODIMP get_firstChild(IHTMLDOMNode** child) override;
    STDMETHODIMP get_lastChild(IHTMLDOMNode** child) override;
    STDMETHODIMP get_previousSibling(IHTMLDOMNode** sibling) override;
    STDMETHODIMP get_nextSibling(IHTMLDOMNode** sibling) override;

    // IHTMLDOMTextNode
    STDMETHODIMP get_data(BSTR* text) override;
    STDMETHODIMP toString(BSTR* text) override;

    // Shared by several element interfaces; the node's kind decides.
    STDMETHODIMP get_length(long* length) override;  // text, form, select
    STDMETHODIMP get_name(BSTR* name) override;
    STDMETHODIMP get_type(BSTR* type) override;
    STDMETHODIMP get_value(BSTR* value) override;
    STDMETHODIMP put_value(BSTR value) override;
    STDMETHODIMP get_form(IHTMLFormElement** form) override;
    STDMETHODIMP item(VARIANT name, VARIANT index, IDispatch** element) override;  // form, select
    STDMETHODIMP tags(VARIANT tagName, IDispatch** collection) override;           // form, select
    STDMETHODIMP get_defaultValue(BSTR* value) override;  // input, text area

    // IHTMLAnchorElement
    STDMETHODIMP get_href(BSTR* url) override;
    STDMETHODIMP get_target(BSTR* target) override;

    // IHTMLFormElement
    STDMETHODIMP get_action(BSTR* url) override;
    STDMETHODIMP get_method(BSTR* method) override;
    STDMETHODIMP get_elements(IDispatch** collection) override;
    STDMETHODIMP submit() override;
    STDMETHODIMP reset() override;
    // IHTMLFormElement3
    STDMETHODIMP namedItem(BSTR name, IDispatch** result) override;

    // IHTMLInputElement
    STDMETHODIMP put_type(BSTR type) override;
    STDMETHODIMP put_checked(VARIANT_BOOL checked) override;
    STDMETHODIMP get_checked(VARIANT_BOOL* checked) override;
    STDMETHODIMP get_defaultChecked(VARIANT_BOOL* checked) override;

    // IHTMLSelectElement
    STDMETHODIMP get_selectedIndex(long* index) override;
    STDMETHODIMP put_selectedIndex(long index) override;
    STDMETHODIMP get_multiple(VARIANT_BOOL* multiple) override;

    // IHTMLOptionElement
    STDMETHODIMP put_selected(VARIANT_BOOL selected) override;
    STDMETHODIMP get_selected(VARIANT_BOOL* selected) override;
    STDMETHODIMP get_text(BSTR* text) override;
    STDMETHODIMP get_index(long* index) override;

    // IDomNodeAccess
    STDMETHODIMP_(Node*) DomNode() override { return &m_node; }
    STDMETHODIMP_(HtmlDocument*) OwnerDocument() override { return m_document; }

private:
    ~HtmlNode();
    IUnknown* Identity();
    // Tells the window of a change made through these interfaces.
    void Written(NodeWrite what);
    bool Answers(REFIID iid) const;
    HRESULT Relative(const Node* node, IHTMLDOMNode** out);
    // The elements item() and namedItem() search: a form's controls or a
    // list's options.
    std::vector<Node*> ItemScope() const;

    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
    Node& m_node;
};

}  // namespace browser
