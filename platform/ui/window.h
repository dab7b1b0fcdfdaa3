// Windows and window procedures. All UI calls belong to one thread (the
// browser's or the tool's user-interface thread).
#pragma once

#include "platform/ui/ui_types.h"

// A visible top-level window of the program's own (a browser window, a
// page's window) with its procedure; it becomes the active window.
HWND CreatePlainWindow(LPCWSTR title, WNDPROC proc, HWND owner);
// Sends WM_DESTROY to the window, then destroys its children.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// WM_SETTEXT/WM_GETTEXT/WM_GETTEXTLENGTH/WM_SETICON; WM_CLOSE destroys.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// GWLP_WNDPROC (returns the previous procedure), GWLP_USERDATA, GWLP_ID,
// GWL_STYLE, GWL_EXSTYLE, and on dialogs DWLP_MSGRESULT, DWLP_USER,
// DWLP_DLGPROC. 0 with ERROR_INVALID_WINDOW_HANDLE for an unknown window.
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrW(HWND window, int index);

BOOL SetWindowTextW(HWND window, LPCWSTR text);
// Copies at most size-1 characters and a terminator; the count copied.
int GetWindowTextW(HWND window, LPWSTR text, int size);
int GetWindowTextLengthW(HWND window);

// Returns whether the window was disabled before; sends WM_ENABLE.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
// SW_HIDE hides, every other command shows. Returns whether it was visible.
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
// Returns the window that had the focus.
HWND SetFocus(HWND window);
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);
HWND GetParent(HWND window);
HWND GetWindow(HWND window, UINT command);
constexpr UINT GW_OWNER = 4;

// Centres a window on another (null: its owner, or its parent).
BOOL CenterWindow(HWND window, HWND centreOn);
// A client rectangle in pixels: controls from their dialog units and the
// dialog font, less a border of 2 pixels for bordered controls.
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL MessageBeep(UINT type);
