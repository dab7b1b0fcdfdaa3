// The add-on's context menu: the browser's own menu for the clicked
// context with one of the add-on's four menus as its "Kestro" submenu,
// items enabled from the page's state; the chosen command runs here or goes
// back to the browser.
#include "addon/content/selection_text.h"
#include "addon/edit_html.h"
#include "addon/resources/resource_ids.h"
#include "platform/ui/atl_dialog.h"
#include "platform/ui/menu.h"
#include "platform/ui/string_resource.h"
#include "platform/ui/window.h"

namespace {

// Valid only while one menu is tracked.
HMENU g_hAddonMenu = nullptr;
WNDPROC g_pfnDocWndProc = nullptr;

// "Save Text of Selection..." may be disabled by the browser's own menu
// handling when its popup opens; the add-on's popup keeps it on.
LRESULT MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(wParam) == g_hAddonMenu) {
        EnableMenuItem(g_hAddonMenu, ID_SAVE_SELECTION, MF_BYCOMMAND | MF_ENABLED);
        return 0;
    }
    return CallWindowProcW(g_pfnDocWndProc, window, message, wParam, lParam);
}

void Disable(HMENU menu, std::initializer_list<UINT> commands) {
    for (UINT command : commands)
        EnableMenuItem(menu, command, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
}

std::u16string OwnString(UINT id) {
    char16_t text[64] = {};
    return LoadStringW(AtlResourceInstanceOfImage(), id, text, 64) > 0 ? std::u16string(text)
                                                                       : std::u16string();
}

CComPtr<IDispatch> DocumentOf(IDispatch* element) {
    CComQIPtr<IHTMLElement> html(element);
    CComPtr<IDispatch> document;
    if (html) html->get_document(&document);
    return document;
}

// The browser's own submenu completed as the browser completes it: the
// encoding popup and the browser's extensions.
void CompleteBrowserMenu(IOleCommandTarget* target, HMENU submenu, DWORD contextId) {
    CComVariant encodings;
    if (SUCCEEDED(
            target->Exec(&CGID_ShellDocView, SHDVID_GETMIMECSETMENU, 0, nullptr, &encodings))) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = reinterpret_cast<HMENU>(static_cast<std::intptr_t>(encodings.llVal));
        SetMenuItemInfoW(submenu, IDM_LANGUAGE, FALSE, &info);
    }
    CComVariant menu;
    menu.vt = VT_INT_PTR;
    menu.llVal = static_cast<LONGLONG>(reinterpret_cast<std::intptr_t>(submenu));
    CComVariant context(static_cast<int>(contextId));
    target->Exec(&CGID_ShellDocView, SHDVID_ADDMENUEXTENSIONS, 0, &menu, &context);
}

}  // namespace

void CEditHtml::ApplyLoginItemRules(HMENU menu, bool loginForm) {
    if (!loginForm) return Disable(menu, {ID_SAVE_LOGIN, ID_FILL_LOGIN, ID_DELETE_LOGIN});
    if (!m_bPasswordHasValue) Disable(menu, {ID_SAVE_LOGIN});
    if (!m_bLoginSaved) Disable(menu, {ID_FILL_LOGIN, ID_DELETE_LOGIN});
}

void CEditHtml::ApplySpeechItemRules(HMENU menu) {
    SPVOICESTATUS status{};
    if (!m_spVoice || FAILED(m_spVoice->GetStatus(&status, nullptr))) {
        Disable(menu, {ID_SPEECH_SETTING, ID_SPEAK_ITEM, ID_SPEAK_SELECTION, ID_SPEAK_PAGE});
        DeleteMenu(menu, ID_SPEAK_CONTROL, MF_BYCOMMAND);
        return;
    }
    if (status.dwRunningState == SPRS_DONE) {
        DeleteMenu(menu, ID_SPEAK_CONTROL, MF_BYCOMMAND);
        return;
    }
    const UINT label =
        status.dwRunningState == SPRS_IS_SPEAKING ? IDS_STOP_SPEAKING : IDS_RESUME_SPEAKING;
    ModifyMenuW(menu, ID_SPEAK_CONTROL, MF_BYCOMMAND | MF_STRING, ID_SPEAK_CONTROL,
                OwnString(label).c_str());
}

HMENU CEditHtml::PrepareAddonMenu(DWORD contextId, IDispatch* element) {
    const HINSTANCE own = AtlResourceInstanceOfImage();
    if (contextId == CONTEXT_MENU_CONTROL) {
        HMENU menu = LoadMenuW(own, MAKEINTRESOURCEW(IDR_MENU_CONTROL));
        if (menu) ApplyLoginItemRules(menu, CheckLoginForm(element));
        return menu;
    }
    if (contextId == CONTEXT_MENU_ANCHOR) return LoadMenuW(own, MAKEINTRESOURCEW(IDR_MENU_LINK));
    HMENU menu = nullptr;
    if (HasSelection(element)) {
        menu = LoadMenuW(own, MAKEINTRESOURCEW(IDR_MENU_SELECTION));
    } else {
        menu = LoadMenuW(own, MAKEINTRESOURCEW(IDR_MENU_PAGE));
        if (menu) {
            const bool loginForm = PageHasPasswordInput(element) && EnsureDbOpen() &&
                                   CheckLoginForm(m_spPasswordInput);
            ApplyLoginItemRules(menu, loginForm);
        }
    }
    if (menu) ApplySpeechItemRules(menu);
    return menu;
}

STDMETHODIMP CEditHtml::ShowContextMenu(DWORD id, POINT* point, IUnknown* commandTarget,
                                        IDispatch* element) {
    CEditHtmlHold hold(this);
    // A link or control menu must never act on the selection of an
    // earlier right-click.
    m_bstrSelection.Empty();
    if (id == CONTEXT_MENU_CONTROL && !EnsureDbOpen()) return S_FALSE;
    CComQIPtr<IOleCommandTarget> target(commandTarget);
    CComQIPtr<IOleWindow> window(commandTarget);
    if (!target || !window || FAILED(window->GetWindow(&m_hDocWnd)) || !IsWindow(m_hDocWnd))
        return S_FALSE;

    HMODULE browserMenus = LoadLibraryW(u"SHDOCLC.DLL");
    HMENU menus =
        browserMenus ? LoadMenuW(browserMenus, MAKEINTRESOURCEW(IDR_BROWSE_CONTEXT_MENU)) : nullptr;
    HMENU submenu = menus ? GetSubMenu(menus, static_cast<int>(id)) : nullptr;
    if (!submenu) {
        if (menus) DestroyMenu(menus);
        if (browserMenus) FreeLibrary(browserMenus);
        return S_FALSE;
    }
    CompleteBrowserMenu(target, submenu, id);

    g_hAddonMenu = PrepareAddonMenu(id, element);
    const std::u16string title = OwnString(IDS_PRODUCT_NAME).substr(0, 31);
    if (g_hAddonMenu && !title.empty()) {
        InsertMenuW(submenu, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(g_hAddonMenu),
                    title.c_str());
        InsertMenuW(submenu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    }
    if (m_nIEVersion >= 7 && GetMenuState(submenu, IDM_FOLLOWLINKN, MF_BYCOMMAND) != UINT(-1))
        InsertMenuW(submenu, IDM_FOLLOWLINKN, MF_BYCOMMAND | MF_STRING, ID_OPEN_IN_NEW_TAB,
                    u"Open in New Tab");

    g_pfnDocWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hDocWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuWindowProc)));
    const POINT at = point ? *point : POINT{0, 0};
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(submenu, TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                         at.x, at.y, 0, m_hDocWnd, nullptr));
    SetWindowLongPtrW(m_hDocWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnDocWndProc));
    g_pfnDocWndProc = nullptr;
    if (g_hAddonMenu) DestroyMenu(g_hAddonMenu);
    g_hAddonMenu = nullptr;

    if (!DispatchCommand(chosen, element))
        target->Exec(&CGID_MSHTML, chosen, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
    DestroyMenu(menus);
    FreeLibrary(browserMenus);
    return S_OK;
}

bool CEditHtml::HasSelection(IDispatch* element) {
    CComQIPtr<IHTMLDocument2> document(DocumentOf(element));
    if (!document) return false;
    m_bstrSelection.Empty();
    return SUCCEEDED(GetSelectionText(document, &m_bstrSelection)) && m_bstrSelection.Length() > 0;
}

bool CEditHtml::PageHasPasswordInput(IDispatch* element) {
    if (m_spPasswordInput) return true;
    CComQIPtr<IHTMLDocument3> document(DocumentOf(element));
    CComPtr<IHTMLElementCollection> inputs;
    CComBSTR tag(u"INPUT");
    long length = 0;
    if (!document || FAILED(document->getElementsByTagName(tag, &inputs)) || !inputs ||
        FAILED(inputs->get_length(&length)))
        return false;
    for (long i = 0; i < length; ++i) {
        CComVariant index(static_cast<int>(i));
        CComPtr<IDispatch> item;
        if (FAILED(inputs->item(index, index, &item))) return false;
        CComQIPtr<IHTMLInputElement> input(item);
        CComBSTR type;
        if (!input || FAILED(input->get_type(&type))) return false;
        if (type.m_str && std::u16string(type.m_str, type.Length()) == u"password") {
            m_spPasswordInput = input;
            return true;
        }
    }
    return false;
}
