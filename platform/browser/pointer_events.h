// What the pointer does to a page: the document events it fires
// (HTMLDocumentEvents2 click, double-click, mouse move, each with an
// IHTMLEventObj) and the default actions that follow them: links navigate,
// submit buttons submit their form, check boxes toggle, radio buttons
// check. "javascript:" links do nothing (there is no script engine).
#pragma once

#include "platform/browser/html_document.h"

namespace browser {

class WebBrowser;

// The element under a pointer held over element's first character of
// text: the element holding its first visible text, or element itself
// when it has none.
Node& ElementUnderPointer(Node& element);

// browser is the browser showing document.
void FireMouseEvent(WebBrowser& browser, HtmlDocument& document, DISPID id, Node& source, bool alt);
HRESULT ClickElement(WebBrowser& browser, HtmlDocument& document, Node& source, bool alt);
// A double-click selects the word under the pointer (or clears the
// selection when there is no text), then fires the event.
HRESULT DoubleClickElement(WebBrowser& browser, HtmlDocument& document, Node& element, bool alt);
HRESULT SubmitForm(WebBrowser& browser, HtmlDocument& document, Node& form, const Node* submitter);
// Navigates to a link's address, in its target or in a new window.
HRESULT FollowLink(WebBrowser& browser, HtmlDocument& document, const Node& link, bool newWindow);

}  // namespace browser
