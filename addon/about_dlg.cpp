#include "addon/about_dlg.h"

#include "addon/edit_html.h"
#include "addon/farrow_module.h"
#include "platform/ui/shell_execute.h"
#include "platform/win/file_system.h"

LRESULT CAboutDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CenterWindow(GetParent());
    return TRUE;
}

LRESULT CAboutDlg::OnClose(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id);
    return 0;
}

// Without the help file beside the library the button does nothing.
LRESULT CAboutDlg::OnHelp(WORD, WORD, HWND, BOOL&) {
    const std::u16string help = m_strAddonDir + kHelpFileName;
    if (GetFileAttributesW(help.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    ShellExecuteW(m_hWnd, nullptr, help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    EndDialog(IDC_KESTRO_HELP);
    return 0;
}

void CEditHtml::ShowAbout() {
    CAboutDlg dialog;
    dialog.m_strAddonDir = _AtlModule.m_strAddonDir;
    dialog.DoModal(GetActiveWindow());
}
