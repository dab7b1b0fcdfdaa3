#include "addon/login/ask_save_login_dlg.h"

LRESULT CAskSaveLogin::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CenterWindow(GetParent());
    return TRUE;
}

LRESULT CAskSaveLogin::OnYes(WORD, WORD, HWND, BOOL&) {
    m_bDontAskAgain = IsDlgButtonChecked(IDC_ASK_DONT_ASK) == BST_CHECKED;
    EndDialog(IDYES);
    return 0;
}

LRESULT CAskSaveLogin::OnNo(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDNO);
    return 0;
}
