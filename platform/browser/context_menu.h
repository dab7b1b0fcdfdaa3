// A right-click in a page. The context id comes from the element under the
// pointer (a link, a form control, an image, text inside the selection, a
// table, else the default). A UI handler set on the document (or, for a
// frame without one, on the window's page) gets ShowContextMenu first;
// when there is none or it answers S_FALSE the browser shows its own
// submenu from "SHDOCLC.DLL" and carries out the chosen id through its
// command target (CGID_MSHTML).
#pragma once

#include "platform/browser/html_document.h"
#include "platform/ui/ui_types.h"

namespace browser {

class WebBrowser;

DWORD ContextMenuId(const HtmlDocument& document, const Node& element);

// browser shows document; returns once the chosen command was carried out.
HRESULT ShowPageContextMenu(WebBrowser& browser, HtmlDocument& document, Node& element,
                            POINT point);

}  // namespace browser
