#include "platform/win/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/win/file_copy.h"
#include "platform/win/last_error.h"
#include "platform/win/path_nocase.h"

namespace {

BOOL FailWith(DWORD code) {
    SetLastError(code);
    return FALSE;
}

// Sets the Windows error for a failed stat or open of a path.
BOOL FailForPath(const std::string& path, int err) {
    if (err == ENOENT) return FailWith(MissingFileError(path));
    if (err == ENOTDIR) return FailWith(ERROR_PATH_NOT_FOUND);
    SetLastErrorFromErrno(err);
    return FALSE;
}

DWORD AttributesOf(const struct stat& st) {
    DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if ((st.st_mode & 0222) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

BOOL CopyOpenFile(int from, const struct stat& st, mode_t mode, const std::string& target,
                  BOOL failIfExists) {
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0) {
        if (failIfExists) return FailWith(ERROR_FILE_EXISTS);
        if (AttributesOf(existing) != FILE_ATTRIBUTE_ARCHIVE) return FailWith(ERROR_ACCESS_DENIED);
    }
    const std::string temporary = WriteTemporaryCopy(from, st, mode, FolderOf(target));
    if (temporary.empty()) return FailForPath(target, errno);
    if (PlaceCopy(temporary, target, failIfExists) != 0) {
        const int err = errno;
        unlink(temporary.c_str());
        if (err == EEXIST) return FailWith(ERROR_FILE_EXISTS);
        return FailForPath(target, err);
    }
    return TRUE;
}

// The copy gets the source's permissions, or only its owner's when asked.
BOOL CopyFileWithMode(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists,
                      bool ownerOnly) {
    if (!existingFileName || !newFileName || !*existingFileName || !*newFileName) {
        return FailWith(ERROR_PATH_NOT_FOUND);
    }
    const std::string source = ResolvePathNoCase(existingFileName);
    const int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) return FailForPath(source, errno);
    struct stat st;
    BOOL result = FALSE;
    if (fstat(from, &st) != 0) {
        result = FailForPath(source, errno);
    } else if (S_ISDIR(st.st_mode)) {
        result = FailWith(ERROR_ACCESS_DENIED);
    } else {
        const mode_t mode = ownerOnly ? S_IRUSR | S_IWUSR : st.st_mode & 07777;
        result = CopyOpenFile(from, st, mode, ResolvePathNoCase(newFileName), failIfExists);
    }
    close(from);
    return result;
}

}  // namespace

DWORD GetFileAttributesW(LPCWSTR fileName) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::string path = ResolvePathNoCase(fileName);
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        FailForPath(path, errno);
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(st);
}

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
    return CopyFileWithMode(existingFileName, newFileName, failIfExists, false);
}

BOOL CopyFileForOwnerW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
    return CopyFileWithMode(existingFileName, newFileName, failIfExists, true);
}

BOOL DeleteFileW(LPCWSTR fileName) {
    if (!fileName || !*fileName) return FailWith(ERROR_PATH_NOT_FOUND);
    const std::string path = ResolvePathNoCase(fileName);
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return FailForPath(path, errno);
    if (S_ISDIR(st.st_mode)) return FailWith(ERROR_ACCESS_DENIED);
    if (!S_ISLNK(st.st_mode) && (st.st_mode & 0222) == 0) return FailWith(ERROR_ACCESS_DENIED);
    if (unlink(path.c_str()) != 0) return FailForPath(path, errno);
    return TRUE;
}
