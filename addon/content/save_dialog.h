// The Save text file dialog: where and how the save commands write.
#pragma once

#include <string>

#include "addon/content/content_ids.h"
#include "platform/ui/atl_ddx.h"
#include "platform/ui/atl_dialog.h"

class CSaveDialog : public CDialogImpl<CSaveDialog>, public CWinDataExchange<CSaveDialog> {
public:
    enum { IDD = IDD_SAVE_TEXT };

    BEGIN_MSG_MAP(CSaveDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_SAVE_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER(IDC_SAVE_APPEND, OnAppendClicked)
    COMMAND_ID_HANDLER(IDC_SAVE_REMOVE_CRLF, OnRemoveCrLfClicked)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CSaveDialog)
    DDX_TEXT(IDC_SAVE_PATH, m_strFilePath)
    DDX_RADIO(IDC_SAVE_CREATE, m_nChoice)
    DDX_CHECK(IDC_SAVE_SHOW, m_bShowSavedFile)
    DDX_CHECK(IDC_SAVE_REMOVE_CRLF, m_bRemoveCrLf)
    DDX_CHECK(IDC_SAVE_BLANK_LINES, m_bBlankLineSeparated)
    DDX_CHECK(IDC_SAVE_UNICODE, m_bSaveAsUnicode)
    END_DDX_MAP()

    // Choice 0 creates or overwrites the file, 1 appends to it.
    std::u16string m_strFilePath;
    int m_nChoice = 0;
    DWORD m_bShowSavedFile = 0;
    DWORD m_bRemoveCrLf = 0;
    DWORD m_bBlankLineSeparated = 0;
    DWORD m_bSaveAsUnicode = 0;
    std::u16string m_strDefaultSaveFolder;
    std::u16string m_strLastFileName;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
    LRESULT OnAppendClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnRemoveCrLfClicked(WORD, WORD, HWND, BOOL&);

    void EnableBlankLineChoice();
    // The path made complete for OK; false when the dialog stays open.
    bool CompletePath(std::u16string& path, bool& changed);
    bool ConfirmOverwrite(const std::u16string& path);
};

// The part of a path after its last '/' has no '.': a name without an
// extension, or a folder.
bool NameLacksExtension(const std::u16string& path);
