#include "platform/ui/dialog.h"

#include <climits>
#include <string>

#include "platform/ui/ui_state.h"
#include "platform/ui/window.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"

namespace {

DWORD ImpliedButtonStyle(ControlKind kind, DWORD style) {
    if ((style & 0xF) != 0) return style;
    switch (kind) {
        case ControlKind::DefPushButton:
            return style | BS_DEFPUSHBUTTON;
        case ControlKind::CheckBox:
            return style | BS_AUTOCHECKBOX;
        case ControlKind::RadioButton:
            return style | BS_AUTORADIOBUTTON;
        case ControlKind::GroupBox:
            return style | BS_GROUPBOX;
        case ControlKind::Icon:
            return style | SS_ICON;
        default:
            return style;
    }
}

int DefaultButtonId(const WindowRecord& dialog) {
    for (HWND child : dialog.children) {
        const WindowRecord* control = FindWindowRecord(child);
        if (control && control->kind == ControlKind::DefPushButton) return control->id;
    }
    return 0;
}

// What a dialog does with a message its procedure left alone.
LRESULT DefaultDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(dialog);
    if (!record) return 0;
    if (message == WM_CLOSE) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    }
    if (message == DM_GETDEFID) {
        const int id = DefaultButtonId(*record);
        return id ? MAKELPARAM(static_cast<WORD>(id), DC_HASDEFID) : 0;
    }
    return DefWindowProcW(dialog, message, wParam, lParam);
}

bool ReturnsProcedureResult(UINT message) {
    return message == WM_INITDIALOG || message == WM_QUERYDRAGICON;
}

LRESULT DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(dialog);
    if (!record || !record->dialog) return 0;
    record->dialog->msgResult = 0;
    const DLGPROC proc = record->dialog->proc;
    const INT_PTR handled = proc ? proc(dialog, message, wParam, lParam) : FALSE;
    if (!handled) return DefaultDialogMessage(dialog, message, wParam, lParam);
    if (ReturnsProcedureResult(message)) return handled;
    record = FindWindowRecord(dialog);
    return record && record->dialog ? record->dialog->msgResult : 0;
}

void AddControl(WindowRecord& dialog, const DialogControl& control) {
    WindowRecord* record = CreateWindowRecord();
    record->parent = dialog.handle;
    record->id = control.id;
    record->kind = control.kind;
    record->text = control.text ? control.text : u"";
    record->style = ImpliedButtonStyle(control.kind, control.style) | WS_CHILD | WS_VISIBLE;
    record->enabled = !(control.style & WS_DISABLED);
    record->visible = true;
    record->module = dialog.module;
    record->dialogUnits = {control.x, control.y, control.cx, control.cy};
    record->proc = ControlWindowProc;
    record->control = MakeControl(control.kind);
    dialog.children.push_back(record->handle);
}

HWND CreateDialogWindow(HINSTANCE module, const DialogTemplate& dialogTemplate, HWND owner,
                        DLGPROC proc) {
    WindowRecord* record = CreateWindowRecord();
    record->owner = owner;
    record->text = dialogTemplate.title ? dialogTemplate.title : u"";
    record->style = dialogTemplate.style;
    record->exStyle = dialogTemplate.exStyle;
    record->module = module;
    record->dialogUnits = {0, 0, dialogTemplate.cx, dialogTemplate.cy};
    record->proc = DialogWindowProc;
    record->dialog = std::make_unique<DialogRecord>();
    record->dialog->dialogTemplate = &dialogTemplate;
    record->dialog->proc = proc;
    record->dialog->baseUnits = CurrentUiBackend().DialogBaseUnits(
        dialogTemplate.font ? dialogTemplate.font : u"", dialogTemplate.pointSize);
    for (std::size_t i = 0; i < dialogTemplate.controlCount; ++i) {
        AddControl(*record, dialogTemplate.controls[i]);
    }
    return record->handle;
}

HWND FirstFocusableControl(HWND dialog) {
    const WindowRecord* record = FindWindowRecord(dialog);
    if (!record) return nullptr;
    for (HWND child : record->children) {
        const WindowRecord* control = FindWindowRecord(child);
        if (control && control->enabled && control->kind != ControlKind::Static &&
            control->kind != ControlKind::GroupBox && control->kind != ControlKind::Icon) {
            return child;
        }
    }
    return nullptr;
}

INT_PTR RunDialog(HWND dialog, HWND owner, LPARAM init) {
    const HWND firstControl = FirstFocusableControl(dialog);
    if (SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstControl), init) &&
        firstControl) {
        SetFocus(firstControl);
    }
    if (WindowRecord* record = FindWindowRecord(dialog); record && !record->dialog->ended) {
        record->visible = true;
        record->style |= WS_VISIBLE;
        SetActiveWindow(dialog);
        CurrentUiBackend().RunModalDialog(dialog);
    }
    const WindowRecord* record = FindWindowRecord(dialog);
    const INT_PTR result = record && record->dialog->ended ? record->dialog->result : -1;
    DestroyWindow(dialog);
    if (IsWindow(owner)) SetActiveWindow(owner);
    return result;
}

}  // namespace

const DialogTemplate* LoadDialogTemplate(HINSTANCE module, LPCWSTR templateName) {
    HRSRC found = FindResourceW(module, templateName, RT_DIALOG);
    if (!found) return nullptr;
    if (SizeofResource(module, found) != sizeof(DialogTemplate)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return static_cast<const DialogTemplate*>(LockResource(LoadResource(module, found)));
}

INT_PTR DialogBoxParamW(HINSTANCE module, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM init) {
    const DialogTemplate* dialogTemplate = LoadDialogTemplate(module, templateName);
    if (!dialogTemplate) return -1;
    return DialogBoxIndirectParamW(module, dialogTemplate, owner, proc, init);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM init) {
    if (!dialogTemplate || (owner && !IsWindow(owner))) {
        SetLastError(dialogTemplate ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
        return -1;
    }
    const HWND dialog = CreateDialogWindow(module, *dialogTemplate, owner, proc);
    const bool disabledOwner = owner && IsWindowEnabled(owner);
    if (disabledOwner) EnableWindow(owner, FALSE);
    const INT_PTR result = RunDialog(dialog, owner, init);
    if (disabledOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    WindowRecord* record = FindWindowRecord(dialog);
    if (!record || !record->dialog) return FALSE;
    record->dialog->ended = true;
    record->dialog->result = result;
    NotifyWindowChanged(dialog);  // an on-screen backend closes it
    return TRUE;
}

bool IsDialogEnded(HWND dialog) {
    const WindowRecord* record = FindWindowRecord(dialog);
    return !record || !record->dialog || record->dialog->ended;
}

HWND GetDlgItem(HWND dialog, int id) {
    const WindowRecord* record = FindWindowRecord(dialog);
    if (!record) return nullptr;
    for (HWND child : record->children) {
        const WindowRecord* control = FindWindowRecord(child);
        if (control && control->id == id) return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND control) {
    const WindowRecord* record = FindWindowRecord(control);
    return record ? record->id : 0;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    const HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextW(control, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int size) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) {
        if (text && size > 0) text[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(control, text, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    const std::u16string text =
        isSigned ? WideFromInt(static_cast<INT>(value)) : WideFromUnsigned(value);
    return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    const HWND control = GetDlgItem(dialog, id);
    if (!control) return 0;
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    std::size_t at = text.find_first_not_of(u' ');
    const std::size_t end = text.find_last_not_of(u' ');
    if (at == std::u16string::npos) return 0;
    const bool negative = isSigned && text[at] == u'-';
    if (negative) ++at;
    if (at > end) return 0;
    long long value = 0;
    for (; at <= end; ++at) {
        if (text[at] < u'0' || text[at] > u'9') return 0;
        value = value * 10 + (text[at] - u'0');
        if (value > (isSigned ? static_cast<long long>(INT_MAX) + negative : UINT_MAX)) return 0;
    }
    if (translated) *translated = TRUE;
    return static_cast<UINT>(negative ? -value : value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) return FALSE;
    SendMessageW(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control ? static_cast<UINT>(SendMessageW(control, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId) {
    const WindowRecord* record = FindWindowRecord(dialog);
    if (!record) return FALSE;
    const std::vector<HWND> children = record->children;
    for (HWND child : children) {
        const int id = GetDlgCtrlID(child);
        if (id >= firstId && id <= lastId) {
            SendMessageW(child, BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    const WindowRecord* record = FindWindowRecord(dialog);
    if (!record || !record->dialog || !rect) return FALSE;
    const SIZE base = record->dialog->baseUnits;
    rect->left = rect->left * base.cx / 4;
    rect->right = rect->right * base.cx / 4;
    rect->top = rect->top * base.cy / 8;
    rect->bottom = rect->bottom * base.cy / 8;
    return TRUE;
}

HWND NextRadioInGroup(HWND dialog, HWND button) {
    const WindowRecord* record = FindWindowRecord(dialog);
    if (!record) return nullptr;
    const std::vector<HWND>& children = record->children;
    for (std::size_t i = 0; i + 1 < children.size(); ++i) {
        if (children[i] != button) continue;
        const WindowRecord* next = FindWindowRecord(children[i + 1]);
        if (!next || next->kind != ControlKind::RadioButton || (next->style & WS_GROUP))
            return nullptr;
        return children[i + 1];
    }
    return nullptr;
}
