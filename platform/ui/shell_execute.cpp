#include "platform/ui/shell_execute.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/command_line_arguments.h"
#include "platform/ui/detached_process.h"
#include "platform/ui/scripted_backend.h"
#include "platform/win/effects_journal.h"
#include "platform/win/last_error.h"
#include "platform/win/path_nocase.h"
#include "platform/win/text.h"

namespace {

constexpr INT kStarted = 42;  // any value above 32 means success; Windows gives 42
constexpr INT kBadFormat = static_cast<INT>(ERROR_BAD_FORMAT);

struct ShellRequest {
    std::u16string verb;
    std::u16string file;
    std::u16string parameters;
    std::u16string directory;
};

// What runs: a program with its arguments, or xdg-open on a target.
struct Launch {
    bool opener = false;
    std::string program;
    std::vector<std::string> arguments;
    std::string target;
    std::string directory;
};

std::u16string Text(LPCWSTR text) {
    return text ? std::u16string(text) : std::u16string();
}

bool IsScripted() {
    const char* script = std::getenv("KESTRO_UI_SCRIPT");
    if (script && *script) return true;
    return dynamic_cast<ScriptedBackend*>(ChosenUiBackend()) != nullptr;
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A scheme of at least two characters, so that "c:" stays a path.
bool IsUrl(std::u16string_view file) {
    const std::size_t colon = file.find(u':');
    if (colon == std::u16string_view::npos || colon < 2 || !IsAsciiLetter(file[0])) return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const char16_t c = file[i];
        if (!IsAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'.' && c != u'-')
            return false;
    }
    return true;
}

std::u16string Unquoted(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) return {};
    text = text.substr(first, text.find_last_not_of(u" \t") - first + 1);
    if (text.size() >= 2 && text.front() == u'"' && text.back() == u'"')
        text = text.substr(1, text.size() - 2);
    return std::u16string(text);
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsProgram(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> PathFolders() {
    std::vector<std::string> folders;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::size_t colon = std::min(rest.find(':'), rest.size());
        if (colon > 0) folders.emplace_back(rest.substr(0, colon));
        rest.remove_prefix(std::min(colon + 1, rest.size()));
    }
    return folders;
}

std::string FindProgramOnPath(const std::string& name) {
    for (const std::string& folder : PathFolders()) {
        if (IsProgram(folder + "/" + name)) return folder + "/" + name;
    }
    return {};
}

// Where a file name may be, in the order it is looked for.
std::vector<std::u16string> Candidates(const std::u16string& file,
                                       const std::u16string& directory) {
    std::vector<std::u16string> places;
    if (file.front() == u'/') {
        places.push_back(file);
    } else {
        if (!directory.empty()) places.push_back(directory + u"/" + file);
        std::error_code ec;
        places.push_back(Utf8ToUtf16(std::filesystem::current_path(ec).string()) + u"/" + file);
        if (file.find(u'/') == std::u16string::npos) {
            for (const std::string& folder : PathFolders())
                places.push_back(Utf8ToUtf16(folder) + u"/" + file);
        }
    }
    std::vector<std::u16string> names;
    for (const std::u16string& place : places) {
        names.push_back(place);
        if (place.size() > 4 && WideEqualsNoCase(place.substr(place.size() - 4), u".exe"))
            names.push_back(place.substr(0, place.size() - 4));
    }
    return names;
}

// The existing file a name refers to, or SE_ERR_FNF / SE_ERR_PNF.
INT FindFile(const std::u16string& file, const std::u16string& directory, std::string& found) {
    const std::vector<std::u16string> candidates = Candidates(file, directory);
    for (const std::u16string& candidate : candidates) {
        const std::string resolved = ResolvePathNoCase(candidate);
        if (Exists(resolved)) {
            found = resolved;
            return 0;
        }
    }
    const DWORD missing = MissingFileError(ResolvePathNoCase(candidates.front()));
    return missing == ERROR_PATH_NOT_FOUND ? SE_ERR_PNF : SE_ERR_FNF;
}

std::vector<std::string> ProgramArguments(const std::u16string& parameters) {
    std::vector<std::string> arguments;
    for (const std::u16string& argument : SplitCommandLineArguments(parameters))
        arguments.push_back(Utf16ToUtf8(argument));
    return arguments;
}

INT Classify(const ShellRequest& request, Launch& launch) {
    if (WideEqualsNoCase(request.file, u"notepad.exe")) {
        const std::u16string target = Unquoted(request.parameters);
        if (target.empty()) return SE_ERR_NOASSOC;
        launch.opener = true;
        launch.target = Utf16ToUtf8(target);
        return 0;
    }
    if (IsUrl(request.file)) {
        launch.opener = true;
        launch.target = Utf16ToUtf8(request.file);
        return 0;
    }
    std::string path;
    if (const INT error = FindFile(request.file, request.directory, path)) return error;
    if (IsProgram(path)) {
        launch.program = path;
        launch.arguments = ProgramArguments(request.parameters);
    } else {
        launch.opener = true;
        launch.target = path;
    }
    return 0;
}

INT ErrorOfStart(int error, bool opener) {
    if (opener) return SE_ERR_NOASSOC;  // the opener itself would not run
    switch (error) {
        case ENOENT:
            return SE_ERR_FNF;
        case ENOTDIR:
            return SE_ERR_PNF;
        case ENOEXEC:
            return kBadFormat;
        case ENOMEM:
            return SE_ERR_OOM;
        default:
            return SE_ERR_ACCESSDENIED;
    }
}

INT Start(const Launch& launch) {
    std::vector<std::string> argv;
    if (launch.opener) {
        const std::string opener = FindProgramOnPath("xdg-open");
        if (opener.empty()) return SE_ERR_NOASSOC;
        argv = {opener, launch.target};
    } else {
        argv.push_back(launch.program);
        argv.insert(argv.end(), launch.arguments.begin(), launch.arguments.end());
    }
    const int error = StartDetachedProcess(argv, launch.directory);
    return error ? ErrorOfStart(error, launch.opener) : 0;
}

// kStarted, or the failure.
INT Execute(const ShellRequest& request) {
    if (request.file.empty()) return SE_ERR_FNF;
    if (!request.verb.empty() && !WideEqualsNoCase(request.verb, u"open")) return SE_ERR_NOASSOC;
    Launch launch;
    if (!request.directory.empty()) {
        launch.directory = ResolvePathNoCase(request.directory);
        if (!IsDirectory(launch.directory)) return SE_ERR_PNF;
    }
    if (const INT error = Classify(request, launch)) return error;
    if (!IsScripted()) {
        if (const INT error = Start(launch)) return error;
    }
    JournalEffect(u"shell", request.parameters.empty() ? request.file
                                                       : request.file + u" " + request.parameters);
    return kStarted;
}

HINSTANCE AsInstance(INT code) {
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(code));
}

DWORD Win32ErrorOf(INT code) {
    switch (code) {
        case SE_ERR_FNF:
            return ERROR_FILE_NOT_FOUND;
        case SE_ERR_PNF:
            return ERROR_PATH_NOT_FOUND;
        case SE_ERR_OOM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case SE_ERR_NOASSOC:
            return ERROR_NO_ASSOCIATION;
        case kBadFormat:
            return ERROR_BAD_FORMAT;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

}  // namespace

HINSTANCE ShellExecuteW(HWND /*owner*/, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT /*showCommand*/) {
    return AsInstance(Execute({Text(verb), Text(file), Text(parameters), Text(directory)}));
}

BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (info->cbSize != sizeof(SHELLEXECUTEINFOW)) {
        info->hInstApp = AsInstance(SE_ERR_ACCESSDENIED);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const INT code = Execute({Text(info->lpVerb), Text(info->lpFile), Text(info->lpParameters),
                              Text(info->lpDirectory)});
    info->hInstApp = AsInstance(code);
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS) info->hProcess = nullptr;
    if (code > 32) return TRUE;
    SetLastError(Win32ErrorOf(code));
    return FALSE;
}
