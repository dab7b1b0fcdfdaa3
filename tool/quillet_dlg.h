// The login input dialog: lists table LoginInput and lets the user add,
// change and delete typed-in logins (domain, login name, password). Login
// name and password are stored protected; the domain in clear, lower case.
// The list mirrors the table as it was at start plus the dialog's own
// changes, and Add and Delete look domains up in the list.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/mfc_dialog.h"
#include "platform/ui/mfc_list_ctrl.h"
#include "store/ado_db.h"
#include "store/crypt_str.h"
#include "tool/resources/resource_ids.h"

class CQuilletDlg : public CDialog {
public:
    enum { IDD = IDD_QUILLET_DIALOG };

    explicit CQuilletDlg(CWnd* parent = nullptr);
    ~CQuilletDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnAddLogin();
    void OnDeleteLogin();
    void OnDblclkList(NMHDR* header, LRESULT* result);

    HICON m_hIcon;
    std::u16string m_strDomain;
    std::u16string m_strLoginName;
    std::u16string m_strPassword;
    CListCtrl m_list;
    CAdoDb m_db;
    CCryptStr m_crypt;

    DECLARE_MESSAGE_MAP()

private:
    void InsertColumns();
    // Ends the dialog after one message when the database is missing or
    // cannot be opened.
    bool OpenDatabase();
    void LoadLogins();
    void AddRow(const std::u16string& domain, const std::u16string& loginName,
                const std::u16string& password);
    // The row of a domain (exact, without regard to case), or -1.
    int FindDomain(const std::u16string& domain);
    // Runs the insert, or for a listed domain the update, with params
    // (protected login name and password, domain); false with m_db's error.
    bool StoreLogin(bool listed, const std::vector<std::u16string>& params);
    void ClearInput();
    void ShowError(LPCWSTR text, LPCWSTR title);
};
