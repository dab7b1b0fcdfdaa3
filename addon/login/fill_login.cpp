#include "addon/login/fill_login.h"

#include <map>

#include "addon/edit_html.h"
#include "addon/login/item_list.h"
#include "addon/login/login_form.h"
#include "addon/login/login_messages.h"
#include "addon/login/login_statements.h"
#include "addon/login/login_store.h"
#include "addon/login/login_text.h"
#include "addon/login/select_login_dlg.h"
#include "addon/login/site_key.h"
#include "store/column_values.h"

using namespace login;

namespace {

// Item names that mark a saved login to be filled by position.
constexpr char16_t kLoginNameItem[] = u"autocomp_loginname";
constexpr char16_t kPasswordItem[] = u"autocomp_password";

// Columns of the saved-login queries.
enum SavedColumn { kItemNames, kItemValues, kPasswordValue, kAccountName };
// Columns of the typed-in login query.
enum TypedColumn { kLoginName, kLoginPassword };

class LoginFill {
public:
    LoginFill(CEditHtml& addOn, IHTMLFormElement* form, IHTMLFormElement3* namedItems,
              std::u16string host, std::u16string url)
        : m_addOn(addOn),
          m_form(form),
          m_namedItems(namedItems),
          m_host(std::move(host)),
          m_url(std::move(url)),
          m_store(addOn.m_db) {}
    ~LoginFill() {
        WipeTexts(m_byName);
        WipeTexts(m_values);
        WipeText(m_login);
        WipeText(m_password);
    }
    LoginFill(const LoginFill&) = delete;
    LoginFill& operator=(const LoginFill&) = delete;

    FillOutcome Run();

private:
    bool ChooseSavedRow(std::vector<LoginRow>& rows);
    bool FillFromSaved(const LoginRow& row);
    void ReadSavedPairs(const std::u16string& names, const std::u16string& values);
    int FillByName();
    bool ReadTypedLogin();
    void FillByPosition();
    void WriteBack(const std::u16string& loginName, const std::u16string& passwordName);
    void Written(IHTMLInputElement* input);

    HWND Owner() const { return m_addOn.m_hDocWnd; }

    CEditHtml& m_addOn;
    CComPtr<IHTMLFormElement> m_form;
    CComPtr<IHTMLFormElement3> m_namedItems;
    std::u16string m_host;
    std::u16string m_url;
    LoginStore m_store;

    bool m_fromSaved = false;
    std::u16string m_account;  // of the saved row filled
    std::map<std::u16string, std::u16string> m_byName;
    std::vector<std::u16string> m_values;
    std::u16string m_login;
    std::u16string m_password;
    FillOutcome m_outcome;
};

FillOutcome LoginFill::Run() {
    std::vector<LoginRow> rows;
    if (!ChooseSavedRow(rows)) return m_outcome;
    if (!rows.empty()) {
        m_fromSaved = true;
        if (!FillFromSaved(rows.front())) return m_outcome;
    } else if (!ReadTypedLogin()) {
        return m_outcome;
    }
    FillByPosition();
    return m_outcome;
}

// The rows of the site, narrowed to the chosen account when there are
// several; false when the fill ends here.
bool LoginFill::ChooseSavedRow(std::vector<LoginRow>& rows) {
    if (!m_store.Query(login_sql::SelectAccountRows(m_host), rows)) {
        ShowDatabaseError(Owner(), login_messages::kFillReadError, m_store.Error());
        return false;
    }
    if (rows.size() == 1) m_account = rows.front()[kAccountName];
    if (rows.size() <= 1) return true;
    std::vector<std::u16string> accounts;
    for (const LoginRow& row : rows) accounts.push_back(row[kAccountName]);
    const int chosen = ChooseAccount(accounts);
    if (chosen < 0) return false;
    m_account = accounts[static_cast<std::size_t>(chosen)];
    if (!m_store.Query(login_sql::SelectAccountLogin(m_host, m_account), rows)) {
        ShowDatabaseError(Owner(), login_messages::kFillReadError, m_store.Error());
        return false;
    }
    return true;
}

// By name, falling back to the first value and the password by position
// when fewer than two inputs took a value; true when the positional fill
// is to follow.
bool LoginFill::FillFromSaved(const LoginRow& row) {
    ClearTexts clear;
    std::u16string& values = clear.Add();
    if (!UnprotectColumn(m_addOn.m_crypt, row[kItemValues], values) ||
        (!row[kPasswordValue].empty() &&
         !UnprotectColumn(m_addOn.m_crypt, row[kPasswordValue], m_password))) {
        ShowLoginError(Owner(), login_messages::kSavedNotDecryptable);
        return false;
    }
    ReadSavedPairs(row[kItemNames], values);
    if (const auto login = m_byName.find(kLoginNameItem); login != m_byName.end()) {
        m_login = login->second;
        if (const auto password = m_byName.find(kPasswordItem); password != m_byName.end()) {
            WipeText(m_password);
            m_password = password->second;
        }
        WipeTexts(m_byName);
    }
    if (FillByName() < 2 && !m_values.empty()) {
        WipeText(m_login);
        m_login = m_values.front();
        if (m_password.empty()) m_password = m_values.back();
        WipeTexts(m_byName);
    }
    return m_byName.empty() && !m_login.empty();
}

// Pairs in step; the walk ends with the shorter list, and a name given
// twice keeps its first value.
void LoginFill::ReadSavedPairs(const std::u16string& names, const std::u16string& values) {
    const std::vector<std::u16string> nameList = SplitItems(names);
    std::vector<std::u16string> valueList = SplitItems(values);
    for (std::size_t i = 0; i < nameList.size() && i < valueList.size(); ++i) {
        m_byName.emplace(nameList[i], valueList[i]);
        m_values.push_back(valueList[i]);
    }
    WipeTexts(valueList);
}

// Only a single input of this form takes a value: a name shared by several
// elements, or naming something else, is passed over.
int LoginFill::FillByName() {
    int filled = 0;
    for (const auto& [name, value] : m_byName) {
        CComBSTR wanted(std::u16string_view{name});
        CComPtr<IDispatch> found;
        if (FAILED(m_namedItems->namedItem(wanted, &found)) || !found) continue;
        CComQIPtr<IHTMLInputElement> input(found);
        if (!input || !BelongsToForm(input, m_form) || !PutInputValue(input, value)) continue;
        Written(input);
        ++filled;
    }
    return filled;
}

bool LoginFill::ReadTypedLogin() {
    // An empty host has no core name; "%.%" would hand any local page
    // every typed-in login.
    const std::u16string core = GetCoreDomainName(m_host);
    if (core.empty()) return false;
    std::vector<LoginRow> rows;
    if (!m_store.Query(login_sql::SelectTypedLogin(core), rows)) {
        ShowDatabaseError(Owner(), login_messages::kFillReadError, m_store.Error());
        return false;
    }
    if (rows.empty()) return false;
    if (!UnprotectColumn(m_addOn.m_crypt, rows.front()[kLoginName], m_login)) {
        ShowLoginError(Owner(), login_messages::kTypedNameNotDecryptable);
        return false;
    }
    if (!UnprotectColumn(m_addOn.m_crypt, rows.front()[kLoginPassword], m_password)) {
        ShowLoginError(Owner(), login_messages::kTypedPasswordNotDecryptable);
        return false;
    }
    return true;
}

// The login into the first text input, the password into the first
// password input (which ends the walk); then the two names found become
// the site's saved login.
void LoginFill::FillByPosition() {
    long length = 0;
    CComPtr<IHTMLElementCollection> inputs = FormInputs(m_form, length);
    std::u16string loginName, passwordName;
    bool textFilled = false, passwordFilled = false;
    for (long i = 0; inputs && i < length && !passwordFilled; ++i) {
        CComQIPtr<IHTMLInputElement> input(ItemAt(inputs, i));
        if (!input) return;
        std::u16string type;
        InputType(input, type);
        if (type == u"text" && !textFilled) {
            PutInputValue(input, m_login);
            Written(input);
            loginName = InputName(input);
            textFilled = true;
        } else if (type == u"password") {
            PutInputValue(input, m_password);
            Written(input);
            passwordName = InputName(input);
            passwordFilled = true;
        }
    }
    if (textFilled && passwordFilled) WriteBack(loginName, passwordName);
}

void LoginFill::WriteBack(const std::u16string& loginName, const std::u16string& passwordName) {
    // The lists cannot hold a name or value with a line feed; the login
    // then stays as it was stored.
    if (!FitsItemList(loginName) || !FitsItemList(passwordName) || !FitsItemList(m_login) ||
        !FitsItemList(m_password))
        return;
    ClearTexts clear;
    std::u16string& values = clear.Add();
    values.reserve(m_login.size() + 1 + m_password.size());
    values.append(m_login).append(1, u'\n').append(m_password);
    const std::u16string names = JoinItems({loginName, passwordName});
    std::u16string protectedValues;
    if (!ProtectColumn(m_addOn.m_crypt, values, protectedValues))
        return ShowLoginError(Owner(), login_messages::kCannotEncryptLogin);
    const CAdoStatement statement =
        m_fromSaved
            ? login_sql::UpdateFilledLogin(names, protectedValues, m_url, passwordName, m_host,
                                           m_account)
            : login_sql::InsertFilledLogin(m_host, names, protectedValues, m_url, passwordName);
    if (!m_store.Execute({statement}))
        ShowDatabaseError(Owner(), login_messages::kFillWriteError, m_store.Error());
}

void LoginFill::Written(IHTMLInputElement* input) {
    std::u16string type;
    InputType(input, type);
    if (type == u"password")
        m_outcome.wrotePassword = true;
    else
        m_outcome.wroteLogin = true;
}

}  // namespace

FillOutcome login::FillLogin(CEditHtml& addOn, IDispatch* element) {
    if (!IsDbOpen(addOn.m_db)) return {};
    CComPtr<IHTMLInputElement> input = CommandInput(element, addOn.m_spPasswordInput);
    CComPtr<IHTMLFormElement> form;
    if (!input || FAILED(input->get_form(&form)) || !form) return {};
    CComQIPtr<IHTMLFormElement3> namedItems(form);
    long length = 0;
    CComPtr<IHTMLElementCollection> inputs = FormInputs(form, length);
    // Only the form that holds the password input is filled.
    if (!namedItems || !FirstPasswordInput(inputs, length)) return {};
    std::u16string url;
    std::u16string host = GetDocumentDomain(element, &url);
    // A page without a host name never matches a stored login.
    if (host.empty()) return {};
    LoginFill fill(addOn, form, namedItems, std::move(host), std::move(url));
    return fill.Run();
}

void CEditHtml::FillLoginData(IDispatch* element) {
    FillLogin(*this, element);
}
