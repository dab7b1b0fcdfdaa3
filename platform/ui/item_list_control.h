// The items of list boxes and of combo boxes' lists: text and data per item,
// sorted insertion under CBS_SORT/LBS_SORT, and one selection. A selection
// outside the items means none. Only the UI's own files use this.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/control_messages.h"
#include "platform/ui/window_record.h"

class ItemListControl : public Control {
public:
    // The message numbers of one control kind; the table outlives the control.
    struct Messages {
        UINT add, insert, remove, reset, count, getSel, setSel, getText, getTextLen, getData,
            setData, findExact;
        DWORD sortStyle;
        LRESULT error;
    };
    explicit ItemListControl(const Messages& messages) : m(messages) {}

    bool Handle(HWND self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Describe(ControlSnapshot& snapshot) const override;

protected:
    // Any index outside the items selects none; the result is the index, or
    // the error value when none is selected.
    LRESULT Select(int index);
    // The selected item's text; empty when none is selected.
    std::u16string SelectedText() const;

private:
    struct Item {
        std::u16string text;
        LPARAM data = 0;
    };

    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(m_items.size()); }
    LRESULT Add(HWND self, std::u16string_view text);
    LRESULT Insert(int index, std::u16string_view text);
    LRESULT Place(std::size_t at, std::u16string_view text);
    LRESULT Remove(int index);
    LRESULT Reset();
    LRESULT CopyText(int index, LPWSTR buffer);
    LRESULT SetData(int index, LPARAM data);
    LRESULT FindExact(int start, std::u16string_view text) const;

    const Messages& m;
    std::vector<Item> m_items;
    int m_selected = -1;
};
