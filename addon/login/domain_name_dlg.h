// The favor-name dialog of login capture: the name the site is listed
// under, and its host name for reference.
#pragma once

#include <string>

#include "addon/login/login_ids.h"
#include "platform/ui/atl_ddx.h"
#include "platform/ui/atl_dialog.h"

class CDomainNameDlg : public CDialogImpl<CDomainNameDlg>, public CWinDataExchange<CDomainNameDlg> {
public:
    enum { IDD = IDD_DOMAIN_NAME };

    BEGIN_MSG_MAP(CDomainNameDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CDomainNameDlg)
    DDX_TEXT(IDC_DOMAIN_FAVOR_NAME, m_strFavorName)
    DDX_TEXT(IDC_DOMAIN_URL, m_strDomain)
    END_DDX_MAP()

    std::u16string m_strFavorName;
    std::u16string m_strDomain;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};
