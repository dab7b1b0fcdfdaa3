// Registered sites: the sites whose login page is known, listed for the
// user to go to (and log in to at once), or to unregister.
#include "addon/edit_html.h"
#include "addon/login/go_dlg.h"
#include "addon/login/login_messages.h"
#include "addon/login/login_statements.h"
#include "addon/login/login_store.h"
#include "platform/ui/message_box.h"
#include "store/login_schema.h"

using namespace login;

namespace {

void NavigateTo(IWebBrowser2* browser, const std::u16string& url) {
    if (!browser) return;
    CComBSTR address(std::u16string_view{url});
    CComVariant flags(0);
    CComVariant targetFrame(u"");
    CComVariant postData, headers;
    browser->Navigate(address, &flags, &targetFrame, &postData, &headers);
}

// Unregisters the removed sites and goes to the chosen one; false when
// the database failed.
bool ApplySiteChoice(CEditHtml& addOn, LoginStore& store, const CGoDlg& dialog, bool logIn) {
    if (!dialog.m_removed.empty() && !store.Execute({login_sql::ClearLoginUrls(dialog.m_removed)}))
        return false;
    if (dialog.m_strChosenHost.empty()) return true;
    std::vector<LoginRow> rows;
    if (!store.Query(login_sql::SelectLoginUrl(dialog.m_strChosenHost), rows)) return false;
    if (rows.empty()) return true;
    if (logIn) addOn.m_strAutoLoginSite = dialog.m_strChosenHost;
    NavigateTo(addOn.m_spWebBrowser, rows.front().front());
    return true;
}

}  // namespace

void CEditHtml::GoRegisteredSites() {
    if (!EnsureDbOpen()) {
        MessageBoxW(m_hDocWnd, login_messages::kDatabaseNotAccessible,
                    login_messages::kSitesDatabaseErrorTitle, MB_ICONERROR);
        return;
    }
    LoginStore store(m_db);
    std::vector<LoginRow> rows;
    if (!store.Query({login_schema::kSelectRegisteredSites, {}}, rows))
        return ShowDatabaseError(m_hDocWnd, login_messages::kSitesError, store.Error(),
                                 login_messages::kSitesDatabaseErrorTitle);
    if (rows.empty()) {
        MessageBoxW(m_hDocWnd, login_messages::kNoSites, login_messages::kNoSitesTitle, MB_OK);
        return;
    }
    CGoDlg dialog;
    for (const LoginRow& row : rows) {
        dialog.m_hosts.push_back(row[0]);
        dialog.m_favors.push_back(row[1]);
    }
    const INT_PTR result = dialog.DoModal(GetActiveWindow());
    if (result != IDOK && result != IDC_GO_LOGIN) return;
    if (!ApplySiteChoice(*this, store, dialog, result == IDOK))
        ShowDatabaseError(m_hDocWnd, login_messages::kSitesError, store.Error(),
                          login_messages::kSitesDatabaseErrorTitle);
}
