// The browser events of the add-on object: following navigations, hooking
// each completed top-level page, and opening clicked links elsewhere.
#include "addon/doc_event_sink.h"
#include "addon/edit_html.h"
#include "platform/ui/shell_execute.h"
#include "platform/win/text.h"

namespace {

std::u16string UrlText(const VARIANT* url) {
    while (url && url->vt == (VT_BYREF | VT_VARIANT)) url = url->pvarVal;
    if (!url) return {};
    if (url->vt == VT_BSTR && url->bstrVal)
        return std::u16string(url->bstrVal, SysStringLen(url->bstrVal));
    if (url->vt == (VT_BYREF | VT_BSTR) && url->pbstrVal && *url->pbstrVal)
        return std::u16string(*url->pbstrVal, SysStringLen(*url->pbstrVal));
    return {};
}

bool IsWebAddress(const std::u16string& url) {
    const std::u16string lower = WideLower(url);
    return lower.rfind(u"http:", 0) == 0 || lower.rfind(u"https:", 0) == 0;
}

HRESULT NavigateWithFlags(IWebBrowser2* browser, const std::u16string& url, long flags) {
    CComBSTR address(url.c_str());
    CComVariant how(static_cast<int>(flags));
    CComVariant none1, none2, none3;
    return browser->Navigate(address, &how, &none1, &none2, &none3);
}

}  // namespace

HRESULT CEditHtml::NavigateComplete2(IDispatch* browser, VARIANT*) {
    if (!m_pNavigatedDisp) m_pNavigatedDisp = browser;
    if (m_spSink) m_spSink->m_bLinkClicked = m_spSink->m_bAltClick = 0;
    return S_OK;
}

HRESULT CEditHtml::DocumentComplete(IDispatch* browser, VARIANT*) {
    CEditHtmlHold hold(this);
    if (browser && m_spSink) {
        CComQIPtr<IUnknown> unknown(browser);
        CComQIPtr<IWebBrowser2> frameBrowser(unknown);
        CComPtr<IDispatch> document;
        if (frameBrowser && SUCCEEDED(frameBrowser->get_Document(&document)))
            if (CComQIPtr<IHTMLDocument2> page{document}) {
                DWORD cookie = 0;
                AtlAdvise(page, m_spSink->GetUnknown(), DIID_HTMLDocumentEvents2, &cookie);
            }
    }
    if (!IsTopLevelBrowser(browser)) return S_OK;
    m_pNavigatedDisp = nullptr;
    CComPtr<IDispatch> document;
    if (m_spWebBrowser && SUCCEEDED(m_spWebBrowser->get_Document(&document)) && document) {
        HookDocument(document);
        OnLinkPagesComplete(document);
    }
    ClearLoginFormState();
    return S_OK;
}

// The top-level page is complete when the first browser that navigated
// since the last one is the window's own. A frame that navigated on its
// own ends that wait too, or the window would never be hooked again.
bool CEditHtml::IsTopLevelBrowser(IDispatch* browser) {
    if (!m_pNavigatedDisp || browser != m_pNavigatedDisp) return false;
    if (browser == m_spSiteDisp.p) return true;
    m_pNavigatedDisp = nullptr;
    return false;
}

void CEditHtml::HookDocument(IDispatch* document) {
    CComQIPtr<IHTMLDocument2> page(document);
    if (!page) return;
    CComQIPtr<IOleObject> object(page);
    CComPtr<IOleClientSite> clientSite;
    if (object && SUCCEEDED(object->GetClientSite(&clientSite)) && clientSite) {
        m_spDefUIHandler.Release();
        m_spDefCmdTarget.Release();
        clientSite->QueryInterface(IID_IDocHostUIHandler,
                                   reinterpret_cast<void**>(&m_spDefUIHandler));
        clientSite->QueryInterface(IID_IOleCommandTarget,
                                   reinterpret_cast<void**>(&m_spDefCmdTarget));
    }
    if (CComQIPtr<ICustomDoc> custom{page})
        custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
    AutoLogin(page);
}

HRESULT CEditHtml::BeforeNavigate2(IDispatch* browser, VARIANT* url, VARIANT*, VARIANT*, VARIANT*,
                                   VARIANT*, VARIANT_BOOL* cancel) {
    CEditHtmlHold hold(this);
    CComPtr<CComObject<CDocEventSink>> sink = m_spSink;
    const bool linkClicked = sink && sink->m_bLinkClicked;
    // Cleared on every path: a click whose navigation stops early must not
    // count for a later one.
    if (sink) sink->m_bLinkClicked = 0;
    if (linkClicked && sink->m_bAltClick)
        ChangeSettings([this] { m_bOpenNewWindow = m_bOpenNewWindow ? 0 : 1; });

    const std::u16string address = UrlText(url);
    if (!m_bOpenNewWindow) {
        const std::size_t pdf = WideUpper(address).find(u".PDF");
        if (!m_bOpenPdfNewWindow || pdf == std::u16string::npos || pdf == 0) return S_OK;
    }
    if (!linkClicked || !m_spWebBrowser || !m_spWebBrowser.IsEqualObject(browser)) return S_OK;

    if (m_nIEVersion < 7) {
        // The shell would run whatever a file: link names; only web
        // addresses go there.
        if (IsWebAddress(address))
            ShellExecuteW(nullptr, u"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        else
            NavigateWithFlags(m_spWebBrowser, address, navOpenInNewWindow);
    } else if (FAILED(NavigateWithFlags(m_spWebBrowser, address, navOpenInNewTab))) {
        NavigateWithFlags(m_spWebBrowser, address, navOpenInNewWindow);
    }
    if (cancel) *cancel = VARIANT_TRUE;
    return S_OK;
}

HRESULT CEditHtml::NewWindow2(IDispatch**, VARIANT_BOOL*) {
    return S_OK;
}

HRESULT CEditHtml::OnQuit() {
    CEditHtmlHold hold(this);
    DropSink();
    if (m_spWebBrowser) BrowserEvents::DispEventUnadvise(m_spWebBrowser);
    m_dwEventCookie = kEventCookieNotConnected;
    return S_OK;
}
