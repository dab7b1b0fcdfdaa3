#include "tests/platform/browser/browser_test_support.h"

#include <cstdlib>
#include <sstream>

#include "platform/browser/browser_settings.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/web_browser.h"
#include "platform/com/atl_site.h"
#include "platform/com/class_factory.h"
#include "platform/com/connection_point.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"

namespace browser_test {

namespace {

constexpr CLSID kRecordingAddOn = MakeGuid("5E0C7A21-3B44-4D8E-9A61-0F2B7C9D1E41");

std::string LastSegment(const VARIANT* url) {
    while (url && url->vt == (VT_BYREF | VT_VARIANT)) url = url->pvarVal;
    if (!url || url->vt != VT_BSTR || !url->bstrVal) return "?";
    const std::string text = Utf16ToUtf8(url->bstrVal);
    return text.substr(text.rfind('/') + 1);
}

HandlerAction& CurrentAction() {
    static HandlerAction action;
    return action;
}

std::string TagOfEvent(IDispatch* event) {
    CComQIPtr<IHTMLEventObj> object(event);
    CComPtr<IHTMLElement> source;
    if (!object || FAILED(object->get_srcElement(&source)) || !source) return "?";
    CComBSTR tag;
    source->get_tagName(&tag);
    VARIANT_BOOL alt = VARIANT_FALSE;
    object->get_altKey(&alt);
    return Utf16ToUtf8(tag.m_str ? tag.m_str : u"") + (alt ? " alt" : "");
}

// Writes down what it receives; advises the browser at SetSite and every
// document at its DocumentComplete. A page named "closer..." closes its
// window when it completes.
class RecordingAddOn final : public IObjectWithSite, public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IObjectWithSite)
            *out = static_cast<IObjectWithSite*>(this);
        else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2 ||
                 iid == DIID_HTMLDocumentEvents2)
            *out = static_cast<IDispatch*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP SetSite(IUnknown* site) override {
        m_browser.Release();
        m_siteDispatch.Release();
        if (!site) {
            EventLog().push_back("site null");
            return S_OK;
        }
        EventLog().push_back("site");
        site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser));
        site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_siteDispatch));
        return AtlAdvise(site, static_cast<IObjectWithSite*>(this), DIID_DWebBrowserEvents2,
                         &m_cookie);
    }
    STDMETHODIMP GetSite(REFIID iid, void** out) override {
        return m_browser ? m_browser->QueryInterface(iid, out) : E_FAIL;
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override {
        VARIANT* args = params->rgvarg;
        const UINT count = params->cArgs;
        switch (id) {
            case DISPID_BEFORENAVIGATE2: {
                EventLog().push_back("BN2 " + LastSegment(&args[5]) + Where(args[6].pdispVal));
                if (Utf8ToUtf16(LastSegment(&args[5])).find(kCancelledWord) != std::u16string::npos)
                    *args[0].pboolVal = VARIANT_TRUE;
                break;
            }
            case DISPID_NAVIGATECOMPLETE2:
                EventLog().push_back("NC2 " + LastSegment(&args[0]) + Where(args[1].pdispVal));
                break;
            case DISPID_DOCUMENTCOMPLETE:
                OnDocumentComplete(args[1].pdispVal, &args[0]);
                break;
            case DISPID_NEWWINDOW2:
                EventLog().push_back("NewWindow2");
                break;
            case DISPID_ONQUIT:
                EventLog().push_back("OnQuit");
                AtlUnadvise(m_browser, DIID_DWebBrowserEvents2, m_cookie);
                break;
            case DISPID_HTMLDOCUMENTEVENTS2_ONCLICK:
            case DISPID_HTMLDOCUMENTEVENTS2_ONDBLCLICK:
            case DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEMOVE: {
                const char* name = id == DISPID_HTMLDOCUMENTEVENTS2_ONCLICK      ? "click "
                                   : id == DISPID_HTMLDOCUMENTEVENTS2_ONDBLCLICK ? "dblclick "
                                                                                 : "mousemove ";
                if (count == 1) EventLog().push_back(name + TagOfEvent(args[0].pdispVal));
                break;
            }
            default:
                return S_OK;
        }
        if (CurrentAction() && !EventLog().empty()) {
            const HandlerAction action = CurrentAction();  // it may replace itself
            action(EventLog().back(), m_browser);
        }
        return S_OK;
    }

private:
    ~RecordingAddOn() = default;

    std::string Where(IDispatch* browser) const {
        return browser == m_siteDispatch.p ? " top" : " frame";
    }

    void OnDocumentComplete(IDispatch* browser, VARIANT* url) {
        // The browser argument shows the document that completed.
        std::string shown = "?";
        CComQIPtr<IWebBrowser2> frame(browser);
        CComPtr<IDispatch> document;
        if (frame && SUCCEEDED(frame->get_Document(&document)) && document) {
            CComQIPtr<IHTMLDocument2> html(document);
            CComBSTR address;
            if (html && SUCCEEDED(html->get_URL(&address))) {
                const std::string text = Utf16ToUtf8(address.m_str ? address.m_str : u"");
                shown = text.substr(text.rfind('/') + 1);
            }
            DWORD cookie = 0;
            AtlAdvise(document, static_cast<IObjectWithSite*>(this), DIID_HTMLDocumentEvents2,
                      &cookie);
        }
        const std::string name = LastSegment(url);
        EventLog().push_back("DC " + name + Where(browser) +
                             (shown == name ? "" : " shows " + shown));
        if (name.find("closer") != std::string::npos && m_browser)
            m_browser->ExecWB(OLECMDID_CLOSE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
    }

    ULONG m_refs = 0;
    CComPtr<IWebBrowser2> m_browser;
    CComPtr<IDispatch> m_siteDispatch;
    DWORD m_cookie = 0;
};

HRESULT CreateRecordingAddOn(IUnknown* outer, REFIID iid, void** out) {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* addOn = new RecordingAddOn();
    addOn->AddRef();
    const HRESULT hr = addOn->QueryInterface(iid, out);
    addOn->Release();
    return hr;
}

KESTRO_BUILTIN_CLASS(RecordingAddOn, kRecordingAddOn, CreateRecordingAddOn);

}  // namespace

void SetHandlerAction(HandlerAction action) {
    CurrentAction() = std::move(action);
}

std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}

void BrowserTest::SetUp() {
    CoInitialize(nullptr);
    EventLog().clear();
    SetHandlerAction(nullptr);
    m_journal = m_pages.File("journal.txt");
    setenv("KESTRO_JOURNAL", m_journal.c_str(), 1);
    auto answers = std::make_unique<QueuedAnswers>();
    m_answers = answers.get();
    auto backend =
        std::make_unique<ScriptedBackend>(std::move(answers), ScriptedBackend::OnFailure::Record);
    m_backend = backend.get();
    InstallUiBackend(std::move(backend));
    Session().SetPrintFolder(Utf8ToUtf16(m_pages.File("prints")));
}

void BrowserTest::TearDown() {
    SetHandlerAction(nullptr);
    Session().CloseAll();
    EXPECT_EQ("", m_backend->Failure());
    EXPECT_EQ("", m_backend->Unused());
    InstallUiBackend(nullptr);
    unsetenv("KESTRO_JOURNAL");
    CoUninitialize();
}

void BrowserTest::LoadRecordingAddOn() {
    LoadAddOn(u"{5E0C7A21-3B44-4D8E-9A61-0F2B7C9D1E41}");
}

void BrowserTest::LoadAddOn(std::u16string_view classKey) {
    HKEY key = nullptr;
    const std::u16string path =
        std::u16string(browser::kAddOnsKey) + u"\\" + std::u16string(classKey);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    RegCloseKey(key);
}

std::u16string BrowserTest::AddPage(const std::string& name, const std::string& html) {
    testing_support::WriteFile(m_pages.File(name), html);
    return PageUrl(name);
}

std::u16string BrowserTest::PageUrl(const std::string& name) const {
    return u"file://" + Utf8ToUtf16(m_pages.File(name));
}

void BrowserTest::Answer(std::u16string_view line) {
    std::string error;
    ASSERT_TRUE(m_answers->AddLine(line, &error)) << error;
}

std::vector<std::string> BrowserTest::Journal() const {
    std::vector<std::string> lines;
    std::istringstream in(testing_support::ReadFile(m_journal));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> BrowserTest::JournalOf(const std::string& kind) const {
    std::vector<std::string> texts;
    for (const std::string& line : Journal())
        if (line.rfind(kind + "\t", 0) == 0) texts.push_back(line.substr(kind.size() + 1));
    return texts;
}

browser::BrowserWindow& BrowserTest::Open(const std::u16string& url) {
    browser::BrowserWindow* window = Session().OpenWindow(url);
    EXPECT_NE(nullptr, window);
    return *window;
}

browser::PageElement BrowserTest::Element(browser::BrowserWindow& window,
                                          std::u16string_view selector) {
    browser::PageElement found;
    const std::string error = window.FindElement(selector, found);
    EXPECT_EQ("", error);
    return found;
}

HRESULT WriteDocument(IHTMLDocument2* document, const std::u16string& html) {
    SAFEARRAY* strings = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    VARIANT* items = nullptr;
    SafeArrayAccessData(strings, reinterpret_cast<void**>(&items));
    items[0].vt = VT_BSTR;
    items[0].bstrVal = SysAllocString(html.c_str());
    SafeArrayUnaccessData(strings);
    const HRESULT hr = document->write(strings);
    SafeArrayDestroy(strings);
    return hr;
}

void SetPopupBlocker(DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, browser::kNewWindowsKey, 0, nullptr,
                                             0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExW(key, u"PopupMgr", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof(value));
    RegCloseKey(key);
}

}  // namespace browser_test
