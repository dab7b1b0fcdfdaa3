// MFC's list control over a report-view list view.
#pragma once

#include <string>

#include "platform/ui/mfc_wnd.h"

class CListCtrl : public CWnd {
public:
    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1) {
        LVCOLUMNW info{LVCF_TEXT | LVCF_FMT, format, width, const_cast<LPWSTR>(heading), 0, column};
        if (width >= 0) info.mask |= LVCF_WIDTH;
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column),
                                            reinterpret_cast<LPARAM>(&info)));
    }
    int InsertItem(int item, LPCWSTR text) {
        LVITEMW info{};
        info.mask = LVIF_TEXT;
        info.iItem = item;
        info.pszText = const_cast<LPWSTR>(text);
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&info)));
    }
    BOOL SetItemText(int item, int subItem, LPCWSTR text) {
        LVITEMW info{};
        info.iSubItem = subItem;
        info.pszText = const_cast<LPWSTR>(text);
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item),
                                             reinterpret_cast<LPARAM>(&info)));
    }
    std::u16string GetItemText(int item, int subItem) {
        std::u16string text(1024, u'\0');
        LVITEMW info{};
        info.iSubItem = subItem;
        info.pszText = text.data();
        info.cchTextMax = static_cast<int>(text.size());
        text.resize(static_cast<std::size_t>(SendMessage(
            LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info))));
        return text;
    }
    BOOL SetItemData(int item, DWORD_PTR data) {
        LVITEMW info{};
        info.mask = LVIF_PARAM;
        info.iItem = item;
        info.lParam = static_cast<LPARAM>(data);
        return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&info)));
    }
    DWORD_PTR GetItemData(int item) {
        LVITEMW info{};
        info.mask = LVIF_PARAM;
        info.iItem = item;
        SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
        return static_cast<DWORD_PTR>(info.lParam);
    }
    BOOL DeleteItem(int item) {
        return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)));
    }
    int GetItemCount() { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int FindItem(LVFINDINFOW* find, int start = -1) {
        return static_cast<int>(
            SendMessage(LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(find)));
    }
    int GetNextItem(int item, int flags) {
        return static_cast<int>(
            SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(item), static_cast<LPARAM>(flags)));
    }
    DWORD GetExtendedStyle() {
        return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
    }
    DWORD SetExtendedStyle(DWORD style) {
        return static_cast<DWORD>(
            SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
    }
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data) {
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(data),
                                             reinterpret_cast<LPARAM>(compare)));
    }
};
