// The Options dialog: seven of the settings, the default save folder
// browser and the buttons that start the login data tool.
#pragma once

#include <string>

#include "addon/resources/resource_ids.h"
#include "platform/ui/atl_ddx.h"
#include "platform/ui/atl_dialog.h"

class COptionDlg : public CDialogImpl<COptionDlg>, public CWinDataExchange<COptionDlg> {
public:
    enum { IDD = IDD_OPTION };

    BEGIN_MSG_MAP(COptionDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_BROWSE_FOLDER, OnBrowseFolder)
    COMMAND_ID_HANDLER(IDC_IMPORT_LOGIN, OnStartTool)
    COMMAND_ID_HANDLER(IDC_EXPORT_LOGIN, OnStartTool)
    COMMAND_ID_HANDLER(IDC_INPUT_LOGIN, OnStartTool)
    END_MSG_MAP()

    // The links field comes before the ask-save box: a links text that is
    // not a number stops the exchange there.
    BEGIN_DDX_MAP(COptionDlg)
    DDX_CHECK(IDC_APPEND_URL, m_bAppendUrl)
    DDX_TEXT(IDC_SAVE_FOLDER, m_strDefaultSaveFolder)
    DDX_CHECK(IDC_OPEN_NEW_WINDOW, m_bOpenNewWindow)
    DDX_CHECK(IDC_DBLCLICK_CLOSE, m_bDblClickClose)
    DDX_CHECK(IDC_OPEN_PDF_NEW_WINDOW, m_bOpenPdfNewWindow)
    DDX_INT(IDC_MAX_LINKS, m_nMaxLinks)
    DDX_CHECK(IDC_ASK_SAVE_LOGIN, m_bAskSaveLogin)
    END_DDX_MAP()

    DWORD m_bAppendUrl = 0;
    std::u16string m_strDefaultSaveFolder;
    DWORD m_bOpenNewWindow = 0;
    DWORD m_bDblClickClose = 0;
    DWORD m_bOpenPdfNewWindow = 0;
    LONG m_nMaxLinks = 0;
    DWORD m_bAskSaveLogin = 0;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnBrowseFolder(WORD, WORD, HWND, BOOL&);
    LRESULT OnStartTool(WORD, WORD id, HWND, BOOL&);
};
