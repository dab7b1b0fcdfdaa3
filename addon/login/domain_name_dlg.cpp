#include "addon/login/domain_name_dlg.h"

#include "addon/login/login_messages.h"
#include "platform/ui/message_box.h"

LRESULT CDomainNameDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    DoDataExchange(FALSE);
    CenterWindow(GetParent());
    return TRUE;
}

// A site without a favor name could not be told apart in the list of
// registered sites.
LRESULT CDomainNameDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    DoDataExchange(TRUE);
    if (m_strFavorName.empty()) {
        MessageBoxW(m_hWnd, login_messages::kTypeFavorName, login_messages::kFavorNameTitle, MB_OK);
        return 0;
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CDomainNameDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
