// The account chooser: one label per saved account of a site, sorted by
// the list box; it closes only through OK with an account chosen.
#pragma once

#include <string>
#include <vector>

#include "addon/login/login_ids.h"
#include "platform/ui/atl_dialog.h"

class CSelectLoginDlg : public CDialogImpl<CSelectLoginDlg> {
public:
    enum { IDD = IDD_SELECT_LOGIN };

    BEGIN_MSG_MAP(CSelectLoginDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    END_MSG_MAP()

    // Filled by the caller before the dialog opens.
    std::vector<std::u16string> m_labels;
    // The chosen label and its position in m_labels (-1 until chosen). The
    // position tells accounts with the same label apart, and an account
    // named like the label of the unnamed one from that one.
    std::u16string m_strChosen;
    int m_nChosen = -1;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
};

namespace login {

// The label of an account: its name, or "(Default)" without one.
std::u16string AccountLabel(const std::u16string& account);
// Lets the user choose one of the accounts; its position, or -1 when the
// dialog could not be shown.
int ChooseAccount(const std::vector<std::u16string>& accounts);

}  // namespace login
