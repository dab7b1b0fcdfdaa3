#include "platform/ui/mfc_wnd.h"

#include "platform/ui/dialog.h"

void CWnd::GetWindowText(std::u16string& text) const {
    text.assign(static_cast<std::size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(m_hWnd, text.data(), static_cast<int>(text.size()))));
}

CWnd* CWnd::GetDlgItem(int id) {
    const HWND control = ::GetDlgItem(m_hWnd, id);
    if (!control) return nullptr;
    std::unique_ptr<CWnd>& child = m_children[id];
    if (!child) child = std::make_unique<CWnd>();
    child->m_hWnd = control;
    return child.get();
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, entries};
    return &messageMap;
}

bool CWnd::DispatchMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->baseMap ? map->baseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->message; ++entry) {
            if (entry->message != message) continue;
            if (message == WM_COMMAND && entry->id == LOWORD(wParam) &&
                entry->code == HIWORD(wParam)) {
                (this->*entry->command)();
                result = 0;
                return true;
            }
            if (message == WM_NOTIFY && header && entry->id == header->idFrom &&
                entry->code == header->code) {
                result = 0;
                (this->*entry->notify)(const_cast<NMHDR*>(header), &result);
                return true;
            }
        }
    }
    return false;
}

void CDataExchange::Fail(int id) {
    m_failed = true;
    if (m_pDlgWnd) ::SetFocus(::GetDlgItem(m_pDlgWnd->m_hWnd, id));
}

void DDX_Text(CDataExchange* pDX, int id, std::u16string& value) {
    if (pDX->Failed()) return;
    const HWND control = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextW(control, value.c_str());
        return;
    }
    value.assign(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, u'\0');
    value.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, value.data(), static_cast<int>(value.size()))));
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (!control.m_hWnd) control.m_hWnd = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, id);
}
