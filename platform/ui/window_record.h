// The model of one window: what every window has, plus the state of its
// control kind or of its dialog. Only the UI's own files use this.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui_backend.h"

// The state and messages of one control kind.
class Control {
public:
    virtual ~Control() = default;
    // Handles a message of this kind of control; false leaves it to the
    // default processing.
    virtual bool Handle(HWND self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    virtual void Describe(ControlSnapshot& snapshot) const = 0;
};

std::unique_ptr<Control> MakeControl(ControlKind kind);

struct DialogRecord {
    const DialogTemplate* dialogTemplate = nullptr;
    DLGPROC proc = nullptr;
    LONG_PTR msgResult = 0;
    LONG_PTR user = 0;
    bool ended = false;
    INT_PTR result = 0;
    SIZE baseUnits{6, 13};
};

struct WindowRecord {
    HWND handle = nullptr;
    HWND parent = nullptr;  // the dialog of a control
    HWND owner = nullptr;   // the owner of a top-level window or dialog
    int id = 0;
    ControlKind kind = ControlKind::Window;
    std::u16string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool enabled = true;
    bool visible = false;
    bool centred = false;
    WNDPROC proc = nullptr;
    LONG_PTR userData = 0;
    HINSTANCE module = nullptr;
    RECT dialogUnits{};  // x, y, width, height
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    std::vector<HWND> children;
    std::unique_ptr<Control> control;
    std::unique_ptr<DialogRecord> dialog;
};

// The record of a live window; null (ERROR_INVALID_WINDOW_HANDLE) otherwise.
// The pointer is valid until the next message is sent.
WindowRecord* FindWindowRecord(HWND window);
WindowRecord* CreateWindowRecord();
void RemoveWindowRecord(HWND window);
// Tells the chosen backend, if any, that the window changed.
void NotifyWindowChanged(HWND window);
// The default procedure of controls and of the dialog manager's dialogs.
LRESULT ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
