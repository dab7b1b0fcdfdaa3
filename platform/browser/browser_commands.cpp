#include "platform/browser/browser_commands.h"

#include <iterator>

#include "platform/browser/browser_session.h"
#include "platform/browser/doc_host_ui.h"
#include "platform/browser/document_services.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/pointer_events.h"
#include "platform/browser/selection.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/web_browser_object.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/win/effects_journal.h"
#include "platform/win/text.h"

namespace browser {

namespace {

struct Encoding {
    const char16_t* label;
    const char16_t* charset;
};
constexpr Encoding kEncodings[] = {
    {u"Unicode (UTF-8)", u"utf-8"},
    {u"Western European (Windows)", u"windows-1252"},
};

const Node* EnclosingLink(const Node* element) {
    for (const Node* n = element; n && n->IsElement(); n = n->parent)
        if ((n->Is(GUMBO_TAG_A) || n->Is(GUMBO_TAG_AREA)) && n->HasAttribute(u"href")) return n;
    return nullptr;
}

// What Copy takes: the selected text, else what the menu's element stands for.
std::u16string TextToCopy(HtmlDocument& document, const Node* element) {
    std::u16string text = SelectedText(document.CurrentSelection());
    if (!text.empty() || !element) return text;
    if (const Node* link = EnclosingLink(element))
        return document.ResolveLink(link->AttributeOr(u"href"));
    if (element->Is(GUMBO_TAG_IMG)) return document.ResolveLink(element->AttributeOr(u"src"));
    if (IsFormControl(*element)) return ControlValue(*element);
    return {};
}

HRESULT Copy(HtmlDocument& document, const Node* element) {
    const std::u16string text = TextToCopy(document, element);
    if (text.empty()) return S_OK;
    BrowserSession::Instance().SetClipboardText(text);
    JournalEffect(u"copy", text);
    return S_OK;
}

HRESULT SelectAll(HtmlDocument& document) {
    if (const Node* body = document.Tree().Body()) document.Select(SelectElementText(*body));
    return S_OK;
}

HRESULT ShowProperties(WebBrowser& browser, HtmlDocument& document) {
    const std::u16string text = u"Title: " + document.Title() + u"\r\nAddress: " + document.Url();
    MessageBoxW(browser.PageWindow(), text.c_str(), u"Properties", MB_OK);
    return S_OK;
}

HRESULT OpenLink(WebBrowser& browser, HtmlDocument& document, const Node* element, bool newWindow) {
    const Node* link = EnclosingLink(element);
    if (!link) return E_FAIL;
    return FollowLink(browser, document, *link, newWindow);
}

HMENU MenuIn(const VARIANT* value) {
    if (!value || value->vt != VT_INT_PTR) return nullptr;
    return reinterpret_cast<HMENU>(static_cast<std::intptr_t>(value->llVal));
}

}  // namespace

bool IsBrowserCommand(DWORD command) {
    switch (command) {
        case IDM_COPY:
        case IDM_PRINT:
        case IDM_PROPERTIES:
        case IDM_SELECTALL:
        case IDM_FOLLOWLINKC:
        case IDM_FOLLOWLINKN:
        case IDM_VIEWSOURCE:
        case IDM_GOBACKWARD:
        case IDM_GOFORWARD:
        case IDM_REFRESH:
            return true;
        default:
            return command >= IDM_MIMECSET_FIRST &&
                   command < IDM_MIMECSET_FIRST + std::size(kEncodings);
    }
}

HRESULT ExecBrowserCommand(DocumentServices& services, DWORD command) {
    WebBrowser* browser = services.Browser();
    if (!browser) return E_FAIL;
    CComPtr<WebBrowser> keep(browser);
    HtmlDocument& document = services.Document();
    const Node* element = services.ContextElement();
    switch (command) {
        case 0:
            return S_OK;
        case IDM_COPY:
            return Copy(document, element);
        case IDM_SELECTALL:
            return SelectAll(document);
        case IDM_PRINT:
            return browser->Print(OLECMDEXECOPT_PROMPTUSER);
        case IDM_REFRESH:
            return browser->Refresh();
        case IDM_GOBACKWARD:
            return browser->GoBack();
        case IDM_GOFORWARD:
            return browser->GoForward();
        case IDM_FOLLOWLINKC:
            return OpenLink(*browser, document, element, false);
        case IDM_FOLLOWLINKN:
            return OpenLink(*browser, document, element, true);
        case IDM_VIEWSOURCE:
            JournalEffect(u"source", document.Url());
            return S_OK;
        case IDM_PROPERTIES:
            return ShowProperties(*browser, document);
        default:
            break;
    }
    if (command >= IDM_MIMECSET_FIRST && command < IDM_MIMECSET_FIRST + std::size(kEncodings)) {
        CComBSTR charset(kEncodings[command - IDM_MIMECSET_FIRST].charset);
        return document.put_charset(charset);
    }
    return OLECMDERR_E_NOTSUPPORTED;
}

HRESULT ExecShellDocViewCommand(WebBrowser& browser, HtmlDocument& document, DWORD command,
                                VARIANT* in, VARIANT* out) {
    if (command == SHDVID_GETMIMECSETMENU) {
        if (!out) return E_INVALIDARG;
        HMENU menu = CreateEncodingMenu(document);
        if (!menu) return E_OUTOFMEMORY;
        VariantClear(out);
        out->vt = VT_INT_PTR;
        out->llVal = static_cast<LONGLONG>(reinterpret_cast<std::intptr_t>(menu));
        return S_OK;
    }
    if (command == SHDVID_ADDMENUEXTENSIONS) {
        HMENU menu = MenuIn(in);
        if (!IsMenu(menu)) return E_INVALIDARG;
        long contextId = CONTEXT_MENU_DEFAULT;
        if (out) VariantIndex(*out, contextId);
        AdjustContextMenu(menu, static_cast<DWORD>(contextId), browser, document);
        return S_OK;
    }
    return OLECMDERR_E_NOTSUPPORTED;
}

HMENU CreateEncodingMenu(const HtmlDocument& document) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (std::size_t i = 0; i < std::size(kEncodings); ++i) {
        const bool current = WideEqualsNoCase(document.Charset(), kEncodings[i].charset);
        AppendMenuW(menu, MF_STRING | (current ? MF_CHECKED : 0), IDM_MIMECSET_FIRST + i,
                    kEncodings[i].label);
    }
    return menu;
}

void AdjustContextMenu(HMENU menu, DWORD contextId, WebBrowser& browser, HtmlDocument& document) {
    const auto enable = [menu](UINT id, bool on) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
    };
    enable(IDM_GOBACKWARD, browser.CanGoBack());
    enable(IDM_GOFORWARD, browser.CanGoForward());
    const bool hasSelection = document.CurrentSelection().kind != Selection::Kind::None;
    enable(IDM_COPY, hasSelection || contextId == CONTEXT_MENU_ANCHOR ||
                         contextId == CONTEXT_MENU_IMAGE || contextId == CONTEXT_MENU_CONTROL);
}

}  // namespace browser
