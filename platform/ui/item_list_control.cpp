// List boxes, and the list every combo box has.
#include "platform/ui/item_list_control.h"

#include <algorithm>

#include "platform/ui/control_kinds.h"
#include "platform/win/text.h"

namespace {

constexpr ItemListControl::Messages kListMessages{
    LB_ADDSTRING,   LB_INSERTSTRING,    LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
    LB_GETCURSEL,   LB_SETCURSEL,       LB_GETTEXT,      LB_GETTEXTLEN,   LB_GETITEMDATA,
    LB_SETITEMDATA, LB_FINDSTRINGEXACT, LBS_SORT,        LB_ERR};

}  // namespace

bool ItemListControl::Handle(HWND self, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) {
    const auto text = reinterpret_cast<LPCWSTR>(lParam);
    const auto index = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (message == m.add)
        result = Add(self, text ? text : u"");
    else if (message == m.insert)
        result = Insert(index, text ? text : u"");
    else if (message == m.remove)
        result = Remove(index);
    else if (message == m.reset)
        result = Reset();
    else if (message == m.count)
        result = static_cast<LRESULT>(m_items.size());
    else if (message == m.getSel)
        result = m_selected >= 0 ? m_selected : m.error;
    else if (message == m.setSel)
        result = Select(index);
    else if (message == m.getText)
        result = CopyText(index, reinterpret_cast<LPWSTR>(lParam));
    else if (message == m.getTextLen)
        result = Valid(index) ? static_cast<LRESULT>(m_items[index].text.size()) : m.error;
    else if (message == m.getData)
        result = Valid(index) ? m_items[index].data : m.error;
    else if (message == m.setData)
        result = SetData(index, lParam);
    else if (message == m.findExact)
        result = FindExact(index, text ? text : u"");
    else
        return false;
    return true;
}

void ItemListControl::Describe(ControlSnapshot& snapshot) const {
    for (const Item& item : m_items) snapshot.items.push_back(item.text);
    snapshot.selected = m_selected;
}

std::u16string ItemListControl::SelectedText() const {
    return m_selected >= 0 ? m_items[m_selected].text : std::u16string();
}

LRESULT ItemListControl::Add(HWND self, std::u16string_view text) {
    const WindowRecord* record = FindWindowRecord(self);
    std::size_t at = m_items.size();
    if (record && (record->style & m.sortStyle)) {
        // After the items that compare equal, as the system list keeps them.
        auto place = std::upper_bound(m_items.begin(), m_items.end(), text,
                                      [](std::u16string_view value, const Item& item) {
                                          return WideCompareNoCase(value, item.text) < 0;
                                      });
        at = static_cast<std::size_t>(place - m_items.begin());
    }
    return Place(at, text);
}

LRESULT ItemListControl::Insert(int index, std::u16string_view text) {
    if (index == -1) return Place(m_items.size(), text);
    if (index < 0 || index > static_cast<int>(m_items.size())) return m.error;
    return Place(static_cast<std::size_t>(index), text);
}

LRESULT ItemListControl::Place(std::size_t at, std::u16string_view text) {
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), Item{std::u16string(text)});
    if (m_selected >= static_cast<int>(at)) ++m_selected;
    return static_cast<LRESULT>(at);
}

LRESULT ItemListControl::Remove(int index) {
    if (!Valid(index)) return m.error;
    m_items.erase(m_items.begin() + index);
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    return static_cast<LRESULT>(m_items.size());
}

LRESULT ItemListControl::Reset() {
    m_items.clear();
    m_selected = -1;
    return 0;
}

LRESULT ItemListControl::Select(int index) {
    m_selected = Valid(index) ? index : -1;
    return m_selected >= 0 ? m_selected : m.error;
}

LRESULT ItemListControl::CopyText(int index, LPWSTR buffer) {
    if (!Valid(index) || !buffer) return m.error;
    const std::u16string& text = m_items[index].text;
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return static_cast<LRESULT>(text.size());
}

LRESULT ItemListControl::SetData(int index, LPARAM data) {
    if (!Valid(index)) return m.error;
    m_items[index].data = data;
    return 0;
}

// Searches after `start`, wrapping round; without regard to case.
LRESULT ItemListControl::FindExact(int start, std::u16string_view text) const {
    const int count = static_cast<int>(m_items.size());
    const int first = Valid(start) ? start + 1 : 0;
    for (int n = 0; n < count; ++n) {
        const int i = (first + n) % count;
        if (WideEqualsNoCase(m_items[i].text, text)) return i;
    }
    return m.error;
}

std::unique_ptr<Control> MakeListBoxControl() {
    return std::make_unique<ItemListControl>(kListMessages);
}
