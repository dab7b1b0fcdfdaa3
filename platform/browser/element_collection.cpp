#include "platform/browser/element_collection.h"

#include <new>

#include "platform/browser/tag_names.h"
#include "platform/win/text.h"

namespace browser {

namespace {

bool TagMatches(const Node& n, TagId tag, std::u16string_view tagName) {
    if (!n.IsElement()) return false;
    if (tagName == std::u16string_view(u"*")) return true;
    if (tag != kUnknownTag) return n.Is(tag);
    return WideEqualsNoCase(LocalName(n), tagName);
}

}  // namespace

std::vector<Node*> FilterByTag(const std::vector<Node*>& nodes, std::u16string_view tagName) {
    const TagId tag = TagFromName(tagName);
    std::vector<Node*> out;
    for (Node* n : nodes)
        if (TagMatches(*n, tag, tagName)) out.push_back(n);
    return out;
}

std::vector<Node*> ElementsByTag(const Node& root, std::u16string_view tagName) {
    const TagId tag = TagFromName(tagName);
    std::vector<Node*> out;
    for (const Node* n = NextInSubtree(&root, &root); n; n = NextInSubtree(n, &root))
        if (TagMatches(*n, tag, tagName)) out.push_back(const_cast<Node*>(n));
    return out;
}

HRESULT ItemFromList(HtmlDocument& document, const std::vector<Node*>& nodes, const VARIANT& name,
                     const VARIANT& index, IDispatch** element) {
    if (!element) return E_POINTER;
    *element = nullptr;
    long position = 0;
    if (VariantIndex(name, position)) {
        if (position < 0 || static_cast<std::size_t>(position) >= nodes.size()) return S_OK;
        return document.ObjectFor(nodes[static_cast<std::size_t>(position)], element);
    }
    std::u16string wanted;
    if (!VariantText(name, wanted)) return E_INVALIDARG;
    std::vector<Node*> found;
    for (Node* n : nodes)
        if (n->AttributeOr(u"id") == wanted || n->AttributeOr(u"name") == wanted)
            found.push_back(n);
    if (found.empty()) return S_OK;
    long which = 0;
    if (VariantIndex(index, which)) {
        if (which < 0 || static_cast<std::size_t>(which) >= found.size()) return S_OK;
        return document.ObjectFor(found[static_cast<std::size_t>(which)], element);
    }
    if (found.size() == 1) return document.ObjectFor(found.front(), element);
    return document.NewCollection(std::move(found), IID_IDispatch,
                                  reinterpret_cast<void**>(element));
}

ElementCollection::ElementCollection(HtmlDocument& document, std::vector<Node*> nodes)
    : m_document(&document), m_nodes(std::move(nodes)) {}

STDMETHODIMP ElementCollection::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IHTMLElementCollection)
        return E_NOINTERFACE;
    *out = static_cast<IHTMLElementCollection*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ElementCollection::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) ElementCollection::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP ElementCollection::toString(BSTR* text) {
    return ReturnString(u"[object]", text);
}

STDMETHODIMP ElementCollection::get_length(long* length) {
    if (!length) return E_POINTER;
    *length = static_cast<long>(m_nodes.size());
    return S_OK;
}

STDMETHODIMP ElementCollection::item(VARIANT name, VARIANT index, IDispatch** element) {
    return ItemFromList(*m_document, m_nodes, name, index, element);
}

STDMETHODIMP ElementCollection::tags(VARIANT tagName, IDispatch** collection) {
    if (!collection) return E_POINTER;
    *collection = nullptr;
    std::u16string tag;
    if (!VariantText(tagName, tag)) return E_INVALIDARG;
    return m_document->NewCollection(FilterByTag(m_nodes, tag), IID_IDispatch,
                                     reinterpret_cast<void**>(collection));
}

}  // namespace browser
