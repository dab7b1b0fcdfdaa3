// The login data transfer dialog: one import or export of the whole login
// database, in the mode the command line chose. It closes when the transfer
// completes and stays open after a failure, so the user can correct the
// path or cancel.
#pragma once

#include <string>

#include "platform/ui/mfc_dialog.h"
#include "tool/resources/resource_ids.h"

class CTransLogin : public CDialog {
public:
    enum { IDD = IDD_TRANS_LOGIN };

    explicit CTransLogin(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    std::u16string m_strPath;
    CButton m_btnOk;
    bool m_bImport = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnBrowse();
    void OnTransfer();

    DECLARE_MESSAGE_MAP()

private:
    // Completes a relative export path and asks before using it; false
    // when the path is invalid or the user said no.
    bool ConfirmExportPath();
    void ShowError(const std::u16string& text, const std::u16string& title = u"Kestro");
};
