#include "platform/browser/html_document.h"

#include "platform/browser/form_controls.h"

#include <algorithm>
#include <new>

#include "platform/browser/element_collection.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/html_location.h"
#include "platform/browser/html_node.h"
#include "platform/browser/markup_pointer.h"
#include "platform/browser/page_decoder.h"
#include "platform/browser/rendered_text.h"
#include "platform/browser/selection_objects.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/tree_builder.h"
#include "platform/browser/url.h"
#include "platform/win/text.h"

namespace browser {

namespace {

std::u16string_view BstrView(BSTR text) {
    return {text ? text : u"", SysStringLen(text)};
}

std::vector<Node*> ElementsWhere(const Node& root, bool (*keep)(const Node&)) {
    std::vector<Node*> out;
    for (const Node* n = NextInSubtree(&root, &root); n; n = NextInSubtree(n, &root))
        if (n->IsElement() && keep(*n)) out.push_back(const_cast<Node*>(n));
    return out;
}

}  // namespace

HRESULT HtmlDocument::Create(std::string_view bytes, std::u16string_view url,
                             std::u16string_view headerCharset, HtmlDocument** document) {
    if (!document) return E_POINTER;
    *document = nullptr;
    auto* created = new (std::nothrow) HtmlDocument();
    if (!created) return E_OUTOFMEMORY;
    DecodedPage page = DecodePage(bytes, headerCharset);
    created->m_charset = std::move(page.charset);
    created->m_tree = BuildTree(page.utf8);
    created->SetUrl(url);
    created->AddRef();
    *document = created;
    return S_OK;
}

HRESULT HtmlDocument::CreateFromTree(std::unique_ptr<DocumentTree> tree, std::u16string_view url,
                                     std::u16string_view charset, HtmlDocument** document) {
    if (!document) return E_POINTER;
    *document = nullptr;
    if (!tree) return E_INVALIDARG;
    auto* created = new (std::nothrow) HtmlDocument();
    if (!created) return E_OUTOFMEMORY;
    created->m_charset = charset;
    created->m_tree = std::move(tree);
    created->SetUrl(url);
    created->AddRef();
    *document = created;
    return S_OK;
}

HtmlDocument::~HtmlDocument() {
    for (Frame& frame : m_frames) frame.document->m_parent = nullptr;
}

STDMETHODIMP HtmlDocument::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLDocument2)
        *out = static_cast<IHTMLDocument2*>(this);
    else if (iid == IID_IHTMLDocument3)
        *out = static_cast<IHTMLDocument3*>(this);
    else if (iid == IID_IHTMLDOMNode)
        *out = static_cast<IHTMLDOMNode*>(this);
    else if (iid == IID_IMarkupServices)
        *out = static_cast<IMarkupServices*>(this);
    else if (iid == IID_IMarkupContainer)
        *out = static_cast<IMarkupContainer*>(this);
    else if (iid == IID_IDomNodeAccess)
        *out = static_cast<IDomNodeAccess*>(this);
    else if (m_host)
        return m_host->QueryDocumentInterface(*this, iid, out);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HtmlDocument::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) HtmlDocument::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

// IHTMLDocument2

STDMETHODIMP HtmlDocument::get_all(IHTMLElementCollection** collection) {
    return NewCollection(ElementsWhere(*m_tree->Root(), [](const Node&) { return true; }),
                         IID_IHTMLElementCollection, reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlDocument::get_body(IHTMLElement** body) {
    return ObjectFor(m_tree->Body(), body);
}

STDMETHODIMP HtmlDocument::get_title(BSTR* title) {
    return ReturnString(Title(), title);
}

STDMETHODIMP HtmlDocument::get_selection(IHTMLSelectionObject** selection) {
    if (!selection) return E_POINTER;
    *selection = new (std::nothrow) SelectionObject(*this);
    if (!*selection) return E_OUTOFMEMORY;
    (*selection)->AddRef();
    return S_OK;
}

STDMETHODIMP HtmlDocument::get_forms(IHTMLElementCollection** collection) {
    return NewCollection(
        ElementsWhere(*m_tree->Root(), [](const Node& e) { return e.Is(GUMBO_TAG_FORM); }),
        IID_IHTMLElementCollection, reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlDocument::get_links(IHTMLElementCollection** collection) {
    return NewCollection(ElementsWhere(*m_tree->Root(),
                                       [](const Node& e) {
                                           return (e.Is(GUMBO_TAG_A) || e.Is(GUMBO_TAG_AREA)) &&
                                                  e.HasAttribute(u"href");
                                       }),
                         IID_IHTMLElementCollection, reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlDocument::get_location(IHTMLLocation** location) {
    if (!location) return E_POINTER;
    *location = new (std::nothrow) HtmlLocation(m_url);
    if (!*location) return E_OUTOFMEMORY;
    (*location)->AddRef();
    return S_OK;
}

STDMETHODIMP HtmlDocument::get_URL(BSTR* url) {
    return ReturnString(m_url, url);
}

STDMETHODIMP HtmlDocument::get_domain(BSTR* domain) {
    return ReturnString(ParseUrl(m_url).HostName(), domain);
}

STDMETHODIMP HtmlDocument::put_charset(BSTR charset) {
    const std::u16string canonical = CanonicalCharset(BstrView(charset));
    if (canonical.empty()) return E_INVALIDARG;
    m_charset = canonical;
    return S_OK;
}

STDMETHODIMP HtmlDocument::get_charset(BSTR* charset) {
    return ReturnString(m_charset, charset);
}

HRESULT HtmlDocument::AppendWritten(SAFEARRAY* strings) {
    if (!strings) return E_INVALIDARG;
    VARTYPE type = VT_EMPTY;
    if (SafeArrayGetDim(strings) != 1 || FAILED(SafeArrayGetVartype(strings, &type)) ||
        type != VT_VARIANT)
        return E_INVALIDARG;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(strings, 1, &lower);
    SafeArrayGetUBound(strings, 1, &upper);
    void* data = nullptr;
    HRESULT hr = SafeArrayAccessData(strings, &data);
    if (FAILED(hr)) return hr;
    const auto* items = static_cast<const VARIANT*>(data);
    for (LONG i = 0; i <= upper - lower; ++i) {
        std::u16string text;
        if (VariantText(items[i], text)) m_written += text;
    }
    SafeArrayUnaccessData(strings);
    m_writing = true;
    return S_OK;
}

STDMETHODIMP HtmlDocument::write(SAFEARRAY* strings) {
    return AppendWritten(strings);
}

STDMETHODIMP HtmlDocument::writeln(SAFEARRAY* strings) {
    const HRESULT hr = AppendWritten(strings);
    if (SUCCEEDED(hr)) m_written += u"\r\n";
    return hr;
}

STDMETHODIMP HtmlDocument::open(BSTR url, VARIANT name, VARIANT features, VARIANT replace,
                                IDispatch** window) {
    if (!window) return E_POINTER;
    *window = nullptr;
    if (m_host) return m_host->Open(*this, url, name, features, replace, window);
    // Without a window only the plain "reopen this document" form works.
    std::u16string target;
    VariantText(name, target);
    const std::u16string_view type = BstrView(url);
    if (!target.empty() || !(type.empty() || WideEqualsNoCase(type, u"text/html")))
        return E_NOTIMPL;
    BeginWrite();
    return S_OK;
}

STDMETHODIMP HtmlDocument::close() {
    if (!m_writing) return S_OK;
    m_writing = false;
    ReplaceContent(Utf16ToUtf8(m_written));
    m_written.clear();
    if (m_host) m_host->ContentWritten(*this);
    return S_OK;
}

STDMETHODIMP HtmlDocument::get_parentWindow(IHTMLWindow2** window) {
    if (!window) return E_POINTER;
    *window = nullptr;
    return m_host ? m_host->ParentWindow(*this, window) : E_NOTIMPL;
}

// IHTMLDocument3

STDMETHODIMP HtmlDocument::get_documentElement(IHTMLElement** element) {
    return ObjectFor(m_tree->DocumentElement(), element);
}

STDMETHODIMP HtmlDocument::getElementById(BSTR id, IHTMLElement** element) {
    if (!element) return E_POINTER;
    *element = nullptr;
    const std::u16string_view wanted = BstrView(id);
    const Node* root = m_tree->Root();
    for (const Node* n = root; n; n = NextInSubtree(n, root)) {
        const std::u16string* value = n->IsElement() ? n->FindAttribute(u"id") : nullptr;
        if (value && *value == wanted) return ObjectFor(n, element);
    }
    return S_OK;
}

STDMETHODIMP HtmlDocument::getElementsByName(BSTR name, IHTMLElementCollection** collection) {
    const std::u16string wanted(BstrView(name));
    std::vector<Node*> found;
    const Node* root = m_tree->Root();
    for (const Node* n = root; n; n = NextInSubtree(n, root)) {
        const std::u16string* value = n->IsElement() ? n->FindAttribute(u"name") : nullptr;
        if (value && *value == wanted) found.push_back(const_cast<Node*>(n));
    }
    return NewCollection(std::move(found), IID_IHTMLElementCollection,
                         reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlDocument::getElementsByTagName(BSTR tagName, IHTMLElementCollection** collection) {
    return NewCollection(ElementsByTag(*m_tree->Root(), BstrView(tagName)),
                         IID_IHTMLElementCollection, reinterpret_cast<void**>(collection));
}

// IHTMLDOMNode

STDMETHODIMP HtmlDocument::get_nodeType(long* type) {
    if (!type) return E_POINTER;
    *type = kNodeTypeDocument;
    return S_OK;
}

STDMETHODIMP HtmlDocument::get_parentNode(IHTMLDOMNode** parent) {
    return ReturnInterface<IHTMLDOMNode>(nullptr, parent);
}

STDMETHODIMP HtmlDocument::hasChildNodes(VARIANT_BOOL* result) {
    return ReturnBool(m_tree->Root()->firstChild != nullptr, result);
}

STDMETHODIMP HtmlDocument::get_nodeName(BSTR* name) {
    return ReturnString(u"#document", name);
}

STDMETHODIMP HtmlDocument::get_nodeValue(VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    value->vt = VT_NULL;
    return S_OK;
}

STDMETHODIMP HtmlDocument::get_firstChild(IHTMLDOMNode** child) {
    return ObjectFor(m_tree->Root()->firstChild, child);
}

STDMETHODIMP HtmlDocument::get_lastChild(IHTMLDOMNode** child) {
    return ObjectFor(m_tree->Root()->lastChild, child);
}

STDMETHODIMP HtmlDocument::get_previousSibling(IHTMLDOMNode** sibling) {
    return ReturnInterface<IHTMLDOMNode>(nullptr, sibling);
}

STDMETHODIMP HtmlDocument::get_nextSibling(IHTMLDOMNode** sibling) {
    return ReturnInterface<IHTMLDOMNode>(nullptr, sibling);
}

// Markup

STDMETHODIMP HtmlDocument::CreateMarkupPointer(IMarkupPointer** pointer) {
    if (!pointer) return E_POINTER;
    *pointer = new (std::nothrow) MarkupPointer(*this);
    if (!*pointer) return E_OUTOFMEMORY;
    (*pointer)->AddRef();
    return S_OK;
}

STDMETHODIMP HtmlDocument::OwningDoc(IDispatch** document) {
    return ReturnInterface<IDispatch>(static_cast<IHTMLDocument2*>(this), document);
}

// For the window

void HtmlDocument::SetUrl(std::u16string_view url) {
    m_url = url.empty() ? u"about:blank" : ParseUrl(url).ToString();
}

std::u16string HtmlDocument::BaseUrl() const {
    const Node* root = m_tree->Root();
    for (const Node* n = root; n; n = NextInSubtree(n, root))
        if (n->Is(GUMBO_TAG_BASE))
            if (const std::u16string* href = n->FindAttribute(u"href"))
                return ResolveUrl(m_url, *href);
    return m_url;
}

std::u16string HtmlDocument::ResolveLink(std::u16string_view reference) const {
    return ResolveUrl(BaseUrl(), reference);
}

std::u16string HtmlDocument::Title() const {
    const Node* root = m_tree->Root();
    for (const Node* n = root; n; n = NextInSubtree(n, root))
        if (n->Is(GUMBO_TAG_TITLE)) {
            // Titles show with their white space collapsed.
            std::u16string title;
            for (char16_t c : RenderedText(*n)) {
                const bool white = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
                if (!white)
                    title.push_back(c);
                else if (!title.empty() && title.back() != ' ')
                    title.push_back(' ');
            }
            while (!title.empty() && title.back() == ' ') title.pop_back();
            return title;
        }
    return {};
}

void HtmlDocument::AttachFrame(const Node& frameElement, HtmlDocument* child) {
    std::erase_if(m_frames, [&](const Frame& f) { return f.element == &frameElement; });
    if (!child) return;
    child->m_parent = this;
    m_frames.push_back({&frameElement, child});
}

HtmlDocument* HtmlDocument::FrameDocument(const Node& frameElement) const {
    for (const Frame& f : m_frames)
        if (f.element == &frameElement) return f.document;
    return nullptr;
}

std::vector<HtmlDocument*> HtmlDocument::Frames() const {
    std::vector<const Frame*> ordered;
    for (const Frame& f : m_frames) ordered.push_back(&f);
    std::sort(ordered.begin(), ordered.end(),
              [](const Frame* a, const Frame* b) { return a->element->order < b->element->order; });
    std::vector<HtmlDocument*> out;
    for (const Frame* f : ordered) out.push_back(f->document);
    return out;
}

HRESULT HtmlDocument::ObjectFor(const Node* node, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!node) return S_OK;
    if (node->kind == NodeKind::Document) return QueryInterface(iid, out);
    Node& target = const_cast<Node&>(*node);
    if (target.object) return target.object->QueryInterface(iid, out);
    auto* created = new (std::nothrow) HtmlNode(*this, target);
    if (!created) return E_OUTOFMEMORY;
    created->AddRef();
    const HRESULT hr = created->QueryInterface(iid, out);
    created->Release();
    return hr;
}

const std::vector<Node*>& HtmlDocument::FormItems(const Node& form) {
    FormItemList& kept = m_formItems;
    if (kept.form != &form || kept.tree != m_tree.get() ||
        kept.generation != m_tree->Generation()) {
        kept.items = FormElements(form, *m_tree);
        kept.byName.clear();
        kept.named = false;
        kept.form = &form;
        kept.tree = m_tree.get();
        kept.generation = m_tree->Generation();
    }
    return kept.items;
}

std::vector<Node*> HtmlDocument::FormItemsNamed(const Node& form, std::u16string_view name) {
    const std::vector<Node*>& items = FormItems(form);
    FormItemList& kept = m_formItems;
    if (!kept.named) {
        for (Node* item : items) {
            const std::u16string* own = item->FindAttribute(u"name");
            const std::u16string* id = item->FindAttribute(u"id");
            if (own) kept.byName[*own].push_back(item);
            if (id && (!own || *id != *own)) kept.byName[*id].push_back(item);
        }
        kept.named = true;
    }
    const auto found = kept.byName.find(name);
    return found == kept.byName.end() ? std::vector<Node*>() : found->second;
}

HRESULT HtmlDocument::NewCollection(std::vector<Node*> nodes, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* collection = new (std::nothrow) ElementCollection(*this, std::move(nodes));
    if (!collection) return E_OUTOFMEMORY;
    collection->AddRef();
    const HRESULT hr = collection->QueryInterface(iid, out);
    collection->Release();
    return hr;
}

void HtmlDocument::BeginWrite() {
    m_writing = true;
    m_written.clear();
}

void HtmlDocument::ReplaceContent(std::string_view utf8) {
    m_retiredTrees.push_back(std::move(m_tree));
    m_tree = BuildTree(utf8);
    m_frames.clear();
    m_selection = {};
}

}  // namespace browser
