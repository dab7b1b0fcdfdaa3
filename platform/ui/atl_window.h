// The ATL window wrapper and message maps that dialog classes are written
// with:
//
//     BEGIN_MSG_MAP(COptionDlg)
//         MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//         COMMAND_ID_HANDLER(IDOK, OnOK)
//         COMMAND_HANDLER(210, BN_CLICKED, OnRemoveCrlfs)
//         NOTIFY_HANDLER(225, NM_DBLCLK, OnDblClick)
//     END_MSG_MAP()
#pragma once

#include <string>

#include "platform/ui/control_messages.h"
#include "platform/ui/dialog.h"
#include "platform/ui/window.h"

class CWindow {
public:
    explicit CWindow(HWND window = nullptr) : m_hWnd(window) {}
    operator HWND() const { return m_hWnd; }
    CWindow& operator=(HWND window) {
        m_hWnd = window;
        return *this;
    }

    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }
    BOOL SetWindowText(LPCWSTR text) const { return ::SetWindowTextW(m_hWnd, text); }
    BOOL SetDlgItemText(int id, LPCWSTR text) const { return ::SetDlgItemTextW(m_hWnd, id, text); }
    UINT GetDlgItemText(int id, LPWSTR text, int size) const {
        return ::GetDlgItemTextW(m_hWnd, id, text, size);
    }
    BOOL SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) const {
        return ::SetDlgItemInt(m_hWnd, id, value, isSigned);
    }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const {
        return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
    }
    BOOL CheckDlgButton(int id, UINT check) const { return ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    BOOL CenterWindow(HWND centreOn = nullptr) const { return ::CenterWindow(m_hWnd, centreOn); }
    BOOL GetClientRect(LPRECT rect) const { return ::GetClientRect(m_hWnd, rect); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HICON SetIcon(HICON icon, BOOL big = TRUE) const {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }

    HWND m_hWnd;
};

#define BEGIN_MSG_MAP(theClass)                                                   \
public:                                                                           \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, \
                              LRESULT& lResult, DWORD dwMsgMapID = 0) {           \
        (void)hWnd;                                                               \
        (void)dwMsgMapID;                                                         \
        BOOL bHandled = TRUE;                                                     \
        (void)bHandled;

#define MESSAGE_HANDLER(msg, func)                      \
    if (uMsg == (msg)) {                                \
        bHandled = TRUE;                                \
        lResult = func(uMsg, wParam, lParam, bHandled); \
        if (bHandled) return TRUE;                      \
    }

#define COMMAND_HANDLER(id, code, func)                                                           \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code)) {               \
        bHandled = TRUE;                                                                          \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE;                                                                \
    }

#define COMMAND_ID_HANDLER(id, func)                                                              \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                           \
        bHandled = TRUE;                                                                          \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
        if (bHandled) return TRUE;                                                                \
    }

#define NOTIFY_HANDLER(id, cd, func)                                                           \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->idFrom == (UINT_PTR)(id) &&    \
        reinterpret_cast<LPNMHDR>(lParam)->code == (UINT)(cd)) {                               \
        bHandled = TRUE;                                                                       \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled); \
        if (bHandled) return TRUE;                                                             \
    }

#define END_MSG_MAP() \
    return FALSE;     \
    }
