// Showing text in the user's editor: a new temporary ".txt" file, private
// to the user and never one that was there before (a link planted under
// its name included), handed to the editor. The file stays for the editor;
// one that could not be written completely is removed.
#include <optional>

#include "addon/content/ansi_text.h"
#include "addon/content/text_file.h"
#include "addon/content/text_output.h"
#include "addon/edit_html.h"
#include "platform/ui/message_box.h"
#include "platform/ui/shell_execute.h"
#include "platform/win/file_system.h"
#include "platform/win/format.h"
#include "platform/win/last_error.h"
#include "platform/win/temp_file.h"

namespace {

// Names another process took between naming and creating are skipped.
constexpr int kNameAttempts = 16;

std::u16string TempFolder() {
    const DWORD size = GetTempPathW(0, nullptr);
    std::u16string folder(size, u'\0');
    const DWORD length = GetTempPathW(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
}

// Creates the file; path names it, or on failure what could not be made.
bool CreateTempTextFile(TextFile& file, std::u16string& path) {
    const std::u16string folder = TempFolder();
    path = folder;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char16_t name[MAX_PATH] = {};
        if (folder.empty() || GetTempFileNameW(folder.c_str(), u"TFR", 0, name) == 0) return false;
        DeleteFileW(name);
        path = std::u16string(name) + u".txt";
        if (file.Open(path, GENERIC_WRITE, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY)) return true;
        if (GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    return false;
}

bool WriteWhole(const TextFile& file, const std::u16string& text) {
    if (const std::optional<AnsiBytes> ansi = AnsiBytesOf(text)) return file.Write(ansi->View());
    return file.WriteUtf16(text, true);
}

}  // namespace

void ShowTextInNotepad(CEditHtml& addOn, const std::u16string& text) {
    TextFile file;
    std::u16string path;
    if (!CreateTempTextFile(file, path)) {
        MessageBoxW(addOn.m_hDocWnd,
                    FormatPattern(u"Failed to create a temp file: %s!", path).c_str(),
                    u"Kestro - Error", MB_ICONERROR);
        return;
    }
    const bool written = WriteWhole(file, text);
    file.Close();
    if (!written) {
        DeleteFileW(path.c_str());
        MessageBoxW(addOn.m_hDocWnd, FormatPattern(u"Failed to write file: %s!", path).c_str(),
                    u"Kestro - Save file", MB_ICONERROR);
        return;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.lpFile = u"notepad.exe";
    const std::u16string argument = EditorArgument(path);
    info.lpParameters = argument.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
}
