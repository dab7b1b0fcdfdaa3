#include "tool/quillet_dlg.h"

#include <vector>

#include "platform/ui/mfc_app.h"
#include "platform/ui/string_resource.h"
#include "platform/win/text.h"
#include "store/login_schema.h"
#include "tool/column_text.h"
#include "tool/login_database_path.h"

namespace {

constexpr char16_t kTitle[] = u"Kestro";
constexpr char16_t kHiddenPassword[] = u"************";
constexpr char16_t kSelectInputDomainHead[] =
    u"select DomainName from logininput where DomainName = '";

// A text literal of the statement language: quotes doubled.
std::u16string Quoted(const std::u16string& text) {
    std::u16string quoted;
    for (char16_t c : text) {
        quoted += c;
        if (c == u'\'') quoted += c;
    }
    return quoted;
}

enum Column { kDomainColumn, kLoginNameColumn, kClearPasswordColumn, kPasswordColumn };

}  // namespace

BEGIN_MESSAGE_MAP(CQuilletDlg, CDialog)
ON_BN_CLICKED(IDOK, OnAddLogin)
ON_BN_CLICKED(IDC_DELETE_LOGIN, OnDeleteLogin)
ON_NOTIFY(NM_DBLCLK, IDC_LOGIN_LIST, OnDblclkList)
END_MESSAGE_MAP()

CQuilletDlg::CQuilletDlg(CWnd* parent) : CDialog(IDD, parent) {
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME)
                          : LoadIconW(nullptr, MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CQuilletDlg::~CQuilletDlg() {
    WipeText(m_strLoginName);
    WipeText(m_strPassword);
}

void CQuilletDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DOMAIN, m_strDomain);
    DDX_Text(pDX, IDC_LOGIN_NAME, m_strLoginName);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDX_Control(pDX, IDC_LOGIN_LIST, m_list);
}

BOOL CQuilletDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    InsertColumns();
    if (OpenDatabase()) LoadLogins();
    return TRUE;
}

void CQuilletDlg::InsertColumns() {
    RECT client{};
    m_list.GetClientRect(&client);
    const int quarter = static_cast<int>(client.right - client.left) / 4;
    m_list.InsertColumn(kDomainColumn, u"Domain Name", LVCFMT_LEFT, 2 * quarter);
    m_list.InsertColumn(kLoginNameColumn, u"Login Name", LVCFMT_LEFT, quarter);
    // Hidden: keeps the clear password for editing.
    m_list.InsertColumn(kClearPasswordColumn, u"Hiden", LVCFMT_LEFT, 0);
    m_list.InsertColumn(kPasswordColumn, u"Password", LVCFMT_LEFT, quarter);
}

bool CQuilletDlg::OpenDatabase() {
    const std::u16string path = LoginDatabasePath();
    if (!FileExists(path)) {
        ShowError(u"Cannot find the login database file.", kTitle);
        EndDialog(IDCANCEL);
        return false;
    }
    if (!m_db.OpenDb(path)) {
        ShowError(u"Cannot open the login database file.", kTitle);
        EndDialog(IDCANCEL);
        return false;
    }
    return true;
}

// A value that cannot be decrypted (written by another user) is listed as
// empty text, without a message.
void CQuilletDlg::LoadLogins() {
    FieldsPtr fields = m_db.OpenRecordset(login_schema::kSelectAllLoginInput, false);
    if (!fields) return;
    try {
        const long count = m_db.m_pRecordset->GetRecordCount();
        for (long row = 0; row < count; ++row) {
            const std::u16string domain = ColumnText(fields, 0);
            std::u16string loginName, password;
            UnprotectColumn(m_crypt, ColumnText(fields, 1), loginName);
            UnprotectColumn(m_crypt, ColumnText(fields, 2), password);
            AddRow(domain, loginName, password);
            WipeText(loginName);
            WipeText(password);
            m_db.m_pRecordset->MoveNext();
        }
    } catch (const _com_error& e) {
        // The rows read so far stay listed.
        ShowError(DbErrorText(e).c_str(), kDbErrorTitle);
    }
}

void CQuilletDlg::AddRow(const std::u16string& domain, const std::u16string& loginName,
                         const std::u16string& password) {
    const int item = m_list.InsertItem(m_list.GetItemCount(), domain.c_str());
    m_list.SetItemText(item, kLoginNameColumn, loginName.c_str());
    m_list.SetItemText(item, kClearPasswordColumn, password.c_str());
    m_list.SetItemText(item, kPasswordColumn, kHiddenPassword);
}

int CQuilletDlg::FindDomain(const std::u16string& domain) {
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = domain.c_str();
    return m_list.FindItem(&find, -1);
}

void CQuilletDlg::OnAddLogin() {
    UpdateData(TRUE);
    if (m_strDomain.empty() || m_strLoginName.empty() || m_strPassword.empty()) {
        ShowError(u"All input fields must not be empty.", kTitle);
        return;
    }
    m_strDomain = WideLower(m_strDomain);
    const int found = FindDomain(m_strDomain);

    // Never stored in clear or as empty text when encryption fails.
    std::vector<std::u16string> params(3);
    if (!ProtectColumn(m_crypt, m_strLoginName, params[0]) ||
        !ProtectColumn(m_crypt, m_strPassword, params[1])) {
        ShowError(u"Cannot encrypt login data.", kTitle);
        return;
    }
    params[2] = m_strDomain;

    if (!StoreLogin(found >= 0, params)) {
        ShowError(m_db.m_strError.c_str(), kDbErrorTitle);
        return;
    }
    if (found < 0) {
        AddRow(m_strDomain, m_strLoginName, m_strPassword);
    } else {
        m_list.SetItemText(found, kLoginNameColumn, m_strLoginName.c_str());
        m_list.SetItemText(found, kClearPasswordColumn, m_strPassword.c_str());
    }
    ClearInput();
}

// The list mirrors the table as it was at start: another process may have
// deleted a listed domain since, and an update would then store nothing.
bool CQuilletDlg::StoreLogin(bool listed, const std::vector<std::u16string>& params) {
    if (!listed) return m_db.ExecuteSql(login_schema::kInsertLoginInput, params);
    if (!m_db.ExecuteSql(login_schema::kUpdateLoginInput, params)) return false;
    const std::u16string domain = params[2];
    if (m_db.OpenRecordset(kSelectInputDomainHead + Quoted(domain) + u"'", false)) return true;
    if (!m_db.m_strError.empty()) return false;
    return m_db.ExecuteSql(login_schema::kInsertLoginInput, params);
}

void CQuilletDlg::OnDeleteLogin() {
    UpdateData(TRUE);
    if (m_strDomain.empty()) {
        ShowError(u"Domain name must not be empty.", kTitle);
        return;
    }
    m_strDomain = WideLower(m_strDomain);
    const int found = FindDomain(m_strDomain);
    if (found < 0) {
        ShowError(u"Domain name is not existing in DB.", kTitle);
        return;
    }
    if (!m_db.ExecuteSql(login_schema::kDeleteLoginInput, {m_strDomain})) {
        ShowError(m_db.m_strError.c_str(), kDbErrorTitle);
        return;
    }
    m_list.DeleteItem(found);
    ClearInput();
}

void CQuilletDlg::OnDblclkList(NMHDR* header, LRESULT* result) {
    const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(header);
    if (activate->iItem < 0) {
        ClearInput();
    } else {
        m_strDomain = m_list.GetItemText(activate->iItem, kDomainColumn);
        m_strLoginName = m_list.GetItemText(activate->iItem, kLoginNameColumn);
        m_strPassword = m_list.GetItemText(activate->iItem, kClearPasswordColumn);
        UpdateData(FALSE);
    }
    *result = 0;
}

void CQuilletDlg::ClearInput() {
    m_strDomain.clear();
    WipeText(m_strLoginName);
    WipeText(m_strPassword);
    UpdateData(FALSE);
}

void CQuilletDlg::ShowError(LPCWSTR text, LPCWSTR title) {
    MessageBox(text, title, MB_OK | MB_ICONERROR);
}
