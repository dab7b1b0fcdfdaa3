// Automatic login: the first completed page of the chosen site gets its
// login form filled and submitted. Pages of other hosts in between (such
// as redirections) leave the login pending.
#include "addon/edit_html.h"
#include "addon/login/fill_login.h"
#include "addon/login/login_form.h"
#include "addon/login/login_messages.h"
#include "addon/login/login_text.h"
#include "addon/login/site_key.h"
#include "platform/ui/message_box.h"

using namespace login;

namespace {

CComPtr<IHTMLElementCollection> ElementsByTag(IHTMLElement2* scope, const char16_t* tag) {
    CComBSTR name(tag);
    CComPtr<IHTMLElementCollection> found;
    if (!scope || FAILED(scope->getElementsByTagName(name, &found))) return nullptr;
    return found;
}

long LengthOf(IHTMLElementCollection* items) {
    long length = 0;
    if (!items || FAILED(items->get_length(&length))) return 0;
    return length;
}

// The first password input of the page (frames are not searched).
CComPtr<IHTMLInputElement> PagePasswordInput(IHTMLDocument2* document) {
    CComQIPtr<IHTMLDocument3> page(document);
    CComBSTR tag(u"INPUT");
    CComPtr<IHTMLElementCollection> inputs;
    if (!page || FAILED(page->getElementsByTagName(tag, &inputs)) || !inputs) return nullptr;
    const long length = LengthOf(inputs);
    for (long i = 0; i < length; ++i) {
        CComQIPtr<IHTMLInputElement> input(ItemAt(inputs, i));
        std::u16string type;
        if (input && InputType(input, type) && type == u"password")
            return CComPtr<IHTMLInputElement>(input);
    }
    return nullptr;
}

bool ClickFirst(IHTMLElementCollection* items, bool (*fits)(IDispatch*)) {
    const long length = LengthOf(items);
    for (long i = 0; i < length; ++i) {
        CComPtr<IDispatch> item = ItemAt(items, i);
        if (!item || !fits(item)) continue;
        CComQIPtr<IHTMLElement> element(item);
        return element && SUCCEEDED(element->click());
    }
    return false;
}

bool IsSubmittingInput(IDispatch* item) {
    CComQIPtr<IHTMLInputElement> input(item);
    std::u16string type;
    return input && InputType(input, type) &&
           (type == u"submit" || type == u"image" || type == u"button");
}

bool IsAnything(IDispatch*) {
    return true;
}

bool IsScriptLink(IDispatch* item) {
    CComQIPtr<IHTMLElement> link(item);
    CComBSTR name(u"HREF");
    CComVariant href;
    if (!link || FAILED(link->getAttribute(name, 0, &href)) || href.vt != VT_BSTR) return false;
    return BstrText(href.bstrVal).compare(0, 11, u"javascript:") == 0;
}

// A submitting input, else a button, else a script link, else the form's
// own submit; nothing when the form's inputs or links cannot be listed.
void SubmitLoginForm(IHTMLFormElement* form) {
    CComQIPtr<IHTMLElement2> scope(form);
    CComPtr<IHTMLElementCollection> inputs = ElementsByTag(scope, u"INPUT");
    if (!inputs) return;
    if (ClickFirst(inputs, IsSubmittingInput)) return;
    if (ClickFirst(ElementsByTag(scope, u"BUTTON"), IsAnything)) return;
    CComPtr<IHTMLElementCollection> links = ElementsByTag(scope, u"A");
    if (!links) return;
    if (ClickFirst(links, IsScriptLink)) return;
    form->submit();
}

}  // namespace

void CEditHtml::AutoLogin(IHTMLDocument2* document) {
    if (m_strAutoLoginSite.empty()) return;
    // A page without a host name is no page of the site either.
    const std::u16string host = GetLocationHostName(document);
    if (host.empty() || host != m_strAutoLoginSite) return;
    m_strAutoLoginSite.clear();

    CComPtr<IHTMLInputElement> password = PagePasswordInput(document);
    CComPtr<IHTMLFormElement> form;
    if (!password || FAILED(password->get_form(&form)) || !form) {
        MessageBoxW(m_hDocWnd, login_messages::kNoLoginForm, login_messages::kAutoLoginTitle,
                    MB_OK);
        return;
    }
    // Submitting what was not filled would only send an empty login.
    const FillOutcome filled = FillLogin(*this, password);
    if (filled.wroteLogin && filled.wrotePassword) SubmitLoginForm(form);
}
