// Combo boxes. A drop-down list (CBS_DROPDOWNLIST, or no type style) shows
// its selected item as its window text and takes no other text. One with an
// edit part (CBS_DROPDOWN, CBS_SIMPLE) keeps the edit text as its window
// text, as Windows does: selecting an item puts the item's text there;
// selecting none (-1, or an index past the items) and CB_RESETCONTENT empty
// it; setting the text (WM_SETTEXT, a user typing) leaves no item selected.
#include "platform/ui/control_kinds.h"
#include "platform/ui/item_list_control.h"

namespace {

constexpr ItemListControl::Messages kComboMessages{
    CB_ADDSTRING,   CB_INSERTSTRING,    CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
    CB_GETCURSEL,   CB_SETCURSEL,       CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_GETITEMDATA,
    CB_SETITEMDATA, CB_FINDSTRINGEXACT, CBS_SORT,        CB_ERR};

class ComboBoxControl final : public ItemListControl {
public:
    ComboBoxControl() : ItemListControl(kComboMessages) {}

    bool Handle(HWND self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        WindowRecord* record = FindWindowRecord(self);
        if (!record) return false;
        const bool editable = ComboHasEdit(record->style);
        if (message == WM_SETTEXT) {
            result = editable ? SetEditText(*record, reinterpret_cast<LPCWSTR>(lParam)) : CB_ERR;
            return true;
        }
        if (!ItemListControl::Handle(self, message, wParam, lParam, result)) return false;
        if (!editable || message == CB_SETCURSEL || message == CB_RESETCONTENT)
            record->text = SelectedText();
        return true;
    }

private:
    LRESULT SetEditText(WindowRecord& record, LPCWSTR text) {
        record.text = text ? text : u"";
        Select(-1);
        return TRUE;
    }
};

}  // namespace

std::unique_ptr<Control> MakeComboBoxControl() {
    return std::make_unique<ComboBoxControl>();
}
