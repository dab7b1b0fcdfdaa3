#include "platform/ui/file_chooser.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "platform/ui/message_box.h"
#include "platform/ui/ui_backend.h"
#include "platform/ui/ui_state.h"
#include "platform/ui/window.h"
#include "platform/win/path_nocase.h"

namespace {

DWORD& LastChooserError() {
    static DWORD error = 0;  // reached only through this object file
    return error;
}

std::vector<std::pair<std::u16string, std::u16string>> ParseFilters(LPCWSTR filter) {
    std::vector<std::pair<std::u16string, std::u16string>> filters;
    if (!filter) return filters;
    while (*filter) {
        std::u16string name(filter);
        filter += name.size() + 1;
        std::u16string pattern(filter);
        filter += pattern.size() + 1;
        const bool last = pattern.empty();  // "Name||" in the MFC form
        filters.emplace_back(std::move(name), std::move(pattern));
        if (last) break;
    }
    return filters;
}

std::size_t NameStart(const std::u16string& path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? 0 : slash + 1;
}

bool FolderExists(const std::u16string& path) {
    const std::size_t slash = path.rfind(u'/');
    if (slash == std::u16string::npos) return true;  // the current directory
    const std::string folder = ResolvePathNoCase(slash == 0 ? u"/" : path.substr(0, slash));
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::u16string& path) {
    struct stat st;
    return stat(ResolvePathNoCase(path).c_str(), &st) == 0;
}

MessageBoxRequest ChooserMessage(const FileChooserRequest& request, std::u16string text,
                                 UINT type) {
    return {request.owner, request.title, std::move(text), type};
}

BOOL Fail(DWORD error) {
    LastChooserError() = error;
    return FALSE;
}

BOOL RunChooser(LPOPENFILENAMEW info, bool save) {
    if (!info || info->lStructSize < sizeof(OPENFILENAMEW)) return Fail(CDERR_STRUCTSIZE);
    if (!info->lpstrFile || info->nMaxFile == 0 ||
        (info->hwndOwner && !IsWindow(info->hwndOwner))) {
        return Fail(CDERR_INITIALIZATION);
    }
    FileChooserRequest request;
    request.owner = info->hwndOwner;
    request.save = save;
    request.title = info->lpstrTitle ? info->lpstrTitle : (save ? u"Save As" : u"Open");
    request.filters = ParseFilters(info->lpstrFilter);
    request.filterIndex = static_cast<int>(info->nFilterIndex);
    request.initialPath.assign(info->lpstrFile,
                               std::find(info->lpstrFile, info->lpstrFile + info->nMaxFile, u'\0'));
    request.defaultExtension = info->lpstrDefExt ? info->lpstrDefExt : u"";
    request.flags = info->Flags;
    std::u16string path;
    if (!CurrentUiBackend().ChooseFile(request, path)) return Fail(0);
    path = ChooserPathWithExtension(path, request.defaultExtension);
    const std::size_t nameStart = NameStart(path);
    if (path.size() + 1 > info->nMaxFile) {
        info->lpstrFile[0] = static_cast<char16_t>(std::min<std::size_t>(path.size() + 1, 0xFFFF));
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    std::copy(path.begin(), path.end(), info->lpstrFile);
    info->lpstrFile[path.size()] = 0;
    const std::size_t dot = path.rfind(u'.');
    info->nFileOffset = static_cast<WORD>(nameStart);
    info->nFileExtension =
        static_cast<WORD>(dot != std::u16string::npos && dot >= nameStart ? dot + 1 : 0);
    LastChooserError() = 0;
    return TRUE;
}

}  // namespace

BOOL GetSaveFileNameW(LPOPENFILENAMEW info) {
    return RunChooser(info, true);
}

BOOL GetOpenFileNameW(LPOPENFILENAMEW info) {
    return RunChooser(info, false);
}

DWORD CommDlgExtendedError() {
    return LastChooserError();
}

std::u16string ChooserPathWithExtension(const std::u16string& path,
                                        const std::u16string& defaultExtension) {
    if (defaultExtension.empty() || path.find(u'.', NameStart(path)) != std::u16string::npos)
        return path;
    return path + u"." + defaultExtension;
}

std::optional<MessageBoxRequest> MissingPathRefusal(const FileChooserRequest& request,
                                                    const std::u16string& path) {
    if (!(request.flags & OFN_PATHMUSTEXIST) || FolderExists(path)) return std::nullopt;
    return ChooserMessage(request, path + u"\nPath does not exist.\nCheck the path and try again.",
                          MB_OK | MB_ICONEXCLAMATION);
}

std::optional<MessageBoxRequest> ReplaceFileQuestion(const FileChooserRequest& request,
                                                     const std::u16string& path) {
    if (!request.save || !(request.flags & OFN_OVERWRITEPROMPT) || !FileExists(path))
        return std::nullopt;
    return ChooserMessage(
        request, path.substr(NameStart(path)) + u" already exists.\nDo you want to replace it?",
        MB_YESNO | MB_ICONEXCLAMATION);
}
