#include "addon/content/html_window.h"

#include "addon/content/dom_reads.h"
#include "addon/content/popup_blocker.h"
#include "addon/content/url_footer.h"
#include "addon/edit_html.h"

CComPtr<IDispatch> OpenNewWindow(IHTMLDocument2* source, const std::u16string& url) {
    CComBSTR address(url);
    CComVariant name(u"_blank");
    CComVariant features(kNewWindowFeatures);
    CComVariant replace(true);
    CComPtr<IDispatch> window;
    if (!source || FAILED(source->open(address, name, features, replace, &window))) return nullptr;
    return window;
}

CComPtr<IHTMLDocument2> DocumentOfWindow(IDispatch* window) {
    CComQIPtr<IHTMLWindow2> opened(window);
    CComPtr<IHTMLDocument2> document;
    if (!opened || FAILED(opened->get_document(&document))) return nullptr;
    return document;
}

HRESULT WriteAndClose(IHTMLDocument2* document, const std::u16string& html) {
    SAFEARRAY* strings = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    if (!strings) return E_OUTOFMEMORY;
    VARIANT* items = nullptr;
    HRESULT hr = SafeArrayAccessData(strings, reinterpret_cast<void**>(&items));
    if (SUCCEEDED(hr)) {
        items[0].vt = VT_BSTR;
        items[0].bstrVal = SysAllocStringLen(html.data(), static_cast<UINT>(html.size()));
        SafeArrayUnaccessData(strings);
        hr = items[0].bstrVal ? document->write(strings) : E_OUTOFMEMORY;
    }
    SafeArrayDestroy(strings);
    return FAILED(hr) ? hr : document->close();
}

namespace {

// The new page reads its markup in the source page's character set.
void CopyCharset(IHTMLDocument2* source, IHTMLDocument2* target) {
    CComBSTR charset;
    if (SUCCEEDED(source->get_charset(&charset)) && charset.Length() > 0)
        target->put_charset(charset);
}

void PrintDocument(IHTMLDocument2* document) {
    if (CComQIPtr<IOleCommandTarget> commands{document})
        commands->Exec(nullptr, OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, nullptr, nullptr);
}

}  // namespace

void ShowHtmlInNewWindow(CEditHtml& addOn, IHTMLDocument2* source, std::u16string html,
                         bool print) {
    std::u16string url;
    if (!ReadPageUrl(source, url)) return;
    if (addOn.m_bAppendUrl) html += ViewUrlFooter(url);
    PopupBlockerSwitch blocker;
    const CComPtr<IHTMLDocument2> page = DocumentOfWindow(OpenNewWindow(source, u"about:blank"));
    if (!page) return;
    CopyCharset(source, page);
    if (FAILED(WriteAndClose(page, html))) return;
    // The user's own setting is back before the print dialog shows.
    blocker.Restore();
    if (print) PrintDocument(page);
}
