// MFC's modal dialog: a dialog resource of the program, OnInitDialog,
// DoDataExchange through UpdateData, OnOK and OnCancel for the OK and
// Cancel commands that the message map leaves alone.
#pragma once

#include "platform/ui/dialog.h"
#include "platform/ui/mfc_wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr)
        : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    // Owned by the parent, or by the active window.
    virtual INT_PTR DoModal();
    // Loads the controls (UpdateData(FALSE)); TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    // FALSE when an exchange failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }

protected:
    // Saves the controls and ends with IDOK; ends with IDCANCEL.
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
};
