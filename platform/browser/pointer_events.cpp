#include "platform/browser/pointer_events.h"

#include <new>

#include "platform/browser/document_services.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/form_submission.h"
#include "platform/browser/page_objects.h"
#include "platform/browser/rendered_text.h"
#include "platform/browser/selection.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/url.h"
#include "platform/browser/web_browser_object.h"
#include "platform/win/text.h"

namespace browser {

namespace {

bool HasVisibleText(const Node& text) {
    for (char16_t c : text.data)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f') return true;
    return false;
}

bool SkipsRendering(const Node& element) {
    return element.Is(GUMBO_TAG_SCRIPT) || element.Is(GUMBO_TAG_STYLE) ||
           element.Is(GUMBO_TAG_HEAD) || element.Is(GUMBO_TAG_TITLE) ||
           element.Is(GUMBO_TAG_TEMPLATE) || IsRenderedHidden(element);
}

const char16_t* EventType(DISPID id) {
    switch (id) {
        case DISPID_HTMLDOCUMENTEVENTS2_ONCLICK:
            return u"click";
        case DISPID_HTMLDOCUMENTEVENTS2_ONDBLCLICK:
            return u"dblclick";
        default:
            return u"mousemove";
    }
}

bool Disabled(const Node& element) {
    return IsFormControl(element) && element.HasAttribute(u"disabled");
}

}  // namespace

Node& ElementUnderPointer(Node& element) {
    if (IsFormControl(element)) return element;
    Node* n = element.firstChild ? &element : nullptr;
    while (n) {
        if (n->IsElement() && n != &element && SkipsRendering(*n)) {
            n = NextSkippingChildren(n, &element);
            continue;
        }
        if (n->kind == NodeKind::Text && HasVisibleText(*n) && n->parent) return *n->parent;
        n = NextInSubtree(n, &element);
    }
    return element;
}

void FireMouseEvent(WebBrowser& browser, HtmlDocument& document, DISPID id, Node& source,
                    bool alt) {
    DocumentServices* services = browser.Document() == &document ? browser.Services() : nullptr;
    if (!services) return;
    CComPtr<DocumentServices> keep(services);
    auto* event = new (std::nothrow) HtmlEventObject(document, source, EventType(id), alt, 0);
    if (!event) return;
    CComPtr<IHTMLEventObj> hold(event);
    services->FireEvent(id, event);
}

HRESULT ClickElement(WebBrowser& browser, HtmlDocument& document, Node& source, bool alt) {
    if (Disabled(source)) return S_OK;
    CComPtr<WebBrowser> keepBrowser(&browser);
    CComPtr<HtmlDocument> keepDocument(&document);
    FireMouseEvent(browser, document, DISPID_HTMLDOCUMENTEVENTS2_ONCLICK, source, alt);
    // The event's handlers may have replaced the page.
    if (browser.IsClosed() || browser.Document() != &document) return S_OK;
    for (Node* n = &source; n && n->IsElement(); n = n->parent) {
        if ((n->Is(GUMBO_TAG_A) || n->Is(GUMBO_TAG_AREA)) && n->HasAttribute(u"href"))
            return FollowLink(browser, document, *n, false);
        if (n->Is(GUMBO_TAG_INPUT)) {
            const std::u16string type = ControlType(*n);
            if (type == u"checkbox") SetChecked(*n, !IsChecked(*n), document.Tree());
            if (type == u"radio") SetChecked(*n, true, document.Tree());
            if (type == u"submit" || type == u"image")
                if (Node* form = FormOwner(*n, document.Tree()))
                    return SubmitForm(browser, document, *form, n);
            return S_OK;
        }
        if (n->Is(GUMBO_TAG_BUTTON)) {
            if (ControlType(*n) == u"submit")
                if (Node* form = FormOwner(*n, document.Tree()))
                    return SubmitForm(browser, document, *form, n);
            return S_OK;
        }
    }
    return S_OK;
}

HRESULT DoubleClickElement(WebBrowser& browser, HtmlDocument& document, Node& element, bool alt) {
    CComPtr<WebBrowser> keepBrowser(&browser);
    CComPtr<HtmlDocument> keepDocument(&document);
    // The word is selected by the second press, before the event fires.
    const Selection word = SelectWordAt(element, 0);
    if (word.kind == Selection::Kind::None)
        document.ClearSelection();
    else
        document.Select(word);
    FireMouseEvent(browser, document, DISPID_HTMLDOCUMENTEVENTS2_ONDBLCLICK,
                   ElementUnderPointer(element), alt);
    return S_OK;
}

HRESULT SubmitForm(WebBrowser& browser, HtmlDocument& document, Node& form, const Node* submitter) {
    const FormSubmission submission = BuildFormSubmission(document, form, submitter);
    if (IsScriptUrl(submission.url)) return S_OK;
    NavigationRequest request;
    request.url = submission.url;
    request.target = submission.target;
    request.post = submission.post;
    request.postData = submission.body;
    request.headers = submission.headers;
    return browser.Go(request);
}

HRESULT FollowLink(WebBrowser& browser, HtmlDocument& document, const Node& link, bool newWindow) {
    const std::u16string href = link.AttributeOr(u"href");
    if (IsScriptUrl(href)) return S_OK;
    const std::u16string url = document.ResolveLink(href);
    Url to = ParseUrl(url), from = ParseUrl(document.Url());
    if (to.hasFragment && !newWindow) {
        to.hasFragment = from.hasFragment = false;
        to.fragment.clear();
        from.fragment.clear();
        if (to.ToString() == from.ToString()) return S_OK;  // a place in this page
    }
    NavigationRequest request;
    request.url = url;
    if (newWindow)
        request.flags = navOpenInNewWindow;
    else
        request.target = link.AttributeOr(u"target");
    return browser.Go(request);
}

}  // namespace browser
