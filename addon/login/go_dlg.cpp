#include "addon/login/go_dlg.h"

#include "addon/login/login_messages.h"
#include "addon/login/site_key.h"
#include "platform/ui/message_box.h"

LRESULT CGoDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                       LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    AddColumns();
    m_favors.resize(m_hosts.size());
    for (std::size_t i = 0; i < m_hosts.size(); ++i) {
        if (m_favors[i].empty()) m_favors[i] = GetSiteDisplayName(m_hosts[i]);
        AddRow(i);
    }
    SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                       reinterpret_cast<LPARAM>(&CompareFavors));
    CenterWindow(GetParent());
    return TRUE;
}

void CGoDlg::AddColumns() {
    RECT client{};
    ::GetClientRect(GetDlgItem(IDC_GO_SITE_LIST), &client);
    const int third = (client.right - client.left) / 3;
    const struct {
        const char16_t* heading;
        int width;
    } columns[] = {{u"Domain Name", third}, {u"Domain URL", third * 2}};
    for (int i = 0; i < 2; ++i) {
        std::u16string heading = columns[i].heading;
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = heading.data();
        column.iSubItem = i;
        SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&column));
    }
}

void CGoDlg::AddRow(std::size_t entry) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(entry);
    item.pszText = m_favors[entry].data();
    item.lParam = static_cast<LPARAM>(entry);
    const LRESULT row =
        SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (row < 0) return;
    LVITEMW host{};
    host.iSubItem = 1;
    host.pszText = m_hosts[entry].data();
    SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&host));
}

// By favor name, comparing UTF-16 code units.
int CALLBACK CGoDlg::CompareFavors(LPARAM first, LPARAM second, LPARAM dialog) {
    const auto* self = reinterpret_cast<const CGoDlg*>(dialog);
    const std::u16string& a = self->m_favors[static_cast<std::size_t>(first)];
    const std::u16string& b = self->m_favors[static_cast<std::size_t>(second)];
    return a < b ? -1 : b < a ? 1 : 0;
}

int CGoDlg::SelectedRow(std::size_t& entry) const {
    const auto row = static_cast<int>(SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_GETNEXTITEM,
                                                         static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return -1;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ||
        item.lParam < 0 || static_cast<std::size_t>(item.lParam) >= m_hosts.size())
        return -1;
    entry = static_cast<std::size_t>(item.lParam);
    return row;
}

// Removing sites and pressing a go button without a choice still closes,
// so the removals are kept.
LRESULT CGoDlg::OnGo(WORD, WORD id, HWND, BOOL&) {
    std::size_t entry = 0;
    if (SelectedRow(entry) >= 0) m_strChosenHost = m_hosts[entry];
    if (!m_strChosenHost.empty() || !m_removed.empty()) {
        EndDialog(id);
        return 0;
    }
    MessageBoxW(m_hWnd, login_messages::kSelectDomainToGo, login_messages::kNoDomainTitle, MB_OK);
    return 0;
}

LRESULT CGoDlg::OnRemove(WORD, WORD, HWND, BOOL&) {
    std::size_t entry = 0;
    const int row = SelectedRow(entry);
    if (row < 0) {
        MessageBoxW(m_hWnd, login_messages::kSelectDomainToRemove, login_messages::kNoDomainTitle,
                    MB_OK);
        return 0;
    }
    m_removed.push_back(m_hosts[entry]);
    SendDlgItemMessage(IDC_GO_SITE_LIST, LVM_DELETEITEM, static_cast<WPARAM>(row));
    return 0;
}

LRESULT CGoDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
