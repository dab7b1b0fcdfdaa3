#include "platform/win/file_virtualization.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <optional>

#include "platform/win/file_copy.h"
#include "platform/win/kestro_home.h"
#include "platform/win/text.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

std::string FolderOf(const std::string& path, std::size_t slash) {
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A name the mark may list: one entry of the folder itself.
bool PlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The name as the mark in folder lists it, when it lists name. Most folders
// have no mark, which costs one failed open.
std::optional<std::string> ListedAsPerUser(const std::string& folder, const std::string& name) {
    std::ifstream mark(folder + "/" + kPerUserFilesMark);
    if (!mark) return std::nullopt;
    const std::u16string wanted = Utf8ToUtf16(name);
    for (std::string line; std::getline(mark, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (PlainName(line) && WideEqualsNoCase(Utf8ToUtf16(line), wanted)) return line;
    }
    return std::nullopt;
}

// Copies the shipped file to the user's copy unless that exists; whether
// the user's copy exists afterwards. Two first starts at once both succeed
// with one complete copy.
bool CreateUserCopy(const std::string& shipped, const std::string& copy,
                    const std::string& folder) {
    const int from = open(shipped.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return false;
    struct stat st;
    std::string temporary;
    if (fstat(from, &st) == 0 && S_ISREG(st.st_mode))
        temporary = WriteTemporaryCopy(from, st, S_IRUSR | S_IWUSR, folder);
    close(from);
    if (temporary.empty()) return false;
    if (PlaceCopy(temporary, copy, true) != 0) unlink(temporary.c_str());
    return Exists(copy);
}

}  // namespace

std::string VirtualizedPath(const std::string& resolvedPath) {
    const std::size_t slash = resolvedPath.rfind('/');
    const std::string name = resolvedPath.substr(slash + 1);  // npos + 1 == 0
    if (!PlainName(name)) return resolvedPath;
    const std::optional<std::string> listed = ListedAsPerUser(FolderOf(resolvedPath, slash), name);
    if (!listed) return resolvedPath;
    const std::string userFolder = KestroDataDirectory();
    const std::string copy = userFolder + "/" + *listed;
    if (Exists(copy) || !Exists(resolvedPath)) return copy;
    return CreateUserCopy(resolvedPath, copy, userFolder) ? copy : resolvedPath;
}
