// An add-on for the scenario scripts: it gives their pages modal UI to
// answer and work that runs after its handlers. It watches clicks in each
// window's top-level page:
//   #ask      a dialog "Scenario - Greeting": name (101), shout (102),
//             Apply (103) writes the greeting into #greeting at once, OK
//             writes it too and journals "scenario" "greeting TEXT";
//   #confirm  a Yes/No message box; #status becomes "kept" or "dropped";
//   #save     a save-file chooser; #greeting's value is written to the
//             chosen file as UTF-8 and "scenario" "saved PATH" journalled;
//   #newtab   opens #tablink's address in a new tab;
//   #popup    opens a blank window with document.open and writes a page
//             titled "Popup" into it;
//   #speak    speaks #speech's value with a voice of its own, at once;
//   #voicestate  writes that voice's running state into #voice: "done",
//             "speaking" or "paused".
// Loaded into a process, it journals "scenario" "loaded PATH beside
// FILES", FILES being those of login.dat and Quillet found beside it.
// DllRegisterServer registers it as a Browser Helper Object.
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "platform/browser/browser_settings.h"
#include "platform/browser/mshtml_document.h"
#include "platform/browser/mshtml_form.h"
#include "platform/browser/web_browser.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_event.h"
#include "platform/com/atl_module.h"
#include "platform/com/atl_site.h"
#include "platform/sapi/sapi.h"
#include "platform/ui/dialog.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resource_templates.h"
#include "platform/ui/window.h"
#include "platform/win/effects_journal.h"
#include "platform/win/module.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"

namespace {

constexpr CLSID CLSID_ScenarioAddOn = MakeGuid("7B1D3F52-6A2C-4E1B-8F3D-2C5A9E7B4D10");
constexpr char16_t kClassKey[] = u"{7B1D3F52-6A2C-4E1B-8F3D-2C5A9E7B4D10}";

constexpr int kNameEdit = 101;
constexpr int kShoutBox = 102;
constexpr int kApplyButton = 103;

constexpr DialogControl kGreetingControls[] = {
    {IDC_STATIC, ControlKind::Static, u"Name:", 8, 8, 40, 8},
    {kNameEdit, ControlKind::Edit, u"", 50, 6, 120, 14, ES_AUTOHSCROLL},
    {kShoutBox, ControlKind::CheckBox, u"Shout", 50, 26, 80, 10},
    {kApplyButton, ControlKind::PushButton, u"Apply", 8, 44, 50, 14},
    {IDOK, ControlKind::DefPushButton, u"OK", 64, 44, 50, 14},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 120, 44, 50, 14},
};
constexpr DialogTemplate kGreetingDialog =
    Dialog(u"Scenario - Greeting", 178, 64, kGreetingControls);

HMODULE g_module = nullptr;

std::u16string Text(const CComBSTR& text) {
    return text.m_str ? std::u16string(text.m_str) : std::u16string();
}

bool Exists(const std::u16string& path) {
    struct stat info {};
    return stat(Utf16ToUtf8(path).c_str(), &info) == 0;
}

// Where the add-on was loaded from, and what lies beside it.
void JournalLoaded(HMODULE module) {
    char16_t path[1024] = {};
    if (!GetModuleFileNameW(module, path, 1024)) return;
    const std::u16string library(path);
    const std::u16string folder = library.substr(0, library.rfind(u'/') + 1);
    std::u16string beside;
    for (const char16_t* name : {u"login.dat", u"Quillet"})
        if (Exists(folder + name)) beside += u" " + std::u16string(name);
    JournalEffect(u"scenario", u"loaded " + library + u" beside" + beside);
}

class CScenarioAddOn
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CScenarioAddOn, &CLSID_ScenarioAddOn>,
      public IObjectWithSiteImpl<CScenarioAddOn>,
      public IDispEventImpl<0, CScenarioAddOn, &DIID_DWebBrowserEvents2, &LIBID_SHDocVw, 1, 1>,
      public IDispEventImpl<1, CScenarioAddOn, &DIID_HTMLDocumentEvents2> {
    using BrowserEvents =
        IDispEventImpl<0, CScenarioAddOn, &DIID_DWebBrowserEvents2, &LIBID_SHDocVw, 1, 1>;
    using PageEvents = IDispEventImpl<1, CScenarioAddOn, &DIID_HTMLDocumentEvents2>;

public:
    DECLARE_NO_REGISTRY()

    BEGIN_COM_MAP(CScenarioAddOn)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    BEGIN_SINK_MAP(CScenarioAddOn)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_DOCUMENTCOMPLETE, DocumentComplete)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_ONQUIT, OnQuit)
    SINK_ENTRY_EX(1, DIID_HTMLDocumentEvents2, DISPID_HTMLDOCUMENTEVENTS2_ONCLICK, OnClick)
    END_SINK_MAP()

    STDMETHODIMP SetSite(IUnknown* site) override {
        IObjectWithSiteImpl<CScenarioAddOn>::SetSite(site);
        m_browser.Release();
        m_siteDispatch.Release();
        if (!site) return S_OK;
        site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser));
        site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_siteDispatch));
        return BrowserEvents::DispEventAdvise(site);
    }

    HRESULT DocumentComplete(IDispatch* browser, VARIANT*) {
        if (browser != m_siteDispatch.p) return S_OK;
        StopWatchingPage();
        if (SUCCEEDED(m_browser->get_Document(&m_page)) && m_page)
            PageEvents::DispEventAdvise(m_page);
        return S_OK;
    }

    HRESULT OnQuit() {
        StopWatchingPage();
        return BrowserEvents::DispEventUnadvise(m_browser);
    }

    HRESULT OnClick(IDispatch* event) {
        CComQIPtr<IHTMLEventObj> object(event);
        CComPtr<IHTMLElement> source;
        CComBSTR id;
        if (!object || FAILED(object->get_srcElement(&source)) || !source ||
            FAILED(source->get_id(&id)))
            return S_OK;
        if (Text(id) == u"ask")
            DialogBoxIndirectParamW(g_module, &kGreetingDialog, nullptr, &GreetingProc,
                                    reinterpret_cast<LPARAM>(this));
        else if (Text(id) == u"confirm")
            Confirm();
        else if (Text(id) == u"save")
            SaveGreeting();
        else if (Text(id) == u"newtab")
            OpenTab();
        else if (Text(id) == u"popup")
            OpenPopup();
        else if (Text(id) == u"speak")
            Speak();
        else if (Text(id) == u"voicestate")
            ShowVoiceState();
        return S_OK;
    }

private:
    void StopWatchingPage() {
        if (m_page) PageEvents::DispEventUnadvise(m_page);
        m_page.Release();
    }

    CComPtr<IHTMLInputElement> PageInput(const char16_t* id) {
        CComQIPtr<IHTMLDocument3> document(m_page);
        CComPtr<IHTMLElement> element;
        CComBSTR name(id);
        if (document) document->getElementById(name, &element);
        return CComQIPtr<IHTMLInputElement>(element);
    }

    void SetPageValue(const char16_t* id, const std::u16string& value) {
        CComBSTR text(value.c_str());
        if (auto input = PageInput(id)) input->put_value(text);
    }

    std::u16string PageValue(const char16_t* id) {
        CComBSTR value;
        if (auto input = PageInput(id)) input->get_value(&value);
        return Text(value);
    }

    static std::u16string Greeting(HWND dialog) {
        char16_t name[256] = {};
        GetDlgItemTextW(dialog, kNameEdit, name, 256);
        const std::u16string greeting = u"Hello, " + std::u16string(name);
        return IsDlgButtonChecked(dialog, kShoutBox) ? WideUpper(greeting) + u"!" : greeting;
    }

    static INT_PTR GreetingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            return TRUE;
        }
        auto* self = reinterpret_cast<CScenarioAddOn*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (message != WM_COMMAND || !self) return FALSE;
        switch (LOWORD(wParam)) {
            case kApplyButton:
                self->SetPageValue(u"greeting", Greeting(dialog));
                return TRUE;
            case IDOK:
                self->SetPageValue(u"greeting", Greeting(dialog));
                JournalEffect(u"scenario", u"greeting " + Greeting(dialog));
                EndDialog(dialog, IDOK);
                return TRUE;
            case IDCANCEL:
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            default:
                return FALSE;
        }
    }

    void Confirm() {
        const int answer =
            MessageBoxW(nullptr, u"Keep the greeting?", u"Scenario", MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES) SetPageValue(u"status", u"kept");
        if (answer == IDNO) SetPageValue(u"status", u"dropped");
    }

    void SaveGreeting() {
        char16_t path[1024] = {};
        OPENFILENAMEW chooser{};
        chooser.lStructSize = sizeof(chooser);
        chooser.lpstrFilter = u"Text Files (*.txt)\0*.txt\0";
        chooser.lpstrFile = path;
        chooser.nMaxFile = 1024;
        chooser.lpstrTitle = u"Save Greeting";
        chooser.lpstrDefExt = u"txt";
        if (!GetSaveFileNameW(&chooser)) return;
        std::ofstream out(Utf16ToUtf8(path), std::ios::binary | std::ios::trunc);
        out << Utf16ToUtf8(PageValue(u"greeting"));
        out.close();
        if (out) JournalEffect(u"scenario", u"saved " + std::u16string(path));
    }

    void OpenTab() {
        CComQIPtr<IHTMLDocument3> document(m_page);
        CComPtr<IHTMLElement> link;
        CComBSTR id(u"tablink");
        if (document) document->getElementById(id, &link);
        CComQIPtr<IHTMLAnchorElement> anchor(link);
        CComBSTR href;
        if (!anchor || FAILED(anchor->get_href(&href))) return;
        CComVariant flags(static_cast<int>(navOpenInNewTab));
        m_browser->Navigate(href, &flags, nullptr, nullptr, nullptr);
    }

    void OpenPopup() {
        CComQIPtr<IHTMLDocument2> document(m_page);
        CComBSTR blank(u"about:blank");
        CComVariant name(u"_blank"), features(u"toolbar=no"), replace(true);
        CComPtr<IDispatch> opened;
        if (!document || FAILED(document->open(blank, name, features, replace, &opened))) return;
        CComQIPtr<IHTMLWindow2> window(opened);
        CComPtr<IHTMLDocument2> written;
        if (!window || FAILED(window->get_document(&written))) return;
        SAFEARRAY* strings = SafeArrayCreateVector(VT_VARIANT, 0, 1);
        VARIANT* items = nullptr;
        if (!strings || FAILED(SafeArrayAccessData(strings, reinterpret_cast<void**>(&items))))
            return;
        items[0].vt = VT_BSTR;
        items[0].bstrVal = SysAllocString(u"<title>Popup</title><p id=popped>Written</p>");
        SafeArrayUnaccessData(strings);
        if (SUCCEEDED(written->write(strings))) written->close();
        SafeArrayDestroy(strings);
    }

    void Speak() {
        if (!m_voice && FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                                reinterpret_cast<void**>(&m_voice))))
            return;
        m_voice->Speak(PageValue(u"speech").c_str(), SPF_ASYNC, nullptr);
    }

    void ShowVoiceState() {
        SPVOICESTATUS status{};
        if (!m_voice || FAILED(m_voice->GetStatus(&status, nullptr))) return;
        SetPageValue(u"voice", status.dwRunningState == SPRS_DONE          ? u"done"
                               : status.dwRunningState == SPRS_IS_SPEAKING ? u"speaking"
                                                                           : u"paused");
    }

    CComPtr<IWebBrowser2> m_browser;
    CComPtr<IDispatch> m_siteDispatch;
    CComPtr<IDispatch> m_page;
    CComPtr<ISpVoice> m_voice;
};

class CScenarioAddOnModule : public CAtlDllModuleT<CScenarioAddOnModule> {};

CScenarioAddOnModule _AtlModule;

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_ScenarioAddOn, CScenarioAddOn)
END_OBJECT_MAP()

LONG WriteKey(HKEY root, const std::u16string& path, const std::u16string& value) {
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return result;
    result = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
    return result;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) BOOL DllMain(HINSTANCE instance, DWORD reason,
                                                               LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        if (FAILED(_AtlModule.Init(ObjectMap, instance))) return FALSE;
        JournalLoaded(instance);
    }
    return _AtlModule.DllMain(reason, reserved);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return _AtlModule.DllCanUnloadNow();
}

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid,
                                                                            REFIID riid,
                                                                            void** ppv) {
    return _AtlModule.DllGetClassObject(clsid, riid, ppv);
}

extern "C" __attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    char16_t path[1024] = {};
    if (!GetModuleFileNameW(g_module, path, 1024)) return E_FAIL;
    const std::u16string classKey = u"CLSID\\" + std::u16string(kClassKey);
    if (WriteKey(HKEY_CLASSES_ROOT, classKey + u"\\InprocServer32", path) != ERROR_SUCCESS ||
        WriteKey(HKEY_LOCAL_MACHINE, std::u16string(browser::kAddOnsKey) + u"\\" + kClassKey,
                 u"") != ERROR_SUCCESS)
        return E_FAIL;
    return S_OK;
}
