// A live engine behind a window: it loads, renders and scripts the pages,
// while the browser objects (events, documents, commands) stay what
// add-ons see. A window's top browser holds the driver and its frames use
// it too; a window without one loads its pages itself (page_loader.h).
#pragma once

#include "platform/browser/document_host.h"
#include "platform/browser/html_document.h"

namespace browser {

class PageInput;
class WebBrowser;
struct NavigationRequest;

class PageDriver {
public:
    // BeforeNavigate2 let the request pass for browser (the window's or a
    // frame's). S_OK with *document: show that page now (a frame the live
    // page holds already). S_FALSE: the driver loads it and hands the page
    // to WebBrowser::ShowLoadedPage later. A failure shows nothing.
    virtual HRESULT Load(WebBrowser& browser, const NavigationRequest& request,
                         HtmlDocument** document) = 0;
    // The default action of IHTMLElement::click, once its event has fired.
    virtual HRESULT Click(WebBrowser& browser, HtmlDocument& document, Node& element) = 0;
    // A change a caller made through the document's interfaces.
    virtual void NodeWritten(HtmlDocument& document, Node& node, NodeWrite what) = 0;
    // The page now holds what was written into it (document.open, write, close).
    virtual void ContentWritten(WebBrowser& browser, HtmlDocument& document) = 0;
    // The window closed: OnQuit has fired and its add-ons are released.
    virtual void WindowClosed(WebBrowser& browser) = 0;
    // Acts as a user's through the driver's view (page_input.h); null
    // leaves BrowserWindow's acts on the model, as for a person's window.
    virtual PageInput* Input() { return nullptr; }
    // IWebBrowser2 printing of the top page; E_NOTIMPL leaves it to the
    // browser (the model's page as a PDF).
    virtual HRESULT Print(WebBrowser& /*browser*/, DWORD /*options*/) { return E_NOTIMPL; }

protected:
    ~PageDriver() = default;
};

}  // namespace browser
