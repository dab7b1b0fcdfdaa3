// What the browser holds while it calls out to add-on or page code: fires
// an event (DWebBrowserEvents2, HTMLDocumentEvents2), asks the UI handler
// for a context menu, or carries out a command on a document. The browser,
// its window's add-on objects, the document and the event or element
// object stay alive until the call returns, so a handler may close its own
// window (the window then releases its add-ons) and keep using its members
// until it returns. Work the handler starts waits for the end of the
// outermost call out (deferred_work.h).
#pragma once

#include <vector>

#include "platform/browser/html_document.h"
#include "platform/com/atl_site.h"
#include "platform/com/com_ptr.h"

namespace browser {

class WebBrowser;

class CallOut {
public:
    // browser: the browser (a window's or a frame's) the call concerns.
    explicit CallOut(WebBrowser* browser, HtmlDocument* document = nullptr,
                     IUnknown* argument = nullptr);
    ~CallOut();
    CallOut(const CallOut&) = delete;
    CallOut& operator=(const CallOut&) = delete;

private:
    CComPtr<WebBrowser> m_browser;
    CComPtr<WebBrowser> m_top;
    std::vector<CComPtr<IObjectWithSite>> m_addOns;
    CComPtr<HtmlDocument> m_document;
    CComPtr<IUnknown> m_argument;
};

}  // namespace browser
