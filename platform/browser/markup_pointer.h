// IMarkupPointer: a movable position in a document's markup.
#pragma once

#include <atomic>

#include "platform/browser/html_document.h"

namespace browser {

class MarkupPointer final : public IMarkupPointer, public IMarkupPositionAccess {
public:
    explicit MarkupPointer(HtmlDocument& document);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP OwningDoc(IDispatch** document) override;
    STDMETHODIMP Unposition() override;
    STDMETHODIMP IsPositioned(BOOL* positioned) override;
    STDMETHODIMP GetContainer(IMarkupContainer** container) override;
    STDMETHODIMP MoveAdjacentToElement(IHTMLElement* element, ELEMENT_ADJACENCY adjacency) override;
    STDMETHODIMP MoveToPointer(IMarkupPointer* pointer) override;
    STDMETHODIMP MoveToContainer(IMarkupContainer* container, BOOL atStart) override;
    STDMETHODIMP Left(BOOL move, MARKUP_CONTEXT_TYPE* context, IHTMLElement** element, long* count,
                      OLECHAR* text) override;
    STDMETHODIMP Right(BOOL move, MARKUP_CONTEXT_TYPE* context, IHTMLElement** element, long* count,
                       OLECHAR* text) override;
    STDMETHODIMP CurrentScope(IHTMLElement** element) override;
    STDMETHODIMP IsLeftOf(IMarkupPointer* other, BOOL* result) override;
    STDMETHODIMP IsLeftOfOrEqualTo(IMarkupPointer* other, BOOL* result) override;
    STDMETHODIMP IsRightOf(IMarkupPointer* other, BOOL* result) override;
    STDMETHODIMP IsRightOfOrEqualTo(IMarkupPointer* other, BOOL* result) override;
    STDMETHODIMP IsEqualTo(IMarkupPointer* other, BOOL* result) override;

    STDMETHODIMP_(MarkupPosition) Position() override { return m_position; }
    STDMETHODIMP_(HtmlDocument*) OwnerDocument() override { return m_document; }

private:
    ~MarkupPointer() = default;
    HRESULT Step(bool left, BOOL move, MARKUP_CONTEXT_TYPE* context, IHTMLElement** element,
                 long* count, OLECHAR* text);
    // Compares with another pointer of the same document: <0, 0, >0.
    HRESULT Compare(IMarkupPointer* other, int* order);
    // *result = holds(order) after a successful Compare, FALSE otherwise.
    HRESULT CompareHolds(IMarkupPointer* other, BOOL* result, bool (*holds)(int order));

    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
    MarkupPosition m_position;
};

}  // namespace browser
