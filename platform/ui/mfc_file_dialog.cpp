#include "platform/ui/mfc_file_dialog.h"

#include <algorithm>

CFileDialog::CFileDialog(BOOL openFileDialog, LPCWSTR defaultExtension, LPCWSTR fileName,
                         DWORD flags, LPCWSTR filter, CWnd* parent)
    : m_open(openFileDialog != FALSE),
      m_defaultExtension(defaultExtension ? defaultExtension : u""),
      m_filter(filter ? filter : u""),
      m_parent(parent) {
    std::replace(m_filter.begin(), m_filter.end(), u'|', u'\0');
    m_filter.push_back(u'\0');
    if (fileName) {
        const std::u16string name(fileName);
        std::copy_n(name.begin(), std::min<std::size_t>(name.size(), MAX_PATH - 1), m_file);
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFilter = m_filter.size() > 1 ? m_filter.c_str() : nullptr;
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_file;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = m_parent ? m_parent->m_hWnd : ::GetActiveWindow();
    const BOOL chosen = m_open ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}
