// Login deletion: every saved login of the page's site, or the one account
// the user chooses when there are several. Typed-in logins stay.
#include "addon/edit_html.h"
#include "addon/login/login_form.h"
#include "addon/login/login_messages.h"
#include "addon/login/login_statements.h"
#include "addon/login/login_store.h"
#include "addon/login/select_login_dlg.h"
#include "addon/login/site_key.h"
#include "platform/ui/message_box.h"

using namespace login;

void CEditHtml::DeleteLoginData(IDispatch* element) {
    if (!IsDbOpen(m_db)) return;
    if (MessageBoxW(m_hDocWnd, login_messages::kDeleteQuestion, login_messages::kDeleteTitle,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    CComPtr<IHTMLInputElement> input = CommandInput(element, m_spPasswordInput);
    CComPtr<IHTMLFormElement> form;
    if (!input || FAILED(input->get_form(&form)) || !form || !CComQIPtr<IHTMLFormElement3>(form))
        return;
    const std::u16string host = GetDocumentDomain(element);
    // A page without a host name has no saved login.
    if (host.empty()) return;

    LoginStore store(m_db);
    std::vector<LoginRow> rows;
    if (!store.Query(login_sql::SelectAccountNames(host), rows))
        return ShowDatabaseError(m_hDocWnd, login_messages::kDeleteError, store.Error());
    CAdoStatement statement = login_sql::DeleteHostLogins(host);
    if (rows.size() > 1) {
        std::vector<std::u16string> accounts;
        for (const LoginRow& row : rows) accounts.push_back(row.front());
        const int chosen = ChooseAccount(accounts);
        if (chosen < 0) return;
        statement = login_sql::DeleteAccountLogin(host, accounts[static_cast<std::size_t>(chosen)]);
    }
    if (!store.Execute({statement}))
        return ShowDatabaseError(m_hDocWnd, login_messages::kDeleteError, store.Error());
    m_bLoginSaved = 0;
}
