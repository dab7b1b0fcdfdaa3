#include "platform/win/path_nocase.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win/file_virtualization.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// The entry of a folder whose name equals the given one without regard to
// case; the first in byte order when several do, so the choice is stable.
std::optional<std::string> FindEntryNoCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return std::nullopt;
    const std::u16string wanted = Utf8ToUtf16(name);
    std::optional<std::string> found;
    while (const dirent* entry = readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (!WideEqualsNoCase(Utf8ToUtf16(candidate), wanted)) continue;
        if (!found || candidate < *found) found = candidate;
    }
    closedir(dir);
    return found;
}

std::string Join(const std::string& folder, const std::string& name, bool first) {
    return first ? name : folder + "/" + name;
}

std::string ResolveCase(std::u16string_view path) {
    const std::string given = Utf16ToUtf8(path);
    if (given.empty() || Exists(given)) return given;
    const std::vector<std::string> parts = SplitComponents(given);
    std::string resolved;
    bool matching = true;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        const bool first = i == 0;
        std::string next = Join(resolved, part, first);
        if (matching && !part.empty() && part != "." && part != ".." && !Exists(next)) {
            const std::string folder = first ? "." : (resolved.empty() ? "/" : resolved);
            const std::optional<std::string> entry = FindEntryNoCase(folder, part);
            if (entry) {
                next = Join(resolved, *entry, first);
            } else {
                matching = false;
            }
        }
        resolved = std::move(next);
    }
    return resolved;
}

}  // namespace

std::string ResolvePathNoCase(std::u16string_view path) {
    return VirtualizedPath(ResolveCase(path));
}

DWORD MissingFileError(const std::string& resolvedPath) {
    std::string folder = resolvedPath;
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return ERROR_FILE_NOT_FOUND;
    folder = slash == 0 ? "/" : folder.substr(0, slash);
    struct stat st;
    if (stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return ERROR_FILE_NOT_FOUND;
    return ERROR_PATH_NOT_FOUND;
}
