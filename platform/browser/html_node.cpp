#include "platform/browser/html_node.h"

#include "platform/browser/element_collection.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/markup_serializer.h"
#include "platform/browser/rendered_text.h"
#include "platform/browser/tag_names.h"
#include "platform/win/text.h"

namespace browser {

namespace {

std::u16string_view BstrView(BSTR text) {
    return {text ? text : u"", SysStringLen(text)};
}

Node* AccessNode(IUnknown* object) {
    if (!object) return nullptr;
    CComPtr<IDomNodeAccess> access;
    if (FAILED(object->QueryInterface(IID_IDomNodeAccess, reinterpret_cast<void**>(&access))))
        return nullptr;
    return access->DomNode();
}

}  // namespace

HtmlNode::HtmlNode(HtmlDocument& document, Node& node) : m_document(&document), m_node(node) {
    m_node.object = Identity();
}

HtmlNode::~HtmlNode() {
    m_node.object = nullptr;
}

void HtmlNode::Written(NodeWrite what) {
    if (what == NodeWrite::Attribute) m_document->Tree().Touch();
    if (DocumentHost* host = m_document->Host()) host->NodeWritten(*m_document, m_node, what);
}

IUnknown* HtmlNode::Identity() {
    if (m_node.IsElement()) return static_cast<IHTMLElement*>(this);
    return static_cast<IHTMLDOMNode*>(this);
}

bool HtmlNode::Answers(REFIID iid) const {
    if (iid == IID_IHTMLDOMNode || iid == IID_IDomNodeAccess) return true;
    if (m_node.kind == NodeKind::Text) return iid == IID_IHTMLDOMTextNode;
    if (!m_node.IsElement()) return false;
    if (iid == IID_IHTMLElement || iid == IID_IHTMLElement2) return true;
    if (m_node.foreign) return false;
    switch (m_node.tag) {
        case GUMBO_TAG_A:
            return iid == IID_IHTMLAnchorElement;
        case GUMBO_TAG_FORM:
            return iid == IID_IHTMLFormElement || iid == IID_IHTMLFormElement3;
        case GUMBO_TAG_INPUT:
            return iid == IID_IHTMLInputElement;
        case GUMBO_TAG_BUTTON:
            return iid == IID_IHTMLButtonElement;
        case GUMBO_TAG_SELECT:
            return iid == IID_IHTMLSelectElement;
        case GUMBO_TAG_OPTION:
            return iid == IID_IHTMLOptionElement;
        case GUMBO_TAG_TEXTAREA:
            return iid == IID_IHTMLTextAreaElement;
        default:
            return false;
    }
}

STDMETHODIMP HtmlNode::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = Identity();
    } else if (!Answers(iid)) {
        return E_NOINTERFACE;
    } else if (iid == IID_IHTMLElement) {
        *out = static_cast<IHTMLElement*>(this);
    } else if (iid == IID_IHTMLElement2) {
        *out = static_cast<IHTMLElement2*>(this);
    } else if (iid == IID_IHTMLDOMNode) {
        *out = static_cast<IHTMLDOMNode*>(this);
    } else if (iid == IID_IHTMLDOMTextNode) {
        *out = static_cast<IHTMLDOMTextNode*>(this);
    } else if (iid == IID_IHTMLAnchorElement) {
        *out = static_cast<IHTMLAnchorElement*>(this);
    } else if (iid == IID_IHTMLFormElement) {
        *out = static_cast<IHTMLFormElement*>(this);
    } else if (iid == IID_IHTMLFormElement3) {
        *out = static_cast<IHTMLFormElement3*>(this);
    } else if (iid == IID_IHTMLInputElement) {
        *out = static_cast<IHTMLInputElement*>(this);
    } else if (iid == IID_IHTMLButtonElement) {
        *out = static_cast<IHTMLButtonElement*>(this);
    } else if (iid == IID_IHTMLSelectElement) {
        *out = static_cast<IHTMLSelectElement*>(this);
    } else if (iid == IID_IHTMLOptionElement) {
        *out = static_cast<IHTMLOptionElement*>(this);
    } else if (iid == IID_IHTMLTextAreaElement) {
        *out = static_cast<IHTMLTextAreaElement*>(this);
    } else if (iid == IID_IDomNodeAccess) {
        *out = static_cast<IDomNodeAccess*>(this);
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HtmlNode::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) HtmlNode::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

// IHTMLElement

STDMETHODIMP HtmlNode::setAttribute(BSTR name, VARIANT value, LONG) {
    if (!name || !*name) return E_INVALIDARG;
    std::u16string text;
    VariantText(value, text);
    for (Attribute& a : m_node.attributes)
        if (WideEqualsNoCase(a.name, BstrView(name))) {
            a.value = std::move(text);
            Written(NodeWrite::Attribute);
            return S_OK;
        }
    m_node.attributes.push_back({WideLower(BstrView(name)), std::move(text)});
    Written(NodeWrite::Attribute);
    return S_OK;
}

// Flags 0 reads the attribute as written, without case; absent gives VT_NULL.
STDMETHODIMP HtmlNode::getAttribute(BSTR name, LONG, VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    if (!name) return E_INVALIDARG;
    const std::u16string* found = m_node.FindAttribute(BstrView(name));
    if (!found) {
        value->vt = VT_NULL;
        return S_OK;
    }
    value->bstrVal = SysAllocStringLen(found->data(), static_cast<UINT>(found->size()));
    if (!value->bstrVal) return E_OUTOFMEMORY;
    value->vt = VT_BSTR;
    return S_OK;
}

STDMETHODIMP HtmlNode::removeAttribute(BSTR name, LONG, VARIANT_BOOL* success) {
    const auto removed = std::erase_if(m_node.attributes, [&](const Attribute& a) {
        return WideEqualsNoCase(a.name, BstrView(name));
    });
    if (removed > 0) Written(NodeWrite::Attribute);
    return success ? ReturnBool(removed > 0, success) : S_OK;
}

STDMETHODIMP HtmlNode::get_className(BSTR* value) {
    return ReturnString(m_node.AttributeOr(u"class"), value);
}

STDMETHODIMP HtmlNode::get_id(BSTR* value) {
    return ReturnString(m_node.AttributeOr(u"id"), value);
}

STDMETHODIMP HtmlNode::get_tagName(BSTR* value) {
    return ReturnString(TagNameOf(m_node), value);
}

STDMETHODIMP HtmlNode::get_parentElement(IHTMLElement** parent) {
    const Node* up = m_node.parent && m_node.parent->IsElement() ? m_node.parent : nullptr;
    return m_document->ObjectFor(up, parent);
}

STDMETHODIMP HtmlNode::get_document(IDispatch** document) {
    return ReturnInterface<IDispatch>(static_cast<IHTMLDocument2*>(m_document.p), document);
}

STDMETHODIMP HtmlNode::get_title(BSTR* value) {
    return ReturnString(m_node.AttributeOr(u"title"), value);
}

STDMETHODIMP HtmlNode::get_innerHTML(BSTR* value) {
    return ReturnString(InnerHtml(m_node), value);
}

STDMETHODIMP HtmlNode::get_innerText(BSTR* value) {
    return ReturnString(RenderedText(m_node), value);
}

STDMETHODIMP HtmlNode::get_outerHTML(BSTR* value) {
    return ReturnString(OuterHtml(m_node), value);
}

STDMETHODIMP HtmlNode::click() {
    DocumentHost* host = m_document->Host();
    return host ? host->Click(*m_document, m_node) : S_OK;
}

STDMETHODIMP HtmlNode::contains(IHTMLElement* child, VARIANT_BOOL* result) {
    const Node* other = AccessNode(child);
    bool inside = false;
    for (const Node* up = other; up && !inside; up = up->parent) inside = up == &m_node;
    return ReturnBool(inside, result);
}

STDMETHODIMP HtmlNode::get_children(IDispatch** collection) {
    std::vector<Node*> children;
    for (Node* c = m_node.firstChild; c; c = c->next)
        if (c->IsElement()) children.push_back(c);
    return m_document->NewCollection(std::move(children), IID_IDispatch,
                                     reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlNode::get_all(IDispatch** collection) {
    return m_document->NewCollection(ElementsByTag(m_node, u"*"), IID_IDispatch,
                                     reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlNode::getElementsByTagName(BSTR tagName, IHTMLElementCollection** collection) {
    return m_document->NewCollection(ElementsByTag(m_node, BstrView(tagName)),
                                     IID_IHTMLElementCollection,
                                     reinterpret_cast<void**>(collection));
}

// IHTMLDOMNode

STDMETHODIMP HtmlNode::get_nodeType(long* type) {
    if (!type) return E_POINTER;
    *type = m_node.kind == NodeKind::Text      ? kNodeTypeText
            : m_node.kind == NodeKind::Comment ? kNodeTypeComment
                                               : kNodeTypeElement;
    return S_OK;
}

HRESULT HtmlNode::Relative(const Node* node, IHTMLDOMNode** out) {
    return m_document->ObjectFor(node, out);
}

STDMETHODIMP HtmlNode::get_parentNode(IHTMLDOMNode** parent) {
    return Relative(m_node.parent, parent);
}

STDMETHODIMP HtmlNode::hasChildNodes(VARIANT_BOOL* result) {
    return ReturnBool(m_node.firstChild != nullptr, result);
}

STDMETHODIMP HtmlNode::get_nodeName(BSTR* name) {
    if (m_node.kind == NodeKind::Text) return ReturnString(u"#text", name);
    if (m_node.kind == NodeKind::Comment) return ReturnString(u"#comment", name);
    return ReturnString(TagNameOf(m_node), name);
}

STDMETHODIMP HtmlNode::get_nodeValue(VARIANT* value) {
    if (!value) return E_POINTER;
    VariantInit(value);
    if (m_node.kind == NodeKind::Element) {
        value->vt = VT_NULL;
        return S_OK;
    }
    value->bstrVal = SysAllocStringLen(m_node.data.data(), static_cast<UINT>(m_node.data.size()));
    if (!value->bstrVal) return E_OUTOFMEMORY;
    value->vt = VT_BSTR;
    return S_OK;
}

STDMETHODIMP HtmlNode::get_firstChild(IHTMLDOMNode** child) {
    return Relative(m_node.firstChild, child);
}

STDMETHODIMP HtmlNode::get_lastChild(IHTMLDOMNode** child) {
    return Relative(m_node.lastChild, child);
}

STDMETHODIMP HtmlNode::get_previousSibling(IHTMLDOMNode** sibling) {
    return Relative(m_node.prev, sibling);
}

STDMETHODIMP HtmlNode::get_nextSibling(IHTMLDOMNode** sibling) {
    return Relative(m_node.next, sibling);
}

// IHTMLDOMTextNode

STDMETHODIMP HtmlNode::get_data(BSTR* text) {
    return ReturnString(m_node.data, text);
}

STDMETHODIMP HtmlNode::toString(BSTR* text) {
    return ReturnString(m_node.data, text);
}

// Shared members

STDMETHODIMP HtmlNode::get_length(long* length) {
    if (!length) return E_POINTER;
    if (m_node.kind == NodeKind::Text)
        *length = static_cast<long>(m_node.data.size());
    else
        *length = static_cast<long>(ItemScope().size());
    return S_OK;
}

STDMETHODIMP HtmlNode::get_name(BSTR* name) {
    return ReturnString(ControlName(m_node), name);
}

STDMETHODIMP HtmlNode::get_type(BSTR* type) {
    return ReturnString(ControlType(m_node), type);
}

STDMETHODIMP HtmlNode::get_value(BSTR* value) {
    return ReturnString(ControlValue(m_node), value);
}

STDMETHODIMP HtmlNode::put_value(BSTR value) {
    SetControlValue(m_node, BstrView(value));
    Written(NodeWrite::Value);
    return S_OK;
}

STDMETHODIMP HtmlNode::get_form(IHTMLFormElement** form) {
    const Node* control = &m_node;
    if (m_node.Is(GUMBO_TAG_OPTION)) control = EnclosingSelect(m_node);
    const Node* owner = control ? FormOwner(*control, m_document->Tree()) : nullptr;
    return m_document->ObjectFor(owner, form);
}

std::vector<Node*> HtmlNode::ItemScope() const {
    if (m_node.Is(GUMBO_TAG_FORM)) return m_document->FormItems(m_node);
    if (m_node.Is(GUMBO_TAG_SELECT)) return SelectOptions(m_node);
    return {};
}

STDMETHODIMP HtmlNode::item(VARIANT name, VARIANT index, IDispatch** element) {
    return ItemFromList(*m_document, ItemScope(), name, index, element);
}

STDMETHODIMP HtmlNode::tags(VARIANT tagName, IDispatch** collection) {
    if (!collection) return E_POINTER;
    *collection = nullptr;
    std::u16string tag;
    if (!VariantText(tagName, tag)) return E_INVALIDARG;
    std::vector<Node*> found = m_node.Is(GUMBO_TAG_FORM)
                                   ? FormElementsByTag(m_node, m_document->Tree(), tag)
                                   : FilterByTag(ItemScope(), tag);
    return m_document->NewCollection(std::move(found), IID_IDispatch,
                                     reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlNode::get_defaultValue(BSTR* value) {
    if (m_node.Is(GUMBO_TAG_TEXTAREA)) {
        std::u16string text;
        for (const Node* c = m_node.firstChild; c; c = c->next)
            if (c->kind == NodeKind::Text) text += c->data;
        return ReturnString(text, value);
    }
    return ReturnString(m_node.AttributeOr(u"value"), value);
}

// IHTMLAnchorElement

STDMETHODIMP HtmlNode::get_href(BSTR* url) {
    const std::u16string* href = m_node.FindAttribute(u"href");
    return ReturnString(href ? m_document->ResolveLink(*href) : std::u16string(), url);
}

STDMETHODIMP HtmlNode::get_target(BSTR* target) {
    return ReturnString(m_node.AttributeOr(u"target"), target);
}

// IHTMLFormElement

STDMETHODIMP HtmlNode::get_action(BSTR* url) {
    return ReturnString(m_node.AttributeOr(u"action"), url);
}

STDMETHODIMP HtmlNode::get_method(BSTR* method) {
    const std::u16string value = WideLower(m_node.AttributeOr(u"method"));
    return ReturnString(value == u"post" ? u"post" : u"get", method);
}

STDMETHODIMP HtmlNode::get_elements(IDispatch** collection) {
    return m_document->NewCollection(ItemScope(), IID_IDispatch,
                                     reinterpret_cast<void**>(collection));
}

STDMETHODIMP HtmlNode::submit() {
    DocumentHost* host = m_document->Host();
    return host ? host->Submit(*m_document, m_node) : S_OK;
}

STDMETHODIMP HtmlNode::reset() {
    return E_NOTIMPL;
}

STDMETHODIMP HtmlNode::namedItem(BSTR name, IDispatch** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    const std::u16string_view wanted = BstrView(name);
    std::vector<Node*> found;
    if (m_node.Is(GUMBO_TAG_FORM)) {
        found = m_document->FormItemsNamed(m_node, wanted);
    } else {
        const auto named = [wanted](const Node& n, const char16_t* attribute) {
            const std::u16string* value = n.FindAttribute(attribute);
            return value && *value == wanted;
        };
        for (Node* n : ItemScope())
            if (named(*n, u"name") || named(*n, u"id")) found.push_back(n);
    }
    if (found.empty()) return S_OK;
    if (found.size() == 1) return m_document->ObjectFor(found.front(), result);
    return m_document->NewCollection(std::move(found), IID_IDispatch,
                                     reinterpret_cast<void**>(result));
}

// IHTMLInputElement

STDMETHODIMP HtmlNode::put_type(BSTR) {
    return E_NOTIMPL;  // the classic browser refuses to retype a parsed input
}

STDMETHODIMP HtmlNode::put_checked(VARIANT_BOOL checked) {
    SetChecked(m_node, checked != VARIANT_FALSE, m_document->Tree());
    Written(NodeWrite::Checked);
    return S_OK;
}

STDMETHODIMP HtmlNode::get_checked(VARIANT_BOOL* checked) {
    return ReturnBool(IsChecked(m_node), checked);
}

STDMETHODIMP HtmlNode::get_defaultChecked(VARIANT_BOOL* checked) {
    return ReturnBool(m_node.HasAttribute(u"checked"), checked);
}

// IHTMLSelectElement

STDMETHODIMP HtmlNode::get_selectedIndex(long* index) {
    if (!index) return E_POINTER;
    *index = -1;
    const std::vector<Node*> options = SelectOptions(m_node);
    for (std::size_t i = 0; i < options.size(); ++i)
        if (IsSelected(*options[i])) {
            *index = static_cast<long>(i);
            break;
        }
    return S_OK;
}

STDMETHODIMP HtmlNode::put_selectedIndex(long index) {
    const std::vector<Node*> options = SelectOptions(m_node);
    for (std::size_t i = 0; i < options.size(); ++i)
        options[i]->control->selected = static_cast<long>(i) == index;
    Written(NodeWrite::Selected);
    return S_OK;
}

STDMETHODIMP HtmlNode::get_multiple(VARIANT_BOOL* multiple) {
    return ReturnBool(IsMultipleSelect(m_node), multiple);
}

// IHTMLOptionElement

STDMETHODIMP HtmlNode::put_selected(VARIANT_BOOL selected) {
    SetSelected(m_node, selected != VARIANT_FALSE);
    Written(NodeWrite::Selected);
    return S_OK;
}

STDMETHODIMP HtmlNode::get_selected(VARIANT_BOOL* selected) {
    return ReturnBool(IsSelected(m_node), selected);
}

STDMETHODIMP HtmlNode::get_text(BSTR* text) {
    return ReturnString(RenderedText(m_node), text);
}

STDMETHODIMP HtmlNode::get_index(long* index) {
    if (!index) return E_POINTER;
    *index = 0;
    if (const Node* select = EnclosingSelect(m_node)) {
        const std::vector<Node*> options = SelectOptions(*select);
        for (std::size_t i = 0; i < options.size(); ++i)
            if (options[i] == &m_node) *index = static_cast<long>(i);
    }
    return S_OK;
}

}  // namespace browser
