#include "addon/edit_html.h"

#include <cwctype>

#include "addon/doc_event_sink.h"
#include "addon/farrow_module.h"
#include "addon/registry_text.h"
#include "platform/browser/browser_settings.h"
#include "platform/com/class_factory.h"

CEditHtml::CEditHtml() = default;

CEditHtml::~CEditHtml() {
    DropSink();
}

LONG BrowserMajorVersion(const std::u16string& version) {
    const std::size_t stop = version.find(u'.');
    if (stop == std::u16string::npos) return 0;
    LONG major = 0;
    for (std::size_t i = 0; i < stop && version[i] >= u'0' && version[i] <= u'9'; ++i) {
        if (major > 100000000) return 0;
        major = major * 10 + (version[i] - u'0');
    }
    return major;
}

HRESULT CEditHtml::FinalConstruct() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, browser::kBrowserKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return S_OK;
    std::u16string version;
    if (ReadRegistryText(key, u"Version", version)) m_nIEVersion = BrowserMajorVersion(version);
    RegCloseKey(key);
    return S_OK;
}

STDMETHODIMP CEditHtml::SetSite(IUnknown* site) {
    CEditHtmlHold hold(this);
    // A browser that lets go without saying goodbye first: cut its events
    // while it is still known.
    if (!site && m_dwEventCookie != kEventCookieNotConnected && m_spWebBrowser) {
        BrowserEvents::DispEventUnadvise(m_spWebBrowser);
        DropSink();
    }
    IObjectWithSiteImpl<CEditHtml>::SetSite(site);
    m_spWebBrowser.Release();
    if (site) site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_spWebBrowser));
    if (!m_spWebBrowser) return E_INVALIDARG;
    m_spSiteDisp.Release();
    site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_spSiteDisp));

    CComObject<CDocEventSink>* sink = nullptr;
    if (SUCCEEDED(CComObject<CDocEventSink>::CreateInstance(&sink))) {
        sink->m_pOwner = this;
        DropSink();
        m_spSink = sink;
    }
    if (m_dwEventCookie != kEventCookieNotConnected) return E_FAIL;
    const HRESULT hr = BrowserEvents::DispEventAdvise(site);
    if (FAILED(hr)) return hr;

    LoadSaveSettings(true);
    CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                     reinterpret_cast<void**>(&m_spVoice));
    return S_OK;
}

STDMETHODIMP CEditHtml::GetSite(REFIID riid, void** ppvSite) {
    return IObjectWithSiteImpl<CEditHtml>::GetSite(riid, ppvSite);
}

bool CEditHtml::EnsureDbOpen() {
    long state = adStateClosed;
    if (m_db.m_pConnection && SUCCEEDED(m_db.m_pConnection->get_State(&state)) &&
        (state & adStateOpen))
        return true;
    return m_db.OpenDb(_AtlModule.m_strDbPath);
}

void CEditHtml::DropSink() {
    if (m_spSink) m_spSink->m_pOwner = nullptr;
    m_spSink.Release();
}

void CEditHtml::ClearLoginFormState() {
    m_spPasswordInput.Release();
    m_bPasswordHasValue = 0;
    m_bLoginSaved = 0;
    m_bPromptDeclined = 0;
}
