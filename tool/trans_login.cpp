#include "tool/trans_login.h"

#include <vector>

#include "platform/ui/mfc_file_dialog.h"
#include "platform/win/full_path.h"
#include "store/crypt_str.h"
#include "tool/login_database_path.h"
#include "tool/login_export.h"
#include "tool/login_import.h"

namespace {

// The longest full path an export target may have.
constexpr DWORD kMaxFullPath = 4096;

}  // namespace

BEGIN_MESSAGE_MAP(CTransLogin, CDialog)
ON_BN_CLICKED(IDOK, OnTransfer)
ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

void CTransLogin::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TRANS_PATH, m_strPath);
    DDX_Control(pDX, IDOK, m_btnOk);
}

BOOL CTransLogin::OnInitDialog() {
    CDialog::OnInitDialog();
    m_btnOk.SetWindowText(m_bImport ? u"Import" : u"Export");
    if (CWnd* otherNote = GetDlgItem(m_bImport ? IDC_EXPORT_NOTE : IDC_IMPORT_NOTE))
        otherNote->ShowWindow(SW_HIDE);
    return TRUE;
}

void CTransLogin::OnBrowse() {
    CFileDialog chooser(m_bImport ? TRUE : FALSE, u"dat", nullptr, OFN_OVERWRITEPROMPT,
                        u"Data Files (*.dat)||", this);
    if (chooser.DoModal() != IDOK) return;
    m_strPath = chooser.GetPathName();
    UpdateData(FALSE);
}

void CTransLogin::OnTransfer() {
    UpdateData(TRUE);
    CCryptStr crypt;
    const std::u16string localPath = LoginDatabasePath();
    if (!FileExists(localPath)) {
        ShowError(u"Cannot find the login database file.");
        return;
    }
    TransferResult result;
    if (m_bImport) {
        result = ImportLoginData(crypt, localPath, m_strPath);
    } else {
        if (!ConfirmExportPath()) return;
        result = ExportLoginData(crypt, localPath, m_strPath);
    }
    if (!result.Done()) {
        ShowError(result.message, result.title);
        return;
    }
    EndDialog(IDOK);
}

bool CTransLogin::ConfirmExportPath() {
    if (!m_strPath.empty() && m_strPath[0] == u'/') return true;
    std::vector<char16_t> full(kMaxFullPath);
    const DWORD length =
        m_strPath.empty() ? 0
                          : GetFullPathNameW(m_strPath.c_str(), kMaxFullPath, full.data(), nullptr);
    if (length == 0 || length >= kMaxFullPath) {
        ShowError(u"File name is invalid.");
        return false;
    }
    const std::u16string fullPath(full.data(), length);
    const std::u16string question = u"Do you want the exported data to be saved into " + fullPath;
    if (MessageBox(question.c_str(), u"Kestro", MB_YESNO) != IDYES) return false;
    m_strPath = fullPath;
    return true;
}

void CTransLogin::ShowError(const std::u16string& text, const std::u16string& title) {
    MessageBox(text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}
