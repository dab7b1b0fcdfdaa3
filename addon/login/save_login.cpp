// Login capture: the login form holding an input becomes one row of the
// site's saved logins, under the favor name the user gives the site;
// a site that already has rows is asked whether to replace or add.
#include "addon/edit_html.h"
#include "addon/login/captured_login.h"
#include "addon/login/domain_name_dlg.h"
#include "addon/login/item_list.h"
#include "addon/login/login_form.h"
#include "addon/login/login_messages.h"
#include "addon/login/login_statements.h"
#include "addon/login/login_store.h"
#include "addon/login/login_text.h"
#include "addon/login/site_key.h"
#include "platform/ui/message_box.h"
#include "store/column_values.h"

using namespace login;

namespace {

using login_sql::CapturedRow;

// AccountName in the rows of "select *".
constexpr std::size_t kAccountColumn = 6;

char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// The database compares account names as its unique index does: without
// regard to ASCII case.
bool SameAccount(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

std::u16string AccountOf(const LoginRow& row) {
    return row.size() > kAccountColumn ? row[kAccountColumn] : std::u16string();
}

// Yes: one stored row takes the new login whatever its account; among
// several, only the row of the captured account does (or it is added), so
// the other accounts stay as they are.
std::vector<CAdoStatement> ReplacePlan(const CapturedRow& row, const std::vector<LoginRow>& rows) {
    if (rows.size() == 1) return {login_sql::UpdateCaptured(row, AccountOf(rows.front()))};
    for (const LoginRow& stored : rows)
        if (SameAccount(AccountOf(stored), row.account))
            return {login_sql::UpdateCaptured(row, row.account)};
    return {login_sql::InsertCaptured(row)};
}

// No: the captured account's row is replaced, or added beside the others.
std::vector<CAdoStatement> AddAccountPlan(const CapturedRow& row) {
    return {login_sql::DeleteCapturedAccount(row.host, row.account),
            login_sql::InsertCaptured(row)};
}

// The protected forms of the values list and of the password.
bool ProtectLogin(CEditHtml& addOn, const CapturedLogin& login, CapturedRow& row) {
    std::u16string values = JoinItems(login.values);
    const bool protectedValues = ProtectColumn(addOn.m_crypt, values, row.values);
    WipeText(values);
    if (!protectedValues) {
        ShowLoginError(addOn.m_hDocWnd, login_messages::kCannotEncryptLogin);
        return false;
    }
    if (!login.password.empty() && !ProtectColumn(addOn.m_crypt, login.password, row.password)) {
        ShowLoginError(addOn.m_hDocWnd, login_messages::kCannotEncryptPassword);
        return false;
    }
    return true;
}

void StoreCapturedLogin(CEditHtml& addOn, const CapturedLogin& login, CapturedRow& row) {
    LoginStore store(addOn.m_db);
    std::vector<LoginRow> stored;
    if (!store.Query(login_sql::SelectCapturedRows(row.host), stored))
        return ShowDatabaseError(addOn.m_hDocWnd, login_messages::kCaptureError, store.Error());
    if (!ProtectLogin(addOn, login, row)) return;
    std::vector<CAdoStatement> plan;
    if (stored.empty()) {
        plan = {login_sql::InsertCaptured(row)};
    } else {
        const int answer = MessageBoxW(addOn.m_hDocWnd, login_messages::kReplaceQuestion,
                                       login_messages::kReplaceTitle, MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES)
            plan = ReplacePlan(row, stored);
        else if (answer == IDNO)
            plan = AddAccountPlan(row);
        else
            return;
    }
    // One transaction: a failing insert never loses the row it replaces.
    if (!store.Execute(plan))
        ShowDatabaseError(addOn.m_hDocWnd, login_messages::kCaptureError, store.Error());
}

}  // namespace

void CEditHtml::SaveLoginData(IDispatch* element) {
    CComPtr<IHTMLInputElement> input = CommandInput(element, m_spPasswordInput);
    CComPtr<IHTMLFormElement> form;
    if (!input || FAILED(input->get_form(&form)) || !form) return;
    long length = 0;
    CComPtr<IHTMLElementCollection> inputs = FormInputs(form, length);
    CapturedLogin login;
    if (!inputs || !CaptureLoginForm(inputs, length, login)) return;

    CapturedRow row;
    row.host = GetDocumentDomain(element, &row.url);
    // A page without a host name has no site to save the login for.
    if (row.host.empty()) return;
    CDomainNameDlg dialog;
    dialog.m_strFavorName = GetCoreDomainName(row.host);
    dialog.m_strDomain = row.host;
    if (dialog.DoModal(GetActiveWindow()) != IDOK) return;

    row.names = JoinItems(login.names);
    row.passwordName = login.passwordName;
    row.account = login.account;
    row.favorName = dialog.m_strFavorName;
    StoreCapturedLogin(*this, login, row);
}
