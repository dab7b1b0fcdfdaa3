// CEditHtml: the add-on object of one browser window. The browser creates
// it, hands it the window's browser through SetSite and calls it back for
// the window's events and, once a top-level page has completed, for the
// page's context menus. Every command of the add-on runs as an operation of
// this object on the window's thread.
//
// The members are declared in the order the rest of the add-on relies on;
// the reference-holding ones release what they hold when replaced or
// destroyed.
#pragma once

#include <string>

#include "addon/farrow_interfaces.h"
#include "platform/browser/doc_host_ui.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/mshtml_form.h"
#include "platform/browser/web_browser.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"
#include "platform/com/atl_event.h"
#include "platform/com/atl_site.h"
#include "platform/sapi/sapi.h"
#include "store/ado_db.h"
#include "store/crypt_str.h"

class CDocEventSink;

class CEditHtml
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CEditHtml, &CLSID_EditHtml>,
      public IDispatchImpl<IEditHtml, &IID_IEditHtml, &LIBID_FarrowLib, 1, 0>,
      public IObjectWithSiteImpl<CEditHtml>,
      public IDocHostUIHandler,
      public IOleCommandTarget,
      public IDispEventImpl<0, CEditHtml, &DIID_DWebBrowserEvents2, &LIBID_SHDocVw, 1, 1> {
public:
    using BrowserEvents =
        IDispEventImpl<0, CEditHtml, &DIID_DWebBrowserEvents2, &LIBID_SHDocVw, 1, 1>;

    CEditHtml();
    ~CEditHtml();

    DECLARE_REGISTRY_RESOURCEID(212)
    DECLARE_NOT_AGGREGATABLE(CEditHtml)
    DECLARE_PROTECT_FINAL_CONSTRUCT()

    BEGIN_COM_MAP(CEditHtml)
    COM_INTERFACE_ENTRY(IEditHtml)
    COM_INTERFACE_ENTRY2(IDispatch, IEditHtml)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IDocHostUIHandler)
    COM_INTERFACE_ENTRY(IOleCommandTarget)
    END_COM_MAP()

    BEGIN_SINK_MAP(CEditHtml)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_DOCUMENTCOMPLETE, DocumentComplete)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_ONQUIT, OnQuit)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_NAVIGATECOMPLETE2, NavigateComplete2)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_BEFORENAVIGATE2, BeforeNavigate2)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_NEWWINDOW2, NewWindow2)
    END_SINK_MAP()

    HRESULT FinalConstruct();

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** ppvSite) override;

    // IDocHostUIHandler: the context menu is the add-on's own; the rest
    // passes through to the browser's own handler.
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                 IDispatch* element) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* activeObject,
                        IOleCommandTarget* commandTarget, IOleInPlaceFrame* frame,
                        IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                              BOOL frameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) override;
    STDMETHODIMP GetExternal(IDispatch** external) override;
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut) override;
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override;

    // IOleCommandTarget: passes through to the browser's command target.
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                             OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                      VARIANT* out) override;

    // DWebBrowserEvents2, in the sink map's slot order.
    virtual HRESULT DocumentComplete(IDispatch* browser, VARIANT* url);
    virtual HRESULT OnQuit();
    virtual HRESULT NavigateComplete2(IDispatch* browser, VARIANT* url);
    virtual HRESULT BeforeNavigate2(IDispatch* browser, VARIANT* url, VARIANT* flags,
                                    VARIANT* targetFrameName, VARIANT* postData, VARIANT* headers,
                                    VARIANT_BOOL* cancel);
    virtual HRESULT NewWindow2(IDispatch** newBrowser, VARIANT_BOOL* cancel);

    // Shared operations.
    bool EnsureDbOpen();
    void LoadSaveSettings(bool load);
    bool DispatchCommand(UINT id, IDispatch* element);
    void ShowOptions();
    void ShowAbout();

    // Page state for the context menus.
    bool HasSelection(IDispatch* element);
    bool PageHasPasswordInput(IDispatch* element);
    void OpenInNewTab(IDispatch* element);
    void SpeakControl();
    void StartLoginTool();

    // Login automation (addon/login/).
    void SaveLoginData(IDispatch* element);
    void FillLoginData(IDispatch* element);
    void DeleteLoginData(IDispatch* element);
    void GoRegisteredSites();
    void AutoLogin(IHTMLDocument2* document);
    void AskSaveLogin(IHTMLElement* element);
    bool CheckLoginForm(IDispatch* element);

    // Page content tools (addon/content/).
    void ProcessItemText(IDispatch* element, const char16_t* tagName, int mode);
    void SaveSelectionText(IDispatch* element);
    void ShowItemView(IDispatch* element, bool print);
    void ShowTableItems(IDispatch* element);
    void ShowWithoutStyle(IDispatch* element);
    void ProcessRelatedLinks(IDispatch* element, int mode);
    void OnLinkPagesComplete(IDispatch* document);
    void SaveFormData(IDispatch* element);
    void FillFormData(IDispatch* element);
    void SpeakText(const std::u16string& text);
    void SpeakPageText(IDispatch* element);
    void ShowSpeechSettings();
    void SearchSelection();

    // The window's settings as a change from this window writes them: the
    // stored values first, so what another window saved meanwhile stays.
    template <class Change>
    void ChangeSettings(Change change) {
        LoadSaveSettings(true);
        change();
        LoadSaveSettings(false);
    }
    void ClearLoginFormState();

    HWND m_hDocWnd = nullptr;
    CComPtr<IWebBrowser2> m_spWebBrowser;
    CComPtr<IDispatch> m_spSiteDisp;
    IDispatch* m_pNavigatedDisp = nullptr;
    CComPtr<IDocHostUIHandler> m_spDefUIHandler;
    CComPtr<IOleCommandTarget> m_spDefCmdTarget;
    CComPtr<CComObject<CDocEventSink>> m_spSink;
    DWORD m_bShowSavedText = 0;
    DWORD m_bAppendUrl = 0;
    DWORD m_bOpenNewWindow = 0;
    DWORD m_bDblClickClose = 0;
    DWORD m_bOpenPdfNewWindow = 0;
    std::u16string m_strDefaultSaveFolder;
    DWORD m_bAppendFile = 0;
    std::u16string m_strLastFileName;
    DWORD m_bRemoveImproperCrLf = 0;
    CComBSTR m_bstrSelection;
    CComPtr<ISpVoice> m_spVoice;
    LONG m_nIEVersion = 0;
    DWORD m_nMaxLinks = 0;
    CAdoDb m_db;
    DWORD m_bAskSaveLogin = 1;
    CComPtr<IHTMLInputElement> m_spPasswordInput;
    BYTE m_bPasswordHasValue = 0;
    BYTE m_bLoginSaved = 0;
    BYTE m_bPromptDeclined = 0;
    std::u16string m_strAutoLoginSite;
    CCryptStr m_crypt;

private:
    HMENU PrepareAddonMenu(DWORD contextId, IDispatch* element);
    void ApplyLoginItemRules(HMENU menu, bool loginForm);
    void ApplySpeechItemRules(HMENU menu);
    void DropSink();
    bool IsTopLevelBrowser(IDispatch* browser);
    void HookDocument(IDispatch* document);
};

// The browser's major version as its "Version" value gives it: the number
// before the first full stop, 0 when there is none or it is not a number.
LONG BrowserMajorVersion(const std::u16string& version);

// Holds the add-on object for as long as a handler or command runs, so a
// window closed from inside it never frees the object under it.
class CEditHtmlHold {
public:
    explicit CEditHtmlHold(CEditHtml* object)
        : m_unknown(object ? object->GetUnknown() : nullptr) {}

private:
    CComPtr<IUnknown> m_unknown;
};
