// MFC's window object, message maps and data exchange, as the login data
// tool uses them:
//
//     BEGIN_MESSAGE_MAP(CQuilletDlg, CDialog)
//         ON_BN_CLICKED(IDOK, OnAddLogin)
//         ON_NOTIFY(NM_DBLCLK, 1003, OnDblclkList)
//     END_MESSAGE_MAP()
//
//     void CQuilletDlg::DoDataExchange(CDataExchange* pDX) {
//         CDialog::DoDataExchange(pDX);
//         DDX_Text(pDX, 1001, m_strDomain);
//         DDX_Control(pDX, 1003, m_list);
//     }
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/ui/control_messages.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window.h"

class CWnd;
using AFX_PMSG = void (CWnd::*)();
using AFX_PNOTIFY = void (CWnd::*)(NMHDR*, LRESULT*);

struct AFX_MSGMAP_ENTRY {
    UINT message;
    UINT code;
    UINT id;
    AFX_PMSG command;
    AFX_PNOTIFY notify;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*baseMap)();
    const AFX_MSGMAP_ENTRY* entries;
};

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    BOOL SetWindowText(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(std::u16string& text) const;
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    // A wrapper of the child control, owned by this object.
    CWnd* GetDlgItem(int id);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    HICON SetIcon(HICON icon, BOOL big);
    BOOL CenterWindow(CWnd* centreOn = nullptr) {
        return ::CenterWindow(m_hWnd, centreOn ? centreOn->m_hWnd : nullptr);
    }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK) {
        return ::MessageBoxW(m_hWnd, text, caption, type);
    }
    CWnd* SetFocus() {
        ::SetFocus(m_hWnd);
        return nullptr;
    }

    HWND m_hWnd = nullptr;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
    // Runs the handler the message maps hold for a WM_COMMAND or WM_NOTIFY.
    bool DispatchMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ForgetChildren() { m_children.clear(); }

private:
    std::map<int, std::unique_ptr<CWnd>> m_children;
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        using ThisClass = theClass;                     \
        using TheBaseClass = baseClass;                 \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define ON_BN_CLICKED(id, memberFxn)                                                              \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<AFX_PMSG>(&ThisClass::memberFxn), \
     nullptr},
#define ON_COMMAND(id, memberFxn) ON_BN_CLICKED(id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                   \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), nullptr, \
     static_cast<AFX_PNOTIFY>(&ThisClass::memberFxn)},

#define END_MESSAGE_MAP()                                                             \
    { 0, 0, 0, nullptr, nullptr }                                                     \
    }                                                                                 \
    ;                                                                                 \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &messageMap;                                                               \
    }

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    // Marks the exchange failed, puts the focus on the control and stops
    // later exchanges of this run.
    void Fail(int id);
    bool Failed() const { return m_failed; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    bool m_failed = false;
};

void DDX_Text(CDataExchange* pDX, int id, std::u16string& value);
// Binds a control object to the dialog's control with that id.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

class CButton : public CWnd {
public:
    int GetCheck() { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};
