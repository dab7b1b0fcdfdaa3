// List views in report view: columns, items with sub-item texts, item data
// and selection state; sorted insertion under LVS_SORTASCENDING, sorting by
// a comparison, and search by text without regard to case.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/control_kinds.h"
#include "platform/win/text.h"

namespace {

struct Column {
    std::u16string heading;
    int width = 0;
    int format = LVCFMT_LEFT;
};

struct Row {
    std::vector<std::u16string> texts;  // item, then sub-items
    LPARAM data = 0;
    UINT state = 0;
};

class ListViewControl final : public Control {
public:
    bool Handle(HWND self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        const auto index = static_cast<int>(static_cast<INT_PTR>(wParam));
        auto* item = reinterpret_cast<LVITEMW*>(lParam);
        switch (message) {
            case LVM_INSERTCOLUMNW:
                result = InsertColumn(index, reinterpret_cast<const LVCOLUMNW*>(lParam));
                return true;
            case LVM_INSERTITEMW:
                result = InsertItem(self, item);
                return true;
            case LVM_SETITEMW:
                result = item && SetItem(item->iItem, *item);
                return true;
            case LVM_SETITEMTEXTW:
                result = item && SetText(index, item->iSubItem, item->pszText);
                return true;
            case LVM_GETITEMTEXTW:
                result = item ? GetText(index, *item) : 0;
                return true;
            case LVM_GETITEMW:
                result = item && GetItem(*item);
                return true;
            case LVM_DELETEITEM:
                result = DeleteItem(index);
                return true;
            case LVM_DELETEALLITEMS:
                m_rows.clear();
                result = TRUE;
                return true;
            case LVM_GETITEMCOUNT:
                result = static_cast<LRESULT>(m_rows.size());
                return true;
            case LVM_GETNEXTITEM:
                result = NextItem(index, static_cast<UINT>(lParam));
                return true;
            case LVM_SETITEMSTATE:
                result = item && SetState(self, index, *item);
                return true;
            case LVM_GETITEMSTATE:
                result = Valid(index) ? m_rows[index].state & static_cast<UINT>(lParam) : 0;
                return true;
            case LVM_FINDITEMW:
                result = Find(index, reinterpret_cast<const LVFINDINFOW*>(lParam));
                return true;
            case LVM_SORTITEMS:
                result = Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
                return true;
            case LVM_SETEXTENDEDLISTVIEWSTYLE: {
                const DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~DWORD{0};
                result = m_extended;
                m_extended = (m_extended & ~mask) | (static_cast<DWORD>(lParam) & mask);
                return true;
            }
            case LVM_GETEXTENDEDLISTVIEWSTYLE:
                result = m_extended;
                return true;
            default:
                return false;
        }
    }

    void Describe(ControlSnapshot& snapshot) const override {
        for (const Column& column : m_columns) {
            snapshot.columns.push_back(column.heading);
            snapshot.columnWidths.push_back(column.width);
        }
        for (const Row& row : m_rows) {
            std::vector<std::u16string> texts = row.texts;
            texts.resize(std::max(texts.size(), m_columns.size()));
            snapshot.rows.push_back(std::move(texts));
        }
        snapshot.selected = static_cast<int>(NextItem(-1, LVNI_SELECTED));
    }

private:
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(m_rows.size()); }

    LRESULT InsertColumn(int index, const LVCOLUMNW* column) {
        if (!column || index < 0) return -1;
        index = std::min(index, static_cast<int>(m_columns.size()));
        Column added;
        if ((column->mask & LVCF_TEXT) && column->pszText) added.heading = column->pszText;
        if (column->mask & LVCF_WIDTH) added.width = column->cx;
        if (column->mask & LVCF_FMT) added.format = column->fmt;
        m_columns.insert(m_columns.begin() + index, added);
        return index;
    }

    LRESULT InsertItem(HWND self, const LVITEMW* item) {
        if (!item || item->iSubItem != 0) return -1;
        Row row;
        row.texts.push_back((item->mask & LVIF_TEXT) && item->pszText ? item->pszText : u"");
        if (item->mask & LVIF_PARAM) row.data = item->lParam;
        if (item->mask & LVIF_STATE) row.state = item->state & item->stateMask;
        int at = std::clamp(item->iItem, 0, static_cast<int>(m_rows.size()));
        const WindowRecord* record = FindWindowRecord(self);
        if (record && (record->style & LVS_SORTASCENDING)) {
            auto place = std::upper_bound(m_rows.begin(), m_rows.end(), row.texts[0],
                                          [](const std::u16string& text, const Row& other) {
                                              return WideCompareNoCase(text, other.texts[0]) < 0;
                                          });
            at = static_cast<int>(place - m_rows.begin());
        }
        m_rows.insert(m_rows.begin() + at, std::move(row));
        return at;
    }

    bool SetText(int index, int subItem, LPCWSTR text) {
        if (!Valid(index) || subItem < 0) return false;
        std::vector<std::u16string>& texts = m_rows[index].texts;
        if (static_cast<int>(texts.size()) <= subItem) texts.resize(subItem + 1);
        texts[subItem] = text ? text : u"";
        return true;
    }

    bool SetItem(int index, const LVITEMW& item) {
        if (!Valid(index)) return false;
        if ((item.mask & LVIF_TEXT) && !SetText(index, item.iSubItem, item.pszText)) return false;
        if (item.mask & LVIF_PARAM) m_rows[index].data = item.lParam;
        if (item.mask & LVIF_STATE) {
            UINT& state = m_rows[index].state;
            state = (state & ~item.stateMask) | (item.state & item.stateMask);
        }
        return true;
    }

    LRESULT GetText(int index, LVITEMW& item) const {
        if (!item.pszText || item.cchTextMax <= 0) return 0;
        std::u16string text;
        if (Valid(index) && item.iSubItem >= 0 &&
            item.iSubItem < static_cast<int>(m_rows[index].texts.size())) {
            text = m_rows[index].texts[item.iSubItem];
        }
        const std::size_t count =
            std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::copy_n(text.data(), count, item.pszText);
        item.pszText[count] = 0;
        return static_cast<LRESULT>(count);
    }

    bool GetItem(LVITEMW& item) const {
        if (!Valid(item.iItem)) return false;
        if (item.mask & LVIF_PARAM) item.lParam = m_rows[item.iItem].data;
        if (item.mask & LVIF_STATE) item.state = m_rows[item.iItem].state & item.stateMask;
        if (item.mask & LVIF_TEXT) GetText(item.iItem, item);
        return true;
    }

    LRESULT DeleteItem(int index) {
        if (!Valid(index)) return FALSE;
        m_rows.erase(m_rows.begin() + index);
        return TRUE;
    }

    LRESULT NextItem(int start, UINT flags) const {
        for (int i = std::max(start + 1, 0); i < static_cast<int>(m_rows.size()); ++i) {
            if (!(flags & LVNI_SELECTED) || (m_rows[i].state & LVIS_SELECTED)) return i;
        }
        return -1;
    }

    bool SetState(HWND self, int index, const LVITEMW& item) {
        const WindowRecord* record = FindWindowRecord(self);
        const bool single = record && (record->style & LVS_SINGLESEL);
        const bool selecting = (item.stateMask & LVIS_SELECTED) && (item.state & LVIS_SELECTED);
        if (index != -1 && !Valid(index)) return false;
        for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
            UINT& state = m_rows[i].state;
            if (index == -1 || i == index) {
                state = (state & ~item.stateMask) | (item.state & item.stateMask);
            } else if (single && selecting) {
                state &= ~LVIS_SELECTED;
            }
        }
        return true;
    }

    LRESULT Find(int start, const LVFINDINFOW* info) const {
        if (!info) return -1;
        for (int i = std::max(start + 1, 0); i < static_cast<int>(m_rows.size()); ++i) {
            const Row& row = m_rows[i];
            if (info->flags & LVFI_PARAM) {
                if (row.data == info->lParam) return i;
                continue;
            }
            const std::u16string_view wanted = info->psz ? info->psz : u"";
            std::u16string_view text = row.texts[0];
            if (info->flags & LVFI_PARTIAL) text = text.substr(0, wanted.size());
            if (WideEqualsNoCase(text, wanted)) return i;
        }
        return -1;
    }

    LRESULT Sort(PFNLVCOMPARE compare, LPARAM sortData) {
        if (!compare) return FALSE;
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](const Row& a, const Row& b) {
            return compare(a.data, b.data, sortData) < 0;
        });
        return TRUE;
    }

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    DWORD m_extended = 0;
};

}  // namespace

std::unique_ptr<Control> MakeListViewControl() {
    return std::make_unique<ListViewControl>();
}
