#include "addon/option_dlg.h"

#include "addon/edit_html.h"
#include "addon/farrow_module.h"
#include "platform/ui/folder_chooser.h"
#include "platform/ui/message_box.h"
#include "platform/ui/shell_execute.h"

namespace {

// A check box takes 0, 1 or 2; anything else shows as unchecked.
void KeepCheckState(DWORD& value) {
    if (value > 2) value = 0;
}

}  // namespace

LRESULT COptionDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    for (DWORD* flag : {&m_bAppendUrl, &m_bOpenNewWindow, &m_bDblClickClose, &m_bOpenPdfNewWindow,
                        &m_bAskSaveLogin})
        KeepCheckState(*flag);
    DoDataExchange(FALSE);
    CenterWindow(GetParent());
    return TRUE;
}

// A links text that is not a number keeps the dialog open (with a beep
// and the focus on the field) so that no other change is lost.
LRESULT COptionDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    if (!DoDataExchange(TRUE)) return 0;
    if (m_nMaxLinks > 0) {
        EndDialog(IDOK);
        return 0;
    }
    MessageBoxW(m_hWnd, u"Invalid maximum number of links!", u"Kestro - Error", MB_ICONERROR);
    return 0;
}

LRESULT COptionDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT COptionDlg::OnBrowseFolder(WORD, WORD, HWND, BOOL&) {
    BROWSEINFOW info{};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = u"Select or create the default file save folder.";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderW(&info);
    if (!chosen) return 0;
    char16_t path[MAX_PATH] = {};
    const bool converted = SHGetPathFromIDListW(chosen, path);
    if (!converted)
        MessageBoxW(m_hWnd, u"Invalid folder selected!", u"Kestro - Error", MB_ICONERROR);
    CComPtr<IMalloc> allocator;
    if (SUCCEEDED(SHGetMalloc(&allocator))) allocator->Free(chosen);
    if (!converted) return 0;
    m_strDefaultSaveFolder = path;
    DoDataExchange(FALSE);
    return 0;
}

LRESULT COptionDlg::OnStartTool(WORD, WORD id, HWND, BOOL&) {
    const char16_t* parameters = id == IDC_IMPORT_LOGIN   ? u"/import"
                                 : id == IDC_EXPORT_LOGIN ? u"/export"
                                                          : nullptr;
    ShellExecuteW(m_hWnd, nullptr, _AtlModule.m_strToolPath.c_str(), parameters, nullptr,
                  SW_SHOWNORMAL);
    return 0;
}

void CEditHtml::ShowOptions() {
    COptionDlg dialog;
    dialog.m_bAppendUrl = m_bAppendUrl;
    dialog.m_strDefaultSaveFolder = m_strDefaultSaveFolder;
    dialog.m_bOpenNewWindow = m_bOpenNewWindow;
    dialog.m_bDblClickClose = m_bDblClickClose;
    dialog.m_bOpenPdfNewWindow = m_bOpenPdfNewWindow;
    dialog.m_nMaxLinks = static_cast<LONG>(m_nMaxLinks);
    dialog.m_bAskSaveLogin = m_bAskSaveLogin;
    if (dialog.DoModal(GetActiveWindow()) != IDOK) return;
    ChangeSettings([&] {
        m_bAppendUrl = dialog.m_bAppendUrl;
        m_strDefaultSaveFolder = dialog.m_strDefaultSaveFolder;
        m_bOpenNewWindow = dialog.m_bOpenNewWindow;
        m_bDblClickClose = dialog.m_bDblClickClose;
        m_bOpenPdfNewWindow = dialog.m_bOpenPdfNewWindow;
        m_nMaxLinks = static_cast<DWORD>(dialog.m_nMaxLinks);
        m_bAskSaveLogin = dialog.m_bAskSaveLogin;
    });
}
