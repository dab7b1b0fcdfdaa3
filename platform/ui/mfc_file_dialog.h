// MFC's file dialog: an open or save chooser with a filter in the
// "Name|pattern|...|" form.
#pragma once

#include <string>

#include "platform/ui/file_chooser.h"
#include "platform/ui/mfc_wnd.h"

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, LPCWSTR defaultExtension = nullptr, LPCWSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR filter = nullptr,
                CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK or IDCANCEL.
    INT_PTR DoModal();
    std::u16string GetPathName() const { return m_ofn.lpstrFile; }

    OPENFILENAMEW m_ofn{};

private:
    bool m_open;
    std::u16string m_defaultExtension;
    std::u16string m_filter;  // '|' turned into null characters
    char16_t m_file[MAX_PATH] = {};
    CWnd* m_parent;
};
