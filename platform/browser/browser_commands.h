// The browser's own commands behind its context menus: the menu commands
// carried out with CGID_MSHTML (Copy, Select All, Open Link...) and the
// CGID_ShellDocView commands that complete a context submenu.
#pragma once

#include "platform/browser/html_document.h"
#include "platform/ui/ui_types.h"

namespace browser {

class WebBrowser;
class DocumentServices;

bool IsBrowserCommand(DWORD command);
// A menu command for the document, about the element its menu was opened
// for. OLECMDERR_E_NOTSUPPORTED for an id that is not the browser's; a
// dismissed menu's 0 does nothing.
HRESULT ExecBrowserCommand(DocumentServices& services, DWORD command);

// SHDVID_GETMIMECSETMENU: out receives the encoding popup (VT_INT_PTR; the
// caller owns it). SHDVID_ADDMENUEXTENSIONS: in holds the context submenu
// (VT_INT_PTR), out the context id (VT_I4); the browser sets its items'
// states there.
HRESULT ExecShellDocViewCommand(WebBrowser& browser, HtmlDocument& document, DWORD command,
                                VARIANT* in, VARIANT* out);

HMENU CreateEncodingMenu(const HtmlDocument& document);
// Enables what can be done now (Back, Forward, Copy...) and greys the rest.
void AdjustContextMenu(HMENU menu, DWORD contextId, WebBrowser& browser, HtmlDocument& document);

}  // namespace browser
