#include "platform/browser/client_site.h"

#include "platform/browser/browser_commands.h"
#include "platform/browser/call_out.h"
#include "platform/browser/document_services.h"
#include "platform/browser/web_browser_object.h"

namespace browser {

STDMETHODIMP ClientSite::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IDocHostUIHandler)
        *out = static_cast<IDocHostUIHandler*>(this);
    else if (iid == IID_IOleCommandTarget)
        *out = static_cast<IOleCommandTarget*>(this);
    else if (iid == IID_IOleWindow)
        *out = static_cast<IOleWindow*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ClientSite::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) ClientSite::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

// IOleClientSite

STDMETHODIMP ClientSite::SaveObject() {
    return E_NOTIMPL;
}

STDMETHODIMP ClientSite::GetContainer(IOleContainer** container) {
    if (!container) return E_POINTER;
    *container = nullptr;
    DocumentServices* services = m_browser ? m_browser->Services() : nullptr;
    if (!services) return E_NOINTERFACE;
    return services->QueryOwnInterface(IID_IOleContainer, reinterpret_cast<void**>(container));
}

STDMETHODIMP ClientSite::ShowObject() {
    return S_OK;
}

// IDocHostUIHandler: the browser's own behaviour.

STDMETHODIMP ClientSite::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) {
    return S_FALSE;  // the browser shows its own menu
}

STDMETHODIMP ClientSite::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    info->dwFlags = 0;
    info->dwDoubleClick = 0;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

STDMETHODIMP ClientSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                IOleInPlaceFrame*, IOleInPlaceUIWindow*) {
    return S_OK;
}

STDMETHODIMP ClientSite::HideUI() {
    return S_OK;
}

STDMETHODIMP ClientSite::UpdateUI() {
    return S_OK;
}

STDMETHODIMP ClientSite::EnableModeless(BOOL) {
    return S_OK;
}

STDMETHODIMP ClientSite::OnDocWindowActivate(BOOL) {
    return S_OK;
}

STDMETHODIMP ClientSite::OnFrameWindowActivate(BOOL) {
    return S_OK;
}

STDMETHODIMP ClientSite::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) {
    return S_OK;
}

STDMETHODIMP ClientSite::TranslateAccelerator(LPMSG, const GUID*, DWORD) {
    return S_FALSE;
}

STDMETHODIMP ClientSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    if (key) *key = nullptr;
    return S_FALSE;
}

STDMETHODIMP ClientSite::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
    if (replacement) *replacement = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ClientSite::GetExternal(IDispatch** external) {
    if (external) *external = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ClientSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* urlOut) {
    if (urlOut) *urlOut = nullptr;
    return S_FALSE;
}

STDMETHODIMP ClientSite::FilterDataObject(IDataObject*, IDataObject** replacement) {
    if (replacement) *replacement = nullptr;
    return S_FALSE;
}

// IOleCommandTarget

STDMETHODIMP ClientSite::QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                                     OLECMDTEXT*) {
    if (!commands) return E_POINTER;
    if (group && *group != CGID_ShellDocView) return OLECMDERR_E_UNKNOWNGROUP;
    for (ULONG i = 0; i < count; ++i) {
        const ULONG id = commands[i].cmdID;
        const bool known = group ? id == SHDVID_GETMIMECSETMENU || id == SHDVID_ADDMENUEXTENSIONS
                                 : id == OLECMDID_PRINT;
        commands[i].cmdf = known && m_browser ? OLECMDF_SUPPORTED | OLECMDF_ENABLED : 0;
    }
    return S_OK;
}

STDMETHODIMP ClientSite::Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                              VARIANT* out) {
    if (!m_browser) return E_FAIL;
    CComPtr<ClientSite> keep(this);
    CallOut callOut(m_browser, m_browser->Document());
    if (!group) {
        if (command == OLECMDID_PRINT) return m_browser->Print(options);
        return OLECMDERR_E_NOTSUPPORTED;
    }
    if (*group == CGID_ShellDocView && m_browser->Document())
        return ExecShellDocViewCommand(*m_browser, *m_browser->Document(), command, in, out);
    return OLECMDERR_E_UNKNOWNGROUP;
}

// IOleWindow

STDMETHODIMP ClientSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_browser ? m_browser->PageWindow() : nullptr;
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP ClientSite::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

}  // namespace browser
