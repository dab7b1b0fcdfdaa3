#include "addon/content/save_dialog.h"

#include "platform/ui/file_chooser.h"
#include "platform/ui/message_box.h"
#include "platform/win/file_system.h"
#include "platform/win/format.h"
#include "platform/win/full_path.h"

namespace {

constexpr char16_t kTitle[] = u"Kestro - Save file";

std::size_t NameStart(const std::u16string& path) {
    const std::size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? 0 : slash + 1;
}

// Everything up to and including the last '/'.
std::u16string FolderPart(const std::u16string& path) {
    return path.substr(0, NameStart(path));
}

std::u16string JoinPath(const std::u16string& folder, const std::u16string& name) {
    return folder.back() == u'/' ? folder + name : folder + u'/' + name;
}

std::u16string CurrentDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return {};
    std::u16string folder(size, u'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
}

}  // namespace

bool NameLacksExtension(const std::u16string& path) {
    return path.find(u'.', NameStart(path)) == std::u16string::npos;
}

LRESULT CSaveDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    DoDataExchange(FALSE);
    CenterWindow(GetParent());
    EnableBlankLineChoice();
    return TRUE;
}

// The blank-line choice only means something while lines are joined; it
// keeps its check while disabled.
void CSaveDialog::EnableBlankLineChoice() {
    ::EnableWindow(GetDlgItem(IDC_SAVE_BLANK_LINES),
                   IsDlgButtonChecked(IDC_SAVE_REMOVE_CRLF) == BST_CHECKED);
}

LRESULT CSaveDialog::OnRemoveCrLfClicked(WORD, WORD, HWND, BOOL&) {
    EnableBlankLineChoice();
    return 0;
}

// Appending proposes the file of the last save.
LRESULT CSaveDialog::OnAppendClicked(WORD, WORD, HWND, BOOL&) {
    DoDataExchange(TRUE);
    if (m_nChoice == 1) m_strFilePath = m_strLastFileName;
    DoDataExchange(FALSE);
    return 0;
}

LRESULT CSaveDialog::OnBrowse(WORD, WORD, HWND, BOOL&) {
    DoDataExchange(TRUE);
    char16_t file[MAX_PATH] = {};
    const std::u16string folder = FolderPart(m_strFilePath);
    if (folder.size() < MAX_PATH) folder.copy(file, folder.size());
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = m_hWnd;
    request.lpstrFilter = u"All files (*.*)\0*.*\0Text files (*.txt)\0*.txt\0";
    request.nFilterIndex = 2;
    request.lpstrFile = file;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = u"Save text file";
    request.Flags = OFN_PATHMUSTEXIST | (m_nChoice == 0 ? OFN_OVERWRITEPROMPT : 0);
    if (!GetSaveFileNameW(&request)) return 0;
    m_strFilePath = file;
    if (NameLacksExtension(m_strFilePath)) m_strFilePath += u".txt";
    DoDataExchange(FALSE);
    return 0;
}

// A name without an extension gets ".txt"; a relative path goes into the
// default save folder, or, once the user agrees, the current directory.
bool CSaveDialog::CompletePath(std::u16string& path, bool& changed) {
    if (path.empty()) {
        MessageBoxW(m_hWnd, u"File name cannot be empty!", kTitle, MB_ICONERROR);
        return false;
    }
    if (NameLacksExtension(path)) {
        path += u".txt";
        changed = true;
    }
    if (path.front() == u'/') return true;
    changed = true;
    if (!m_strDefaultSaveFolder.empty()) {
        path = JoinPath(m_strDefaultSaveFolder, path);
        return true;
    }
    const std::u16string current = CurrentDirectory();
    const std::u16string question =
        FormatPattern(u"Do you want to save the file in location: %s?", current);
    if (MessageBoxW(m_hWnd, question.c_str(), kTitle, MB_YESNO) != IDYES) return false;
    path = current.empty() ? path : JoinPath(current, path);
    return true;
}

bool CSaveDialog::ConfirmOverwrite(const std::u16string& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    const std::u16string question =
        FormatPattern(u"The file: \"%s\" already exists.\nDo you want to overwrite it?", path);
    return MessageBoxW(m_hWnd, question.c_str(), kTitle, MB_YESNO) == IDYES;
}

// A path typed in full, with an extension, is taken as it is: only a path
// this dialog completed is checked against an existing file.
LRESULT CSaveDialog::OnOK(WORD, WORD, HWND, BOOL&) {
    DoDataExchange(TRUE);
    std::u16string path = m_strFilePath;
    bool changed = false;
    if (!CompletePath(path, changed)) return 0;
    if (m_nChoice == 0 && changed && !ConfirmOverwrite(path)) return 0;
    m_strFilePath = path;
    EndDialog(IDOK);
    return 0;
}

LRESULT CSaveDialog::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
