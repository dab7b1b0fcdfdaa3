#include "platform/browser/call_out.h"

#include "platform/browser/deferred_work.h"
#include "platform/browser/web_browser_object.h"

namespace browser {

CallOut::CallOut(WebBrowser* browser, HtmlDocument* document, IUnknown* argument)
    : m_browser(browser), m_document(document), m_argument(argument) {
    if (browser) {
        m_top = browser->Top();
        m_addOns = m_top->AddOns();
    }
    EnterCallOut();
}

CallOut::~CallOut() {
    // The objects go first: what they still do on release is part of the
    // call; the work it started runs after.
    m_argument.Release();
    m_document.Release();
    while (!m_addOns.empty()) m_addOns.pop_back();
    m_top.Release();
    m_browser.Release();
    LeaveCallOut();
}

}  // namespace browser
