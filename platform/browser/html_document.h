// A page's document: the tree built from its source, answering the MSHTML
// document interfaces, with one COM object per node, its address, its
// frames' documents and its selection.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser/com_results.h"
#include "platform/browser/document_host.h"
#include "platform/browser/document_tree.h"
#include "platform/browser/dom_access.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/mshtml_markup.h"
#include "platform/browser/selection.h"
#include "platform/com/com_ptr.h"

namespace browser {

class HtmlDocument final : public IHTMLDocument2,
                           public IHTMLDocument3,
                           public IHTMLDOMNode,
                           public IMarkupServices,
                           public IMarkupContainer,
                           public IDomNodeAccess {
public:
    // Builds the document of a page from its bytes. url is its address (a
    // file path becomes a file: URL); headerCharset the charset parameter
    // of its Content-Type header, if any. Returned with one reference.
    static HRESULT Create(std::string_view bytes, std::u16string_view url,
                          std::u16string_view headerCharset, HtmlDocument** document);
    // A document over a tree built elsewhere (a live page's mirror), its
    // nodes numbered and its controls holding their state already.
    static HRESULT CreateFromTree(std::unique_ptr<DocumentTree> tree, std::u16string_view url,
                                  std::u16string_view charset, HtmlDocument** document);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    KESTRO_DOM_DISPATCH_STUBS()

    // IHTMLDocument2
    STDMETHODIMP get_all(IHTMLElementCollection** collection) override;
    STDMETHODIMP get_body(IHTMLElement** body) override;
    STDMETHODIMP get_title(BSTR* title) override;
    STDMETHODIMP get_selection(IHTMLSelectionObject** selection) override;
    STDMETHODIMP get_forms(IHTMLElementCollection** collection) override;
    STDMETHODIMP get_links(IHTMLElementCollection** collection) override;
    STDMETHODIMP get_location(IHTMLLocation** location) override;
    STDMETHODIMP get_URL(BSTR* url) override;
    STDMETHODIMP get_domain(BSTR* domain) override;
    STDMETHODIMP put_charset(BSTR charset) override;
    STDMETHODIMP get_charset(BSTR* charset) override;
    STDMETHODIMP write(SAFEARRAY* strings) override;
    STDMETHODIMP writeln(SAFEARRAY* strings) override;
    STDMETHODIMP open(BSTR url, VARIANT name, VARIANT features, VARIANT replace,
                      IDispatch** window) override;
    STDMETHODIMP close() override;
    STDMETHODIMP get_parentWindow(IHTMLWindow2** window) override;

    // IHTMLDocument3
    STDMETHODIMP get_documentElement(IHTMLElement** element) override;
    STDMETHODIMP getElementById(BSTR id, IHTMLElement** element) override;
    STDMETHODIMP getElementsByName(BSTR name, IHTMLElementCollection** collection) override;
    STDMETHODIMP getElementsByTagName(BSTR tagName, IHTMLElementCollection** collection) override;

    // IHTMLDOMNode: the document node
    STDMETHODIMP get_nodeType(long* type) override;
    STDMETHODIMP get_parentNode(IHTMLDOMNode** parent) override;
    STDMETHODIMP hasChildNodes(VARIANT_BOOL* result) override;
    STDMETHODIMP get_nodeName(BSTR* name) override;
    STDMETHODIMP get_nodeValue(VARIANT* value) override;
    STDMETHODIMP get_firstChild(IHTMLDOMNode** child) override;
    STDMETHODIMP get_lastChild(IHTMLDOMNode** child) override;
    STDMETHODIMP get_previousSibling(IHTMLDOMNode** sibling) override;
    STDMETHODIMP get_nextSibling(IHTMLDOMNode** sibling) override;

    // IMarkupServices
    STDMETHODIMP CreateMarkupPointer(IMarkupPointer** pointer) override;
    // IMarkupContainer
    STDMETHODIMP OwningDoc(IDispatch** document) override;
    // IDomNodeAccess
    STDMETHODIMP_(Node*) DomNode() override { return m_tree->Root(); }
    STDMETHODIMP_(HtmlDocument*) OwnerDocument() override { return this; }

    // For the browser window that shows the document.
    DocumentTree& Tree() { return *m_tree; }
    const std::u16string& Url() const { return m_url; }
    void SetUrl(std::u16string_view url);
    // The address relative links resolve against: the first <base href>.
    std::u16string BaseUrl() const;
    std::u16string ResolveLink(std::u16string_view reference) const;
    const std::u16string& Charset() const { return m_charset; }
    std::u16string Title() const;
    // Not owned: the window clears it (SetHost(nullptr)) before it goes.
    void SetHost(DocumentHost* host) { m_host = host; }
    DocumentHost* Host() const { return m_host; }

    // Frames: each FRAME or IFRAME element may carry a child document.
    void AttachFrame(const Node& frameElement, HtmlDocument* child);
    HtmlDocument* FrameDocument(const Node& frameElement) const;
    std::vector<HtmlDocument*> Frames() const;  // in the document order of their elements
    HtmlDocument* ParentDocument() const { return m_parent; }

    const Selection& CurrentSelection() const { return m_selection; }
    void Select(const Selection& selection) { m_selection = selection; }
    void ClearSelection() { m_selection = {}; }

    // The COM object of a node (the document itself for the document node);
    // S_OK with null for a null node.
    HRESULT ObjectFor(const Node* node, REFIID iid, void** out);
    template <class I>
    HRESULT ObjectFor(const Node* node, I** out) {
        return ObjectFor(node, __uuidof(I), reinterpret_cast<void**>(out));
    }
    HRESULT NewCollection(std::vector<Node*> nodes, REFIID iid, void** out);
    // The controls of a form, as its elements collection lists them; kept
    // until the tree changes, so walking a form by index stays linear.
    const std::vector<Node*>& FormItems(const Node& form);
    // The form's controls whose name or id is `name`, in the same order.
    std::vector<Node*> FormItemsNamed(const Node& form, std::u16string_view name);

    // document.open without a window: later writes replace the content.
    void BeginWrite();
    // Replaces the tree with one built from new page text. Objects of the
    // old nodes stay valid, detached from the page.
    void ReplaceContent(std::string_view utf8);

private:
    HtmlDocument() = default;
    ~HtmlDocument();
    HRESULT AppendWritten(SAFEARRAY* strings);

    std::atomic<ULONG> m_refs{0};
    std::unique_ptr<DocumentTree> m_tree;
    std::vector<std::unique_ptr<DocumentTree>> m_retiredTrees;
    std::u16string m_url;
    std::u16string m_charset;
    DocumentHost* m_host = nullptr;
    HtmlDocument* m_parent = nullptr;
    struct Frame {
        const Node* element;
        CComPtr<HtmlDocument> document;
    };
    std::vector<Frame> m_frames;
    Selection m_selection;
    bool m_writing = false;
    std::u16string m_written;
    struct FormItemList {
        const Node* form = nullptr;
        const DocumentTree* tree = nullptr;
        std::uint64_t generation = 0;
        std::vector<Node*> items;
        std::map<std::u16string, std::vector<Node*>, std::less<>> byName;  // made on first use
        bool named = false;
    };
    FormItemList m_formItems;
};

}  // namespace browser
