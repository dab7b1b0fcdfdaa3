// Push buttons, check boxes and radio buttons: a check state, and clicks
// reported to the dialog as WM_COMMAND with BN_CLICKED. Statics, group
// boxes and icons use the same class with no state of their own.
#include "platform/ui/control_kinds.h"
#include "platform/ui/window.h"

namespace {

class ButtonControl final : public Control {
public:
    bool Handle(HWND self, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        switch (message) {
            case BM_GETCHECK:
                result = static_cast<LRESULT>(m_check);
                return true;
            case BM_SETCHECK:
                m_check = wParam <= BST_INDETERMINATE ? static_cast<int>(wParam) : 0;
                result = 0;
                return true;
            case BM_CLICK:
                Click(self);
                return true;
            default:
                return false;
        }
    }
    void Describe(ControlSnapshot& snapshot) const override { snapshot.check = m_check; }

private:
    void Click(HWND self) {
        WindowRecord* record = FindWindowRecord(self);
        if (!record || !record->enabled) return;
        const DWORD type = record->style & 0xF;
        if (record->kind == ControlKind::CheckBox && type != BS_CHECKBOX) m_check = m_check ? 0 : 1;
        SendMessageW(record->parent, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(record->id), BN_CLICKED),
                     reinterpret_cast<LPARAM>(self));
    }

    int m_check = 0;
};

// Edits keep their text as the window text; the only state of their own is
// the read-only style, which EM_SETREADONLY switches.
class EditControl final : public Control {
public:
    bool Handle(HWND self, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message != EM_SETREADONLY) return message == EM_LIMITTEXT;
        WindowRecord* record = FindWindowRecord(self);
        if (!record) return false;
        if (wParam)
            record->style |= ES_READONLY;
        else
            record->style &= ~ES_READONLY;
        result = TRUE;
        return true;
    }
    void Describe(ControlSnapshot&) const override {}
};

}  // namespace

std::unique_ptr<Control> MakeButtonControl() {
    return std::make_unique<ButtonControl>();
}

std::unique_ptr<Control> MakeEditControl() {
    return std::make_unique<EditControl>();
}

std::unique_ptr<Control> MakeControl(ControlKind kind) {
    switch (kind) {
        case ControlKind::Window:
            return nullptr;
        case ControlKind::Edit:
            return MakeEditControl();
        case ControlKind::ComboBox:
            return MakeComboBoxControl();
        case ControlKind::ListBox:
            return MakeListBoxControl();
        case ControlKind::Trackbar:
            return MakeTrackbarControl();
        case ControlKind::ListView:
            return MakeListViewControl();
        default:
            return MakeButtonControl();
    }
}
