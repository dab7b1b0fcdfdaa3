// The UI handler and command target methods the add-on does not change:
// each goes to the browser's own handler or command target, taken at the
// last top-level page; before the first one, each answers a fixed result.
#include "addon/edit_html.h"

STDMETHODIMP CEditHtml::GetHostInfo(DOCHOSTUIINFO* info) {
    return m_spDefUIHandler ? m_spDefUIHandler->GetHostInfo(info) : S_OK;
}

STDMETHODIMP CEditHtml::ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                               IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                               IOleInPlaceUIWindow* document) {
    return m_spDefUIHandler
               ? m_spDefUIHandler->ShowUI(id, activeObject, commandTarget, frame, document)
               : S_FALSE;
}

STDMETHODIMP CEditHtml::HideUI() {
    return m_spDefUIHandler ? m_spDefUIHandler->HideUI() : S_OK;
}

STDMETHODIMP CEditHtml::UpdateUI() {
    return m_spDefUIHandler ? m_spDefUIHandler->UpdateUI() : S_OK;
}

STDMETHODIMP CEditHtml::EnableModeless(BOOL enable) {
    return m_spDefUIHandler ? m_spDefUIHandler->EnableModeless(enable) : S_OK;
}

STDMETHODIMP CEditHtml::OnDocWindowActivate(BOOL activate) {
    return m_spDefUIHandler ? m_spDefUIHandler->OnDocWindowActivate(activate) : S_OK;
}

STDMETHODIMP CEditHtml::OnFrameWindowActivate(BOOL activate) {
    return m_spDefUIHandler ? m_spDefUIHandler->OnFrameWindowActivate(activate) : S_OK;
}

STDMETHODIMP CEditHtml::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                                     BOOL frameWindow) {
    return m_spDefUIHandler ? m_spDefUIHandler->ResizeBorder(border, window, frameWindow) : S_OK;
}

STDMETHODIMP CEditHtml::TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) {
    return m_spDefUIHandler ? m_spDefUIHandler->TranslateAccelerator(message, group, command)
                            : E_NOTIMPL;
}

STDMETHODIMP CEditHtml::GetOptionKeyPath(LPOLESTR* key, DWORD reserved) {
    return m_spDefUIHandler ? m_spDefUIHandler->GetOptionKeyPath(key, reserved) : E_FAIL;
}

STDMETHODIMP CEditHtml::GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) {
    return m_spDefUIHandler ? m_spDefUIHandler->GetDropTarget(dropTarget, replacement) : S_OK;
}

STDMETHODIMP CEditHtml::GetExternal(IDispatch** external) {
    return m_spDefUIHandler ? m_spDefUIHandler->GetExternal(external) : S_FALSE;
}

STDMETHODIMP CEditHtml::TranslateUrl(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut) {
    return m_spDefUIHandler ? m_spDefUIHandler->TranslateUrl(translate, urlIn, urlOut) : S_FALSE;
}

STDMETHODIMP CEditHtml::FilterDataObject(IDataObject* object, IDataObject** replacement) {
    return m_spDefUIHandler ? m_spDefUIHandler->FilterDataObject(object, replacement) : S_FALSE;
}

STDMETHODIMP CEditHtml::QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                                    OLECMDTEXT* text) {
    return m_spDefCmdTarget ? m_spDefCmdTarget->QueryStatus(group, count, commands, text) : S_OK;
}

STDMETHODIMP CEditHtml::Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                             VARIANT* out) {
    return m_spDefCmdTarget ? m_spDefCmdTarget->Exec(group, command, options, in, out) : S_OK;
}
