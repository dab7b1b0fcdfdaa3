// What a window adds to the document it shows: the UI handler hook
// (ICustomDoc), the client site (IOleObject), the frames' browsers
// (IOleContainer), browser commands (IOleCommandTarget), the page window
// (IOleWindow) and the document events (HTMLDocumentEvents2 connection
// point). The document answers these interfaces through this object, and
// this object answers every other interface through the document.
//
// When the window navigates away or closes, Detach drops the browser, the
// UI handler and the event sinks, so the page's objects that callers still
// hold keep nothing else alive.
#pragma once

#include <atomic>

#include "platform/browser/doc_host_ui.h"
#include "platform/browser/html_document.h"
#include "platform/browser/web_browser.h"
#include "platform/com/connection_point.h"

namespace browser {

class WebBrowser;

class DocumentServices final : public ICustomDoc,
                               public IOleObject,
                               public IOleContainer,
                               public IOleCommandTarget,
                               public IOleWindow,
                               public IConnectionPointContainer {
public:
    DocumentServices(HtmlDocument& document, WebBrowser& browser);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // ICustomDoc
    STDMETHODIMP SetUIHandler(IDocHostUIHandler* handler) override;
    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    // IOleContainer
    STDMETHODIMP EnumObjects(DWORD flags, IEnumUnknown** objects) override;
    STDMETHODIMP LockContainer(BOOL lock) override;
    // IOleCommandTarget: OLECMDID_PRINT (no group), the browser's menu
    // commands (CGID_MSHTML) and the shell's menu commands (CGID_ShellDocView).
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                             OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                      VARIANT* out) override;
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
    // IConnectionPointContainer
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // The interfaces of this object alone (the document asks for these).
    HRESULT QueryOwnInterface(REFIID iid, void** out);
    HtmlDocument& Document() { return *m_document; }
    WebBrowser* Browser() const { return m_browser; }
    IDocHostUIHandler* UIHandler() const { return m_uiHandler; }
    // Fires an HTMLDocumentEvents2 event with its event object.
    void FireEvent(DISPID id, IDispatch* eventObject);
    // The element a context menu was opened for: the target of its commands.
    void SetContextElement(Node* element) { m_contextElement = element; }
    Node* ContextElement() const { return m_contextElement; }
    void Detach();

private:
    ~DocumentServices();

    std::atomic<ULONG> m_refs{0};
    CComPtr<HtmlDocument> m_document;
    WebBrowser* m_browser;  // not counted; cleared by Detach
    CComPtr<IDocHostUIHandler> m_uiHandler;
    CComPtr<IOleClientSite> m_clientSite;  // one set with SetClientSite
    ConnectionPoint m_events{this, DIID_HTMLDocumentEvents2};
    Node* m_contextElement = nullptr;
};

}  // namespace browser
