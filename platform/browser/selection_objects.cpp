#include "platform/browser/selection_objects.h"

#include <new>

#include "platform/browser/markup_serializer.h"
#include "platform/browser/rendered_text.h"
#include "platform/win/text.h"

namespace browser {

namespace {

template <class Object, class I>
HRESULT QueryOne(Object* object, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != __uuidof(I)) return E_NOINTERFACE;
    *out = static_cast<I*>(object);
    object->AddRef();
    return S_OK;
}

template <class Object>
HRESULT ReturnNew(Object* object, IDispatch** out) {
    if (!object) return E_OUTOFMEMORY;
    object->AddRef();
    *out = object;
    return S_OK;
}

}  // namespace

// SelectionObject

SelectionObject::SelectionObject(HtmlDocument& document) : m_document(&document) {}

STDMETHODIMP SelectionObject::QueryInterface(REFIID iid, void** out) {
    return QueryOne<SelectionObject, IHTMLSelectionObject>(this, iid, out);
}

STDMETHODIMP_(ULONG) SelectionObject::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) SelectionObject::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP SelectionObject::createRange(IDispatch** range) {
    if (!range) return E_POINTER;
    *range = nullptr;
    const Selection& selection = m_document->CurrentSelection();
    if (selection.kind == Selection::Kind::Control)
        return ReturnNew(new (std::nothrow) ControlRange(*m_document, *selection.node), range);
    return ReturnNew(new (std::nothrow) TextRange(*m_document, selection), range);
}

STDMETHODIMP SelectionObject::empty() {
    m_document->ClearSelection();
    return S_OK;
}

STDMETHODIMP SelectionObject::clear() {
    return E_NOTIMPL;  // deleting the selected content is not offered
}

STDMETHODIMP SelectionObject::get_type(BSTR* type) {
    switch (m_document->CurrentSelection().kind) {
        case Selection::Kind::Text:
            return ReturnString(u"Text", type);
        case Selection::Kind::Control:
            return ReturnString(u"Control", type);
        default:
            return ReturnString(u"None", type);
    }
}

// TextRange

TextRange::TextRange(HtmlDocument& document, const Selection& selection)
    : m_document(&document), m_selection(selection) {}

STDMETHODIMP TextRange::QueryInterface(REFIID iid, void** out) {
    return QueryOne<TextRange, IHTMLTxtRange>(this, iid, out);
}

STDMETHODIMP_(ULONG) TextRange::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) TextRange::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP TextRange::get_htmlText(BSTR* html) {
    // The markup of a range is only exact for a whole element.
    const std::u16string text = SelectedText(m_selection);
    if (m_selection.node && m_selection.start == 0 &&
        m_selection.end >= RenderedText(*m_selection.node).size())
        return ReturnString(InnerHtml(*m_selection.node), html);
    return ReturnString(text, html);
}

STDMETHODIMP TextRange::put_text(BSTR) {
    return E_NOTIMPL;  // documents are not edited
}

STDMETHODIMP TextRange::get_text(BSTR* text) {
    return ReturnString(SelectedText(m_selection), text);
}

STDMETHODIMP TextRange::parentElement(IHTMLElement** parent) {
    const Node* scope = m_selection.node;
    if (!scope) scope = m_document->Tree().Body();
    return m_document->ObjectFor(scope, parent);
}

// ControlRange

ControlRange::ControlRange(HtmlDocument& document, const Node& control)
    : m_document(&document), m_control(control) {}

STDMETHODIMP ControlRange::QueryInterface(REFIID iid, void** out) {
    return QueryOne<ControlRange, IHTMLControlRange>(this, iid, out);
}

STDMETHODIMP_(ULONG) ControlRange::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) ControlRange::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP ControlRange::get_length(long* length) {
    if (!length) return E_POINTER;
    *length = 1;
    return S_OK;
}

STDMETHODIMP ControlRange::item(long index, IHTMLElement** element) {
    if (!element) return E_POINTER;
    *element = nullptr;
    if (index != 0) return E_INVALIDARG;
    return m_document->ObjectFor(&m_control, element);
}

STDMETHODIMP ControlRange::commonParentElement(IHTMLElement** parent) {
    const Node* up = m_control.parent && m_control.parent->IsElement() ? m_control.parent : nullptr;
    return m_document->ObjectFor(up, parent);
}

}  // namespace browser
