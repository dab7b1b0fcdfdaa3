#include "platform/browser/markup_pointer.h"

namespace browser {

namespace {

MARKUP_CONTEXT_TYPE ContextOf(MarkupStep step) {
    switch (step) {
        case MarkupStep::Text:
            return CONTEXT_TYPE_Text;
        case MarkupStep::EnterScope:
            return CONTEXT_TYPE_EnterScope;
        case MarkupStep::ExitScope:
            return CONTEXT_TYPE_ExitScope;
        case MarkupStep::NoScope:
            return CONTEXT_TYPE_NoScope;
        default:
            return CONTEXT_TYPE_None;
    }
}

// The node and document behind an element or container of this document.
const Node* NodeOf(IUnknown* object, HtmlDocument* document) {
    if (!object) return nullptr;
    CComPtr<IDomNodeAccess> access;
    if (FAILED(object->QueryInterface(IID_IDomNodeAccess, reinterpret_cast<void**>(&access))))
        return nullptr;
    return access->OwnerDocument() == document ? access->DomNode() : nullptr;
}

}  // namespace

MarkupPointer::MarkupPointer(HtmlDocument& document) : m_document(&document) {}

STDMETHODIMP MarkupPointer::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IMarkupPointer)
        *out = static_cast<IMarkupPointer*>(this);
    else if (iid == IID_IMarkupPositionAccess)
        *out = static_cast<IMarkupPositionAccess*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) MarkupPointer::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) MarkupPointer::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP MarkupPointer::OwningDoc(IDispatch** document) {
    return m_document->OwningDoc(document);
}

STDMETHODIMP MarkupPointer::Unposition() {
    m_position = {};
    return S_OK;
}

STDMETHODIMP MarkupPointer::IsPositioned(BOOL* positioned) {
    if (!positioned) return E_POINTER;
    *positioned = m_position.IsPositioned();
    return S_OK;
}

STDMETHODIMP MarkupPointer::GetContainer(IMarkupContainer** container) {
    if (!container) return E_POINTER;
    *container = nullptr;
    if (!m_position.IsPositioned()) return E_UNEXPECTED;
    return m_document->QueryInterface(IID_IMarkupContainer, reinterpret_cast<void**>(container));
}

STDMETHODIMP MarkupPointer::MoveAdjacentToElement(IHTMLElement* element,
                                                  ELEMENT_ADJACENCY adjacency) {
    const Node* node = NodeOf(element, m_document);
    if (!node || !node->IsElement()) return E_INVALIDARG;
    switch (adjacency) {
        case ELEM_ADJ_BeforeBegin:
            m_position = BeforeBegin(*node);
            return S_OK;
        case ELEM_ADJ_AfterBegin:
            m_position = AfterBegin(*node);
            return S_OK;
        case ELEM_ADJ_BeforeEnd:
            m_position = BeforeEnd(*node);
            return S_OK;
        case ELEM_ADJ_AfterEnd:
            m_position = AfterEnd(*node);
            return S_OK;
    }
    return E_INVALIDARG;
}

STDMETHODIMP MarkupPointer::MoveToPointer(IMarkupPointer* pointer) {
    if (!pointer) return E_INVALIDARG;
    CComPtr<IMarkupPositionAccess> other;
    if (FAILED(
            pointer->QueryInterface(IID_IMarkupPositionAccess, reinterpret_cast<void**>(&other))) ||
        other->OwnerDocument() != m_document)
        return E_INVALIDARG;
    m_position = other->Position();
    return S_OK;
}

STDMETHODIMP MarkupPointer::MoveToContainer(IMarkupContainer* container, BOOL atStart) {
    const Node* root = NodeOf(container, m_document);
    if (!root || root->kind != NodeKind::Document) return E_INVALIDARG;
    m_position = atStart ? StartOfDocument(*root) : EndOfDocument(*root);
    return S_OK;
}

HRESULT MarkupPointer::Step(bool left, BOOL move, MARKUP_CONTEXT_TYPE* context,
                            IHTMLElement** element, long* count, OLECHAR* text) {
    if (element) *element = nullptr;
    if (!m_position.IsPositioned()) return E_UNEXPECTED;
    const long limit = count ? *count : -1;
    MarkupPosition probe = m_position;
    const MarkupMove passed = left ? StepLeft(probe, true, limit) : StepRight(probe, true, limit);
    if (context) *context = ContextOf(passed.step);
    if (count) *count = passed.step == MarkupStep::Text ? static_cast<long>(passed.characters) : 0;
    if (text && limit >= 0 && passed.step == MarkupStep::Text) {
        // The characters passed, in document order; text holds at most limit.
        const MarkupPosition& first = left ? probe : m_position;
        for (std::size_t i = 0; i < passed.characters; ++i)
            text[i] = first.node->data[first.offset + i];
    }
    if (move) m_position = probe;
    if (element && passed.element) return m_document->ObjectFor(passed.element, element);
    return S_OK;
}

STDMETHODIMP MarkupPointer::Left(BOOL move, MARKUP_CONTEXT_TYPE* context, IHTMLElement** element,
                                 long* count, OLECHAR* text) {
    return Step(true, move, context, element, count, text);
}

STDMETHODIMP MarkupPointer::Right(BOOL move, MARKUP_CONTEXT_TYPE* context, IHTMLElement** element,
                                  long* count, OLECHAR* text) {
    return Step(false, move, context, element, count, text);
}

STDMETHODIMP MarkupPointer::CurrentScope(IHTMLElement** element) {
    if (!element) return E_POINTER;
    *element = nullptr;
    if (!m_position.IsPositioned()) return E_UNEXPECTED;
    return m_document->ObjectFor(ScopeOf(m_position), element);
}

HRESULT MarkupPointer::Compare(IMarkupPointer* pointer, int* order) {
    if (!pointer) return E_INVALIDARG;
    CComPtr<IMarkupPositionAccess> other;
    if (FAILED(
            pointer->QueryInterface(IID_IMarkupPositionAccess, reinterpret_cast<void**>(&other))) ||
        other->OwnerDocument() != m_document)
        return E_INVALIDARG;
    const MarkupPosition theirs = other->Position();
    if (!m_position.IsPositioned() || !theirs.IsPositioned()) return E_UNEXPECTED;
    *order = ComparePositions(m_position, theirs);
    return S_OK;
}

HRESULT MarkupPointer::CompareHolds(IMarkupPointer* other, BOOL* result, bool (*holds)(int order)) {
    if (!result) return E_POINTER;
    int order = 0;
    const HRESULT hr = Compare(other, &order);
    *result = SUCCEEDED(hr) && holds(order);
    return hr;
}

STDMETHODIMP MarkupPointer::IsLeftOf(IMarkupPointer* other, BOOL* result) {
    return CompareHolds(other, result, [](int order) { return order < 0; });
}

STDMETHODIMP MarkupPointer::IsLeftOfOrEqualTo(IMarkupPointer* other, BOOL* result) {
    return CompareHolds(other, result, [](int order) { return order <= 0; });
}

STDMETHODIMP MarkupPointer::IsRightOf(IMarkupPointer* other, BOOL* result) {
    return CompareHolds(other, result, [](int order) { return order > 0; });
}

STDMETHODIMP MarkupPointer::IsRightOfOrEqualTo(IMarkupPointer* other, BOOL* result) {
    return CompareHolds(other, result, [](int order) { return order >= 0; });
}

STDMETHODIMP MarkupPointer::IsEqualTo(IMarkupPointer* other, BOOL* result) {
    return CompareHolds(other, result, [](int order) { return order == 0; });
}

}  // namespace browser
