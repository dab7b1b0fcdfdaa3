// The probe behind the login items of the context menus and the save-login
// prompt: whether an element belongs to a login form, and whether a login
// is stored for its site. It keeps the login-form state the other login
// commands fall back on.
#include "addon/edit_html.h"
#include "addon/login/login_form.h"
#include "addon/login/login_messages.h"
#include "addon/login/login_statements.h"
#include "addon/login/login_store.h"
#include "addon/login/login_text.h"
#include "addon/login/site_key.h"

using namespace login;

namespace {

// Whether a captured login, or a typed-in one for the core name, exists;
// false with the error shown when the database fails.
bool FindStoredLogin(CEditHtml& addOn, const std::u16string& host, bool& found) {
    LoginStore store(addOn.m_db);
    std::vector<LoginRow> rows;
    bool ok = store.Query(login_sql::SelectSavedItems(host), rows);
    found = ok && !rows.empty();
    const std::u16string core = GetCoreDomainName(host);
    if (ok && !found && !core.empty()) {
        ok = store.Query(login_sql::SelectTypedDomains(core), rows);
        found = ok && !rows.empty();
    }
    if (!ok) ShowDatabaseError(addOn.m_hDocWnd, login_messages::kProbeError, store.Error());
    return ok;
}

}  // namespace

bool CEditHtml::CheckLoginForm(IDispatch* element) {
    CComQIPtr<IHTMLInputElement> input(element);
    CComPtr<IHTMLFormElement> form;
    if (!input || FAILED(input->get_form(&form)) || !form) return false;
    long length = 0;
    CComPtr<IHTMLElementCollection> inputs = FormInputs(form, length);
    CComPtr<IHTMLInputElement> password = FirstPasswordInput(inputs, length);
    if (!password) return false;

    m_spPasswordInput = password;
    std::u16string value = InputValue(password);
    m_bPasswordHasValue = value.empty() ? 0 : 1;
    WipeText(value);

    // A page without a host name (a local file) is no site: nothing is
    // stored for it and nothing can be.
    const std::u16string host = GetDocumentDomain(element);
    if (host.empty()) {
        m_bLoginSaved = 0;
        return false;
    }
    bool found = false;
    FindStoredLogin(*this, host, found);
    m_bLoginSaved = found ? 1 : 0;
    return true;
}
