#include "addon/content/selection_text.h"

HRESULT GetSelectionText(IHTMLDocument2* document, BSTR* text) {
    if (!text) return E_POINTER;
    *text = nullptr;
    if (!document) return E_INVALIDARG;
    CComPtr<IHTMLSelectionObject> selection;
    if (FAILED(document->get_selection(&selection)) || !selection) return S_OK;
    CComPtr<IDispatch> range;
    if (FAILED(selection->createRange(&range)) || !range) return S_OK;
    CComQIPtr<IHTMLTxtRange> textRange(range);
    if (!textRange) return S_OK;
    return textRange->get_text(text);
}
