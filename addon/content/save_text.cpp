// Saving text into the file the Save text file dialog names. The file gets
// UTF-16 (with the byte-order mark when it starts) or ANSI bytes; an ANSI
// file is never appended to with UTF-16. A failed save leaves the stored
// settings as they were.
#include <optional>

#include "addon/content/ansi_text.h"
#include "addon/content/line_breaks.h"
#include "addon/content/save_dialog.h"
#include "addon/content/text_file.h"
#include "addon/content/text_output.h"
#include "addon/edit_html.h"
#include "platform/ui/message_box.h"
#include "platform/ui/shell_execute.h"
#include "platform/ui/window.h"
#include "platform/win/format.h"

namespace {

constexpr char16_t kTitle[] = u"Kestro - Save file";
constexpr std::size_t kLongestProposedName = 15;

bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// A short selection is proposed as the file name only when it names a
// file in the folder the save goes to: no folder part, nothing hidden.
bool IsProposableName(std::u16string_view text) {
    if (text.empty() || text.size() > kLongestProposedName || text.front() == u'.') return false;
    for (char16_t c : text)
        if (c == u'/' || c == u'\\' || IsControl(c)) return false;
    return true;
}

void PrepareDialog(const CEditHtml& addOn, CSaveDialog& dialog) {
    dialog.m_nChoice = addOn.m_bAppendFile == 1 ? 1 : 0;
    dialog.m_bShowSavedFile = addOn.m_bShowSavedText;
    dialog.m_bRemoveCrLf = addOn.m_bRemoveImproperCrLf;
    dialog.m_strDefaultSaveFolder = addOn.m_strDefaultSaveFolder;
    dialog.m_strLastFileName = addOn.m_strLastFileName;
    const BSTR selection = addOn.m_bstrSelection.m_str;
    const std::u16string_view proposed(selection ? selection : u"", SysStringLen(selection));
    if (dialog.m_nChoice == 1)
        dialog.m_strFilePath = addOn.m_strLastFileName;
    else if (IsProposableName(proposed))
        dialog.m_strFilePath = proposed;
}

void ShowSaveError(const CEditHtml& addOn, const char16_t* pattern, const std::u16string& path) {
    MessageBoxW(addOn.m_hDocWnd, FormatPattern(pattern, path).c_str(), kTitle, MB_ICONERROR);
}

std::u16string CleanedText(const std::u16string& text, const CSaveDialog& dialog, bool ansi) {
    if (!dialog.m_bBlankLineSeparated) return RemoveImproperLineBreaks(text, ansi);
    return RemoveImproperLineBreaks(CollapseBlankLines(text), ansi);
}

// Writes the text at the end of the open file in the encoding decided for
// it; false after telling the user why nothing (or not all) was written.
bool WriteText(CEditHtml& addOn, const CSaveDialog& dialog, TextFile& file,
               const std::u16string& text) {
    const std::u16string& path = dialog.m_strFilePath;
    std::uint64_t size = 0;
    const bool sized = file.Size(size);
    const bool unicodeFile = sized && size != 0 && file.StartsWithByteOrderMark();
    if (!sized || !file.SeekToEnd()) {
        ShowSaveError(addOn, u"Failed to write file: %s!", path);
        return false;
    }
    // An empty file is a new one: it gets the byte-order mark.
    if (size == 0) addOn.m_bAppendFile = 0;
    std::optional<AnsiBytes> ansi;
    const bool utf16 = unicodeFile || dialog.m_bSaveAsUnicode || !(ansi = AnsiBytesOf(text));
    if (size != 0 && !unicodeFile && utf16) {
        MessageBoxW(addOn.m_hDocWnd, u"You cannot append Unicode text to a non-Unicode file!",
                    kTitle, MB_ICONERROR);
        return false;
    }
    bool written = false;
    if (!dialog.m_bRemoveCrLf)
        written =
            utf16 ? file.WriteUtf16(text, addOn.m_bAppendFile == 0) : file.Write(ansi->View());
    else if (const std::u16string cleaned = CleanedText(text, dialog, !utf16); utf16)
        written = file.WriteUtf16(cleaned, addOn.m_bAppendFile == 0);
    else if (const std::optional<AnsiBytes> bytes = AnsiBytesOf(cleaned))
        written = file.Write(bytes->View());
    if (!written) ShowSaveError(addOn, u"Failed to write file: %s!", path);
    return written;
}

bool SaveIntoFile(CEditHtml& addOn, const CSaveDialog& dialog, const std::u16string& text) {
    TextFile file;
    const DWORD disposition = dialog.m_nChoice == 1 ? OPEN_ALWAYS : CREATE_ALWAYS;
    if (!file.Open(dialog.m_strFilePath, GENERIC_READ | GENERIC_WRITE, disposition,
                   FILE_ATTRIBUTE_NORMAL)) {
        ShowSaveError(addOn, u"Failed to create file: %s!\nMake sure the file path is correct.\n",
                      dialog.m_strFilePath);
        return false;
    }
    return WriteText(addOn, dialog, file, text);
}

}  // namespace

std::u16string EditorArgument(const std::u16string& path) {
    return u"\"" + path + u"\"";
}

void SaveTextToFile(CEditHtml& addOn, const std::u16string& text) {
    addOn.LoadSaveSettings(true);
    CSaveDialog dialog;
    PrepareDialog(addOn, dialog);
    if (dialog.DoModal(GetActiveWindow()) != IDOK) return;
    addOn.m_bAppendFile = static_cast<DWORD>(dialog.m_nChoice);
    addOn.m_strLastFileName = dialog.m_strFilePath;
    addOn.m_bShowSavedText = dialog.m_bShowSavedFile;
    addOn.m_bRemoveImproperCrLf = dialog.m_bRemoveCrLf;
    if (!SaveIntoFile(addOn, dialog, text)) return;
    if (addOn.m_bShowSavedText)
        ShellExecuteW(nullptr, u"open", u"notepad.exe",
                      EditorArgument(dialog.m_strFilePath).c_str(), nullptr, SW_SHOWNORMAL);
    // Only this save's choices go into the stored settings; what another
    // window saved meanwhile stays.
    const DWORD append = addOn.m_bAppendFile;
    const DWORD show = addOn.m_bShowSavedText;
    addOn.ChangeSettings([&] {
        addOn.m_bAppendFile = append;
        addOn.m_strLastFileName = dialog.m_strFilePath;
        addOn.m_bShowSavedText = show;
    });
}
