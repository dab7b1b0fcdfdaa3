// The About dialog, with its button that opens the help page beside the
// add-on library.
#pragma once

#include <string>

#include "addon/resources/resource_ids.h"
#include "platform/ui/atl_dialog.h"

class CAboutDlg : public CDialogImpl<CAboutDlg> {
public:
    enum { IDD = IDD_ABOUTBOX };

    BEGIN_MSG_MAP(CAboutDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnClose)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    COMMAND_ID_HANDLER(IDC_KESTRO_HELP, OnHelp)
    END_MSG_MAP()

    std::u16string m_strAddonDir;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(WORD, WORD id, HWND, BOOL&);
    LRESULT OnHelp(WORD, WORD, HWND, BOOL&);
};
