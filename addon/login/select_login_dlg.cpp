#include "addon/login/select_login_dlg.h"

#include "addon/login/login_messages.h"
#include "platform/ui/message_box.h"

LRESULT CSelectLoginDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        const LRESULT item = SendDlgItemMessage(IDC_SELECT_ACCOUNTS, LB_ADDSTRING, 0,
                                                reinterpret_cast<LPARAM>(m_labels[i].c_str()));
        if (item >= 0)
            SendDlgItemMessage(IDC_SELECT_ACCOUNTS, LB_SETITEMDATA, static_cast<WPARAM>(item),
                               static_cast<LPARAM>(i));
    }
    CenterWindow(GetParent());
    return TRUE;
}

// Escape and the close box are not handled: the caller needs an account.
LRESULT CSelectLoginDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    const LRESULT item = SendDlgItemMessage(IDC_SELECT_ACCOUNTS, LB_GETCURSEL);
    if (item != LB_ERR) {
        const LRESULT position =
            SendDlgItemMessage(IDC_SELECT_ACCOUNTS, LB_GETITEMDATA, static_cast<WPARAM>(item));
        if (position >= 0 && static_cast<std::size_t>(position) < m_labels.size()) {
            m_nChosen = static_cast<int>(position);
            m_strChosen = m_labels[static_cast<std::size_t>(position)];
        }
    }
    if (m_strChosen.empty()) {
        MessageBoxW(m_hWnd, login_messages::kSelectAccount, login_messages::kNoAccountTitle, MB_OK);
        return 0;
    }
    EndDialog(IDOK);
    return 0;
}

std::u16string login::AccountLabel(const std::u16string& account) {
    return account.empty() ? std::u16string(login_messages::kDefaultAccount) : account;
}

int login::ChooseAccount(const std::vector<std::u16string>& accounts) {
    CSelectLoginDlg dialog;
    for (const std::u16string& account : accounts) dialog.m_labels.push_back(AccountLabel(account));
    dialog.DoModal(GetActiveWindow());
    return dialog.m_nChosen;
}
