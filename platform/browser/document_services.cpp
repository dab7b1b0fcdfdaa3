#include "platform/browser/document_services.h"

#include <new>

#include "platform/browser/browser_commands.h"
#include "platform/browser/call_out.h"
#include "platform/browser/client_site.h"
#include "platform/browser/page_objects.h"
#include "platform/browser/web_browser_object.h"

namespace browser {

DocumentServices::DocumentServices(HtmlDocument& document, WebBrowser& browser)
    : m_document(&document), m_browser(&browser) {}

DocumentServices::~DocumentServices() = default;

HRESULT DocumentServices::QueryOwnInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_ICustomDoc)
        *out = static_cast<ICustomDoc*>(this);
    else if (iid == IID_IOleObject)
        *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IOleContainer)
        *out = static_cast<IOleContainer*>(this);
    else if (iid == IID_IOleCommandTarget)
        *out = static_cast<IOleCommandTarget*>(this);
    else if (iid == IID_IOleWindow)
        *out = static_cast<IOleWindow*>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP DocumentServices::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    // One identity with the document: IUnknown and its own interfaces come from it.
    if (iid != IID_IUnknown && SUCCEEDED(QueryOwnInterface(iid, out))) return S_OK;
    return m_document->QueryInterface(iid, out);
}

STDMETHODIMP_(ULONG) DocumentServices::AddRef() {
    return ++m_refs;
}

STDMETHODIMP_(ULONG) DocumentServices::Release() {
    const ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP DocumentServices::SetUIHandler(IDocHostUIHandler* handler) {
    if (!m_browser) return E_FAIL;
    m_uiHandler = handler;
    return S_OK;
}

STDMETHODIMP DocumentServices::SetClientSite(IOleClientSite* site) {
    if (!m_browser) return E_FAIL;
    m_clientSite = site;
    return S_OK;
}

STDMETHODIMP DocumentServices::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = nullptr;
    if (m_clientSite) return ReturnInterface<IOleClientSite>(m_clientSite, site);
    if (!m_browser) return E_FAIL;
    ClientSite* own = m_browser->Site();
    if (!own) return E_OUTOFMEMORY;
    return ReturnInterface<IOleClientSite>(own, site);
}

STDMETHODIMP DocumentServices::EnumObjects(DWORD flags, IEnumUnknown** objects) {
    if (!objects) return E_POINTER;
    *objects = nullptr;
    std::vector<CComPtr<IUnknown>> items;
    if (m_browser && (flags & OLECONTF_EMBEDDINGS))
        for (WebBrowser* frame : m_browser->FrameBrowsers())
            items.emplace_back(static_cast<IWebBrowser2*>(frame));
    auto* enumerator = new (std::nothrow) UnknownEnumerator(std::move(items));
    if (!enumerator) return E_OUTOFMEMORY;
    enumerator->AddRef();
    *objects = enumerator;
    return S_OK;
}

STDMETHODIMP DocumentServices::LockContainer(BOOL) {
    return S_OK;
}

STDMETHODIMP DocumentServices::QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                                           OLECMDTEXT*) {
    if (!commands) return E_POINTER;
    if (group && *group != CGID_MSHTML) return OLECMDERR_E_UNKNOWNGROUP;
    for (ULONG i = 0; i < count; ++i) {
        const bool known =
            group ? IsBrowserCommand(commands[i].cmdID) : commands[i].cmdID == OLECMDID_PRINT;
        commands[i].cmdf = known && m_browser ? OLECMDF_SUPPORTED | OLECMDF_ENABLED : 0;
    }
    return S_OK;
}

STDMETHODIMP DocumentServices::Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                                    VARIANT* out) {
    if (!m_browser) return E_FAIL;
    CComPtr<DocumentServices> keep(this);
    CallOut callOut(m_browser, m_document);
    if (!group) {
        if (command == OLECMDID_PRINT) return m_browser->Print(options);
        return OLECMDERR_E_NOTSUPPORTED;
    }
    if (*group == CGID_MSHTML) return ExecBrowserCommand(*this, command);
    if (*group == CGID_ShellDocView)
        return ExecShellDocViewCommand(*m_browser, *m_document, command, in, out);
    return OLECMDERR_E_UNKNOWNGROUP;
}

STDMETHODIMP DocumentServices::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = m_browser ? m_browser->PageWindow() : nullptr;
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP DocumentServices::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP DocumentServices::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != DIID_HTMLDocumentEvents2) return CONNECT_E_NOCONNECTION;
    *point = &m_events;
    m_events.AddRef();
    return S_OK;
}

void DocumentServices::FireEvent(DISPID id, IDispatch* eventObject) {
    if (!m_browser) return;
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_DISPATCH;
    argument.pdispVal = eventObject;
    DISPPARAMS params{&argument, nullptr, 1, 0};
    CComPtr<DocumentServices> keep(this);
    CallOut callOut(m_browser, m_document, eventObject);
    m_events.Fire(id, &params);
}

void DocumentServices::Detach() {
    m_browser = nullptr;
    m_contextElement = nullptr;
    m_uiHandler.Release();
    m_clientSite.Release();
    // Cookies are handed out from 1 upwards, so this meets every sink.
    for (DWORD cookie = 1; m_events.SinkCount() > 0 && cookie != 0; ++cookie)
        m_events.Unadvise(cookie);
}

}  // namespace browser
