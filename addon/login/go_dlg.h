// The registered sites: one row per site (its favor name and host name),
// sorted by favor name. "Login" and "Go Login" close with the chosen host;
// "Remove" takes sites off the list, which the caller unregisters unless
// the dialog is cancelled.
#pragma once

#include <string>
#include <vector>

#include "addon/login/login_ids.h"
#include "platform/ui/atl_dialog.h"

class CGoDlg : public CDialogImpl<CGoDlg> {
public:
    enum { IDD = IDD_GO_SITES };

    BEGIN_MSG_MAP(CGoDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnGo)
    COMMAND_ID_HANDLER(IDC_GO_LOGIN, OnGo)
    COMMAND_ID_HANDLER(IDC_GO_REMOVE, OnRemove)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

    // One entry per site, filled by the caller; a site without a favor
    // name is listed under its display name.
    std::vector<std::u16string> m_hosts;
    std::vector<std::u16string> m_favors;
    // Empty when none was chosen.
    std::u16string m_strChosenHost;
    std::vector<std::u16string> m_removed;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGo(WORD, WORD id, HWND, BOOL&);
    LRESULT OnRemove(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

    void AddColumns();
    void AddRow(std::size_t entry);
    // The selected row and the entry it shows; -1 when none is selected.
    int SelectedRow(std::size_t& entry) const;
    static int CALLBACK CompareFavors(LPARAM first, LPARAM second, LPARAM dialog);
};
