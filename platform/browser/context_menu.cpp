#include "platform/browser/context_menu.h"

#include "platform/browser/browser_commands.h"
#include "platform/browser/call_out.h"
#include "platform/browser/doc_host_ui.h"
#include "platform/browser/document_services.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/web_browser_object.h"
#include "platform/ui/menu.h"
#include "platform/win/resource.h"

namespace browser {

namespace {

bool InsideSelection(const HtmlDocument& document, const Node& element) {
    const Selection& selection = document.CurrentSelection();
    if (selection.kind != Selection::Kind::Text || !selection.node) return false;
    for (const Node* n = &element; n; n = n->parent)
        if (n == selection.node) return true;
    // The selection's scope may lie inside the element.
    for (const Node* n = selection.node; n; n = n->parent)
        if (n == &element) return true;
    return false;
}

IDocHostUIHandler* HandlerFor(WebBrowser& browser) {
    if (DocumentServices* own = browser.Services(); own && own->UIHandler())
        return own->UIHandler();
    DocumentServices* top = browser.Top()->Services();
    return top ? top->UIHandler() : nullptr;
}

HRESULT ShowOwnMenu(WebBrowser& browser, DocumentServices& services, DWORD contextId, POINT point) {
    HMODULE module = LoadLibraryW(u"SHDOCLC.DLL");
    if (!module) return E_FAIL;
    HMENU menus = LoadMenuW(module, MAKEINTRESOURCEW(IDR_BROWSE_CONTEXT_MENU));
    HMENU menu = menus ? GetSubMenu(menus, static_cast<int>(contextId)) : nullptr;
    if (!menu) {
        if (menus) DestroyMenu(menus);
        FreeLibrary(module);
        return E_FAIL;
    }
    if (HMENU encoding = CreateEncodingMenu(services.Document())) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = encoding;
        if (!SetMenuItemInfoW(menu, IDM_LANGUAGE, FALSE, &info)) DestroyMenu(encoding);
    }
    AdjustContextMenu(menu, contextId, browser, services.Document());
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, 0, browser.PageWindow(), nullptr));
    DestroyMenu(menus);
    FreeLibrary(module);
    if (chosen) services.Exec(&CGID_MSHTML, chosen, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
    return S_OK;
}

}  // namespace

DWORD ContextMenuId(const HtmlDocument& document, const Node& element) {
    for (const Node* n = &element; n && n->IsElement(); n = n->parent)
        if ((n->Is(GUMBO_TAG_A) || n->Is(GUMBO_TAG_AREA)) && n->HasAttribute(u"href"))
            return CONTEXT_MENU_ANCHOR;
    if (IsFormControl(element)) return CONTEXT_MENU_CONTROL;
    if (element.Is(GUMBO_TAG_IMG)) return CONTEXT_MENU_IMAGE;
    if (InsideSelection(document, element)) return CONTEXT_MENU_TEXTSELECT;
    for (const Node* n = &element; n && n->IsElement(); n = n->parent)
        if (n->Is(GUMBO_TAG_TABLE)) return CONTEXT_MENU_TABLE;
    return CONTEXT_MENU_DEFAULT;
}

HRESULT ShowPageContextMenu(WebBrowser& browser, HtmlDocument& document, Node& element,
                            POINT point) {
    CComPtr<WebBrowser> keepBrowser(&browser);
    CComPtr<DocumentServices> services(browser.Services());
    if (!services || &services->Document() != &document) return E_FAIL;
    const DWORD contextId = ContextMenuId(document, element);
    services->SetContextElement(&element);
    HRESULT shown = S_FALSE;
    if (CComPtr<IDocHostUIHandler> handler = HandlerFor(browser)) {
        CComPtr<IDispatch> elementObject;
        document.ObjectFor(&element, &elementObject);
        CComPtr<IUnknown> commandTarget;
        services->QueryOwnInterface(IID_IOleCommandTarget,
                                    reinterpret_cast<void**>(&commandTarget));
        CallOut callOut(&browser, &document, elementObject);
        shown = handler->ShowContextMenu(contextId, &point, commandTarget, elementObject);
    }
    HRESULT hr = S_OK;
    if (shown != S_OK && !browser.IsClosed() && browser.Services() == services)
        hr = ShowOwnMenu(browser, *services, contextId, point);
    services->SetContextElement(nullptr);
    return hr;
}

}  // namespace browser
