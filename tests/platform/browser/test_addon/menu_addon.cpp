// A small add-on as the browser loads them: created through the registry
// for every window, it hooks each top-level page's UI handler when the page
// completes and puts its own submenu into the browser's context menu. It
// journals what it was given ("addon-menu") and what it did ("addon").
#include <string>

#include "platform/browser/doc_host_ui.h"
#include "platform/browser/mshtml_element.h"
#include "platform/browser/web_browser.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_event.h"
#include "platform/com/atl_module.h"
#include "platform/com/atl_site.h"
#include "platform/ui/menu.h"
#include "platform/ui/window.h"
#include "platform/win/effects_journal.h"
#include "platform/win/module.h"
#include "platform/win/registry.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"
#include "tests/platform/browser/test_addon/menu_addon.h"

namespace {

bool Declines() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kMenuAddOnSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, value = 0, size = sizeof(value);
    RegQueryValueExW(key, u"Decline", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value == 1;
}

std::u16string TagOf(IDispatch* element) {
    CComQIPtr<IHTMLElement> html(element);
    CComBSTR tag;
    if (!html || FAILED(html->get_tagName(&tag)) || !tag) return u"?";
    return tag.m_str;
}

class CMenuAddOn
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CMenuAddOn, &CLSID_MenuAddOn>,
      public IObjectWithSiteImpl<CMenuAddOn>,
      public IDocHostUIHandler,
      public IDispEventImpl<0, CMenuAddOn, &DIID_DWebBrowserEvents2, &LIBID_SHDocVw, 1, 1> {
public:
    DECLARE_NO_REGISTRY()

    BEGIN_COM_MAP(CMenuAddOn)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    COM_INTERFACE_ENTRY(IDocHostUIHandler)
    END_COM_MAP()

    BEGIN_SINK_MAP(CMenuAddOn)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_DOCUMENTCOMPLETE, DocumentComplete)
    SINK_ENTRY_EX(0, DIID_DWebBrowserEvents2, DISPID_ONQUIT, OnQuit)
    END_SINK_MAP()

    STDMETHODIMP SetSite(IUnknown* site) override {
        IObjectWithSiteImpl<CMenuAddOn>::SetSite(site);
        m_browser.Release();
        m_siteDispatch.Release();
        if (!site) return S_OK;
        site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser));
        site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_siteDispatch));
        return DispEventAdvise(site);
    }

    HRESULT DocumentComplete(IDispatch* browser, VARIANT*) {
        if (browser != m_siteDispatch.p) return S_OK;
        CComPtr<IDispatch> document;
        if (FAILED(m_browser->get_Document(&document)) || !document) return S_OK;
        CComQIPtr<IOleObject> object(document);
        CComPtr<IOleClientSite> site;
        if (object && SUCCEEDED(object->GetClientSite(&site)) && site)
            site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&m_default));
        if (CComQIPtr<ICustomDoc> custom = document) custom->SetUIHandler(this);
        return S_OK;
    }

    HRESULT OnQuit() {
        m_default.Release();
        return DispEventUnadvise(m_browser);
    }

    STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                 IDispatch* element) override {
        JournalEffect(u"addon-menu", WideFromInt(id) + u" " + TagOf(element));
        if (Declines()) return S_FALSE;
        CComQIPtr<IOleCommandTarget> target(commandTarget);
        CComQIPtr<IOleWindow> oleWindow(commandTarget);
        HWND window = nullptr;
        if (!target || !oleWindow || FAILED(oleWindow->GetWindow(&window)) || !IsWindow(window))
            return S_FALSE;
        HMODULE module = LoadLibraryW(u"SHDOCLC.DLL");
        HMENU menus =
            module ? LoadMenuW(module, MAKEINTRESOURCEW(IDR_BROWSE_CONTEXT_MENU)) : nullptr;
        HMENU menu = menus ? GetSubMenu(menus, static_cast<int>(id)) : nullptr;
        if (!menu) return S_FALSE;

        CComVariant encoding;
        if (SUCCEEDED(
                target->Exec(&CGID_ShellDocView, SHDVID_GETMIMECSETMENU, 0, nullptr, &encoding))) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_SUBMENU;
            info.hSubMenu = reinterpret_cast<HMENU>(static_cast<std::intptr_t>(encoding.llVal));
            SetMenuItemInfoW(menu, IDM_LANGUAGE, FALSE, &info);
        }
        CComVariant menuHandle, context(static_cast<int>(id));
        menuHandle.vt = VT_INT_PTR;
        menuHandle.llVal = static_cast<LONGLONG>(reinterpret_cast<std::intptr_t>(menu));
        target->Exec(&CGID_ShellDocView, SHDVID_ADDMENUEXTENSIONS, 0, &menuHandle, &context);

        HMENU own = CreatePopupMenu();
        AppendMenuW(own, MF_STRING, kSayHelloCommand, u"Say Hello");
        InsertMenuW(menu, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(own),
                    u"Test Add-on");
        InsertMenuW(menu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);

        const UINT chosen = static_cast<UINT>(TrackPopupMenu(
            menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, point->x, point->y, 0, window, nullptr));
        if (chosen == kSayHelloCommand)
            JournalEffect(u"addon", u"hello");
        else
            target->Exec(&CGID_MSHTML, chosen, 0, nullptr, nullptr);
        DestroyMenu(menus);
        FreeLibrary(module);
        return S_OK;
    }

#define PASS_ON(call, fallback) return m_default ? m_default->call : (fallback)
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
        PASS_ON(GetHostInfo(info), S_OK);
    }
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                        IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) override {
        PASS_ON(ShowUI(id, active, target, frame, document), S_FALSE);
    }
    STDMETHODIMP HideUI() override {
        PASS_ON(HideUI(), S_OK);
    }
    STDMETHODIMP UpdateUI() override {
        PASS_ON(UpdateUI(), S_OK);
    }
    STDMETHODIMP EnableModeless(BOOL enable) override {
        PASS_ON(EnableModeless(enable), S_OK);
    }
    STDMETHODIMP OnDocWindowActivate(BOOL on) override {
        PASS_ON(OnDocWindowActivate(on), S_OK);
    }
    STDMETHODIMP OnFrameWindowActivate(BOOL on) override {
        PASS_ON(OnFrameWindowActivate(on), S_OK);
    }
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override {
        PASS_ON(ResizeBorder(border, window, frame), S_OK);
    }
    STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* group, DWORD command) override {
        PASS_ON(TranslateAccelerator(message, group, command), E_NOTIMPL);
    }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override {
        PASS_ON(GetOptionKeyPath(key, reserved), E_FAIL);
    }
    STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** replacement) override {
        PASS_ON(GetDropTarget(target, replacement), S_OK);
    }
    STDMETHODIMP GetExternal(IDispatch** external) override {
        PASS_ON(GetExternal(external), S_FALSE);
    }
    STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR in, LPWSTR* out) override {
        PASS_ON(TranslateUrl(translate, in, out), S_FALSE);
    }
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** replacement) override {
        PASS_ON(FilterDataObject(object, replacement), S_FALSE);
    }
#undef PASS_ON

private:
    CComPtr<IWebBrowser2> m_browser;
    CComPtr<IDispatch> m_siteDispatch;
    CComPtr<IDocHostUIHandler> m_default;
};

class CMenuAddOnModule : public CAtlDllModuleT<CMenuAddOnModule> {};

CMenuAddOnModule _AtlModule;

BEGIN_OBJECT_MAP(ObjectMap)
OBJECT_ENTRY(CLSID_MenuAddOn, CMenuAddOn)
END_OBJECT_MAP()

}  // namespace

extern "C" __attribute__((visibility("default"))) BOOL DllMain(HINSTANCE instance, DWORD reason,
                                                               LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH && FAILED(_AtlModule.Init(ObjectMap, instance))) return FALSE;
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
