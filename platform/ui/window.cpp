#include "platform/ui/window.h"

#include <algorithm>

#include "platform/ui/control_messages.h"
#include "platform/ui/ui_state.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"

namespace {

void CopyText(const std::u16string& text, LPWSTR buffer, std::size_t size, LRESULT& copied) {
    copied = 0;
    if (!buffer || size == 0) return;
    const std::size_t count = std::min(text.size(), size - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = 0;
    copied = static_cast<LRESULT>(count);
}

void Activate(HWND window) {
    TheUiState().activeWindow = window;
}

}  // namespace

HWND CreatePlainWindow(LPCWSTR title, WNDPROC proc, HWND owner) {
    WindowRecord* record = CreateWindowRecord();
    record->text = title ? title : u"";
    record->proc = proc ? proc : DefWindowProcW;
    record->owner = owner;
    record->style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    record->visible = true;
    const HWND window = record->handle;
    Activate(window);
    SendMessageW(window, WM_CREATE, 0, 0);
    return window;
}

BOOL DestroyWindow(HWND window) {
    if (!FindWindowRecord(window)) return FALSE;
    SendMessageW(window, WM_DESTROY, 0, 0);
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return TRUE;  // destroyed while handling WM_DESTROY
    const std::vector<HWND> children = record->children;
    const HWND owner = record->owner;
    for (HWND child : children) DestroyWindow(child);
    if (UiBackend* backend = ChosenUiBackend()) backend->WindowDestroyed(window);
    const bool wasActive = TheUiState().activeWindow == window;
    RemoveWindowRecord(window);
    if (wasActive && IsWindow(owner)) Activate(owner);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return TheUiState().windows.count(reinterpret_cast<ULONG_PTR>(window)) ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return 0;
    return record->proc(window, message, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc) return 0;
    return proc(window, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return 0;
    LRESULT result = 0;
    switch (message) {
        case WM_SETTEXT:
            record->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
            NotifyWindowChanged(window);
            return TRUE;
        case WM_GETTEXT:
            CopyText(record->text, reinterpret_cast<LPWSTR>(lParam), wParam, result);
            return result;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(record->text.size());
        case WM_SETICON: {
            HICON& slot = wParam == ICON_BIG ? record->bigIcon : record->smallIcon;
            const HICON previous = slot;
            slot = reinterpret_cast<HICON>(lParam);
            return reinterpret_cast<LRESULT>(previous);
        }
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        default:
            return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return 0;
    LONG_PTR previous = 0;
    auto swap = [&](auto& slot) {
        previous = (LONG_PTR)slot;
        slot = (std::remove_reference_t<decltype(slot)>)value;
    };
    switch (index) {
        case GWLP_WNDPROC:
            swap(record->proc);
            break;
        case GWLP_USERDATA:
            swap(record->userData);
            break;
        case GWLP_ID:
            swap(record->id);
            break;
        case GWL_STYLE:
            swap(record->style);
            break;
        case GWL_EXSTYLE:
            swap(record->exStyle);
            break;
        default:
            if (!record->dialog) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return 0;
            }
            if (index == DWLP_MSGRESULT)
                swap(record->dialog->msgResult);
            else if (index == DWLP_USER)
                swap(record->dialog->user);
            else if (index == DWLP_DLGPROC)
                swap(record->dialog->proc);
            else
                SetLastError(ERROR_INVALID_PARAMETER);
    }
    return previous;
}

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return 0;
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(record->proc);
        case GWLP_USERDATA:
            return record->userData;
        case GWLP_ID:
            return record->id;
        case GWL_STYLE:
            return record->style;
        case GWL_EXSTYLE:
            return record->exStyle;
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(record->module);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(record->parent ? record->parent : record->owner);
        default:
            break;
    }
    if (!record->dialog) return 0;
    if (index == DWLP_MSGRESULT) return record->dialog->msgResult;
    if (index == DWLP_USER) return record->dialog->user;
    if (index == DWLP_DLGPROC) return reinterpret_cast<LONG_PTR>(record->dialog->proc);
    return 0;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!FindWindowRecord(window)) return FALSE;
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND window, LPWSTR text, int size) {
    if (size <= 0) return 0;
    if (!FindWindowRecord(window)) {
        if (text) text[0] = 0;
        return 0;
    }
    return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(size),
                                         reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND window) {
    return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

BOOL EnableWindow(HWND window, BOOL enable) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return FALSE;
    const BOOL wasDisabled = record->enabled ? FALSE : TRUE;
    if (record->enabled != (enable != FALSE)) {
        record->enabled = enable != FALSE;
        if (enable)
            record->style &= ~WS_DISABLED;
        else
            record->style |= WS_DISABLED;
        NotifyWindowChanged(window);
        SendMessageW(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    return record && record->enabled ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return FALSE;
    const BOOL wasVisible = record->visible ? TRUE : FALSE;
    record->visible = command != SW_HIDE;
    if (record->visible)
        record->style |= WS_VISIBLE;
    else
        record->style &= ~WS_VISIBLE;
    if (wasVisible != (record->visible ? TRUE : FALSE)) NotifyWindowChanged(window);
    return wasVisible;
}

BOOL IsWindowVisible(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    return record && record->visible ? TRUE : FALSE;
}

HWND SetFocus(HWND window) {
    UiState& state = TheUiState();
    const HWND previous = state.focus;
    if (window && !FindWindowRecord(window)) return nullptr;
    state.focus = window;
    return previous;
}

HWND GetFocus() {
    return TheUiState().focus;
}

HWND GetActiveWindow() {
    return TheUiState().activeWindow;
}

HWND SetActiveWindow(HWND window) {
    if (!FindWindowRecord(window)) return nullptr;
    const HWND previous = TheUiState().activeWindow;
    Activate(window);
    return previous;
}

HWND GetParent(HWND window) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return nullptr;
    return record->parent ? record->parent : record->owner;
}

HWND GetWindow(HWND window, UINT command) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record || command != GW_OWNER) return nullptr;
    return record->owner;
}

BOOL CenterWindow(HWND window, HWND /*centreOn*/) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return FALSE;
    record->centred = true;  // the on-screen backend places it
    NotifyWindowChanged(window);
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record || !rect) return FALSE;
    SIZE base{6, 13};
    if (const WindowRecord* dialog = record->parent ? FindWindowRecord(record->parent) : record;
        dialog && dialog->dialog) {
        base = dialog->dialog->baseUnits;
    }
    LONG width = (record->dialogUnits.right * base.cx) / 4;
    LONG height = (record->dialogUnits.bottom * base.cy) / 8;
    const bool bordered = (record->style & WS_BORDER) || (record->exStyle & WS_EX_CLIENTEDGE) ||
                          record->kind == ControlKind::ListView;
    if (bordered && record->parent) {
        width = std::max<LONG>(0, width - 4);
        height = std::max<LONG>(0, height - 4);
    }
    *rect = {0, 0, width, height};
    return TRUE;
}

BOOL MessageBeep(UINT /*type*/) {
    if (UiBackend* backend = ChosenUiBackend()) backend->Beep();
    return TRUE;
}

LRESULT ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(window);
    if (!record) return 0;
    LRESULT result = 0;
    if (record->control && record->control->Handle(window, message, wParam, lParam, result)) {
        NotifyWindowChanged(window);
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
