// The save-login prompt: Yes or No, and "Don't ask me next time", which
// counts only with Yes.
#pragma once

#include "addon/login/login_ids.h"
#include "platform/ui/atl_dialog.h"

class CAskSaveLogin : public CDialogImpl<CAskSaveLogin> {
public:
    enum { IDD = IDD_ASK_SAVE_LOGIN };

    BEGIN_MSG_MAP(CAskSaveLogin)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnYes)
    COMMAND_ID_HANDLER(IDCANCEL, OnNo)
    END_MSG_MAP()

    // Set from the check box when the user answers Yes.
    bool m_bDontAskAgain = false;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnYes(WORD, WORD, HWND, BOOL&);
    LRESULT OnNo(WORD, WORD, HWND, BOOL&);
};
