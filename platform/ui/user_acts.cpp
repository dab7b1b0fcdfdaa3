#include "platform/ui/user_acts.h"

#include <vector>

#include "platform/ui/control_messages.h"
#include "platform/ui/dialog.h"
#include "platform/ui/window.h"
#include "platform/ui/window_record.h"
#include "platform/win/text.h"

namespace {

std::string Describe(int id) {
    return "control " + std::to_string(id);
}

// The control a user can reach, or an error.
std::string Reach(HWND dialog, int id, std::initializer_list<ControlKind> kinds, HWND& control) {
    control = GetDlgItem(dialog, id);
    const WindowRecord* record = control ? FindWindowRecord(control) : nullptr;
    if (!record) return "the dialog has no " + Describe(id);
    bool kindFits = false;
    for (ControlKind kind : kinds) kindFits = kindFits || record->kind == kind;
    if (!kindFits) return Describe(id) + " cannot take this answer";
    if (!record->visible) return Describe(id) + " is hidden";
    if (!record->enabled) return Describe(id) + " is disabled";
    return {};
}

void Notify(HWND dialog, int id, WORD code, HWND control) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code),
                 reinterpret_cast<LPARAM>(control));
}

bool DigitsOnly(const std::u16string& text) {
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

// The radio buttons of the group that holds `control` (groups start at a
// control with WS_GROUP).
std::vector<HWND> RadioGroupOf(HWND dialog, HWND control) {
    const WindowRecord* record = FindWindowRecord(dialog);
    std::vector<HWND> group;
    if (!record) return group;
    bool holdsControl = false;
    for (HWND child : record->children) {
        const WindowRecord* member = FindWindowRecord(child);
        if (!member) continue;
        if (member->style & WS_GROUP) {
            if (holdsControl) break;
            group.clear();
        }
        if (member->kind == ControlKind::RadioButton) group.push_back(child);
        holdsControl = holdsControl || child == control;
    }
    return group;
}

bool IsListView(HWND control) {
    const WindowRecord* record = FindWindowRecord(control);
    return record && record->kind == ControlKind::ListView;
}

// Typing into a combo box's edit part: the selection goes (the control
// sees to that), and the dialog hears of the change before and after.
std::string TypeIntoCombo(HWND dialog, int id, HWND control, const std::u16string& text) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (!ComboHasEdit(style)) return Describe(id) + " is a drop-down list: pick one of its items";
    Notify(dialog, id, CBN_EDITUPDATE, control);
    SetWindowTextW(control, text.c_str());
    Notify(dialog, id, CBN_EDITCHANGE, control);
    return {};
}

}  // namespace

std::string TypeText(HWND dialog, int id, const std::u16string& text) {
    HWND control = nullptr;
    if (std::string error = Reach(dialog, id, {ControlKind::Edit, ControlKind::ComboBox}, control);
        !error.empty()) {
        return error;
    }
    if (FindWindowRecord(control)->kind == ControlKind::ComboBox)
        return TypeIntoCombo(dialog, id, control, text);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (style & ES_READONLY) return Describe(id) + " is read-only";
    if ((style & ES_NUMBER) && !DigitsOnly(text)) return Describe(id) + " takes digits only";
    SetWindowTextW(control, text.c_str());
    Notify(dialog, id, EN_CHANGE, control);
    return {};
}

std::string TickButton(HWND dialog, int id, bool tick) {
    HWND control = nullptr;
    if (std::string error =
            Reach(dialog, id, {ControlKind::CheckBox, ControlKind::RadioButton}, control);
        !error.empty()) {
        return error;
    }
    const bool radio = FindWindowRecord(control)->kind == ControlKind::RadioButton;
    if (radio && !tick) return Describe(id) + " is a radio button: tick another of its group";
    const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked == tick) return {};
    if (radio) {
        for (HWND member : RadioGroupOf(dialog, control)) {
            SendMessageW(member, BM_SETCHECK, member == control ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    } else {
        SendMessageW(control, BM_SETCHECK, tick ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    Notify(dialog, id, BN_CLICKED, control);
    return {};
}

std::string PickItem(HWND dialog, int id, const std::u16string& text) {
    HWND control = nullptr;
    if (std::string error =
            Reach(dialog, id, {ControlKind::ComboBox, ControlKind::ListBox}, control);
        !error.empty()) {
        return error;
    }
    const bool combo = FindWindowRecord(control)->kind == ControlKind::ComboBox;
    const auto count =
        static_cast<int>(SendMessageW(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageW(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0);
        std::u16string item(static_cast<std::size_t>(length) + 1, u'\0');
        SendMessageW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i,
                     reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(length));
        if (item != text) continue;
        if (combo) {
            SendMessageW(control, CB_SETCURSEL, i, 0);
            Notify(dialog, id, CBN_SELCHANGE, control);
        } else {
            return SelectRow(dialog, id, i);
        }
        return {};
    }
    return Describe(id) + " has no item \"" + Utf16ToUtf8(text) + "\"";
}

std::string SlideTrackbar(HWND dialog, int id, int position) {
    HWND control = nullptr;
    if (std::string error = Reach(dialog, id, {ControlKind::Trackbar}, control); !error.empty()) {
        return error;
    }
    const auto low = SendMessageW(control, TBM_GETRANGEMIN, 0, 0);
    const auto high = SendMessageW(control, TBM_GETRANGEMAX, 0, 0);
    if (position < low || position > high) {
        return Describe(id) + " ranges from " + std::to_string(low) + " to " + std::to_string(high);
    }
    SendMessageW(control, TBM_SETPOS, TRUE, position);
    for (WORD code : {TB_THUMBPOSITION, TB_ENDTRACK}) {
        SendMessageW(dialog, WM_HSCROLL,
                     MAKEWPARAM(code, static_cast<WORD>(code == TB_THUMBPOSITION ? position : 0)),
                     reinterpret_cast<LPARAM>(control));
    }
    return {};
}

std::string SelectRow(HWND dialog, int id, int row) {
    HWND control = nullptr;
    if (std::string error =
            Reach(dialog, id, {ControlKind::ListView, ControlKind::ListBox}, control);
        !error.empty()) {
        return error;
    }
    if (IsListView(control)) {
        if (row < 0 || row >= SendMessageW(control, LVM_GETITEMCOUNT, 0, 0)) {
            return Describe(id) + " has no row " + std::to_string(row);
        }
        LVITEMW clear{};
        clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(control, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&clear));
        LVITEMW select = clear;
        select.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(control, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&select));
        return {};
    }
    if (SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(row), 0) == LB_ERR) {
        return Describe(id) + " has no row " + std::to_string(row);
    }
    if (GetWindowLongPtrW(control, GWL_STYLE) & LBS_NOTIFY)
        Notify(dialog, id, LBN_SELCHANGE, control);
    return {};
}

std::string DoubleClickRow(HWND dialog, int id, int row) {
    if (row != -1) {
        if (std::string error = SelectRow(dialog, id, row); !error.empty()) return error;
    }
    const HWND control = GetDlgItem(dialog, id);
    if (!IsListView(control)) {
        if (row != -1 && (GetWindowLongPtrW(control, GWL_STYLE) & LBS_NOTIFY)) {
            Notify(dialog, id, LBN_DBLCLK, control);
        }
        return row == -1 ? Describe(id) + " is not a list view" : std::string();
    }
    NMITEMACTIVATE activate{};
    activate.hdr = {control, static_cast<UINT_PTR>(id), static_cast<UINT>(NM_DBLCLK)};
    activate.iItem = row;
    SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&activate));
    return {};
}

std::string PressButton(HWND dialog, int id) {
    HWND control = nullptr;
    if (std::string error = Reach(dialog, id,
                                  {ControlKind::PushButton, ControlKind::DefPushButton,
                                   ControlKind::CheckBox, ControlKind::RadioButton},
                                  control);
        !error.empty()) {
        return error;
    }
    switch (FindWindowRecord(control)->kind) {
        case ControlKind::CheckBox:
            return TickButton(dialog, id, SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED);
        case ControlKind::RadioButton:
            return TickButton(dialog, id, true);
        default:
            SendMessageW(control, BM_CLICK, 0, 0);
            return {};
    }
}

void PressDialogKey(HWND dialog, DialogKey key) {
    if (key == DialogKey::Escape) {
        Notify(dialog, IDCANCEL, BN_CLICKED, GetDlgItem(dialog, IDCANCEL));
        return;
    }
    const LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    const int id = HIWORD(static_cast<ULONG_PTR>(defId)) == DC_HASDEFID ? LOWORD(defId) : IDOK;
    const HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) {
        MessageBeep(0);
        return;
    }
    Notify(dialog, id, BN_CLICKED, button);
}
