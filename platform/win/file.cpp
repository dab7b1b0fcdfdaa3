#include "platform/win/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/win/last_error.h"
#include "platform/win/path_nocase.h"

namespace {

class FileObject : public KernelObject {
public:
    FileObject(int fd, DWORD access) : m_fd(fd), m_access(access) {}
    ~FileObject() override { close(m_fd); }
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    int fd() const { return m_fd; }
    bool CanRead() const { return m_access & GENERIC_READ; }
    bool CanWrite() const { return m_access & GENERIC_WRITE; }

private:
    int m_fd;
    DWORD m_access;
};

int OpenFlagsFor(DWORD access) {
    const bool read = access & GENERIC_READ;
    const bool write = access & GENERIC_WRITE;
    return (write ? (read ? O_RDWR : O_WRONLY) : O_RDONLY) | O_CLOEXEC;
}

DWORD OpenFailure(const std::string& path, int err) {
    if (err == ENOENT) {
        const DWORD code = MissingFileError(path);
        SetLastError(code);
        return code;
    }
    return SetLastErrorFromErrno(err);
}

// Opens per the disposition; 'existed' tells whether the file was there.
int OpenByDisposition(const std::string& path, int flags, mode_t mode, DWORD disposition,
                      bool& existed) {
    existed = false;
    switch (disposition) {
        case CREATE_NEW:
            return open(path.c_str(), flags | O_CREAT | O_EXCL, mode);
        case OPEN_EXISTING:
            return existed = true, open(path.c_str(), flags);
        case TRUNCATE_EXISTING:
            return existed = true, open(path.c_str(), flags | O_TRUNC);
        default:
            break;
    }
    // CREATE_ALWAYS and OPEN_ALWAYS: create exclusively first, so whether
    // the file existed is known without a race.
    const int fd = open(path.c_str(), flags | O_CREAT | O_EXCL, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
    existed = true;
    return open(path.c_str(), flags | (disposition == CREATE_ALWAYS ? O_TRUNC : 0));
}

// A temporary file is readable by its user alone.
mode_t NewFileMode(DWORD attributes) {
    const mode_t mode = (attributes & FILE_ATTRIBUTE_TEMPORARY) ? 0600 : 0666;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & 0444) : mode;
}

bool IsFolder(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

std::shared_ptr<FileObject> FileOf(HANDLE handle) {
    return ObjectOfHandleAs<FileObject>(handle);
}

}  // namespace

HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/,
                   LPSECURITY_ATTRIBUTES /*security*/, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE /*templateFile*/) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (creationDisposition < CREATE_NEW || creationDisposition > TRUNCATE_EXISTING ||
        (creationDisposition == TRUNCATE_EXISTING && !(desiredAccess & GENERIC_WRITE))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = ResolvePathNoCase(fileName);
    const mode_t mode = NewFileMode(flagsAndAttributes);
    bool existed = false;
    const int fd =
        OpenByDisposition(path, OpenFlagsFor(desiredAccess), mode, creationDisposition, existed);
    if (fd < 0) {
        OpenFailure(path, errno);
        return INVALID_HANDLE_VALUE;
    }
    if (IsFolder(fd)) {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS) {
        SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    }
    return OpenHandleFor(std::make_shared<FileObject>(fd, desiredAccess));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
              LPOVERLAPPED overlapped) {
    if (bytesRead) *bytesRead = 0;
    const std::shared_ptr<FileObject> object = FileOf(file);
    if (!object) return FALSE;
    if (overlapped || (!buffer && bytesToRead > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!object->CanRead()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < bytesToRead) {
        const ssize_t n =
            read(object->fd(), static_cast<char*>(buffer) + total, bytesToRead - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            SetLastErrorFromErrno(errno);
            return FALSE;
        }
        if (n == 0) break;
        total += static_cast<DWORD>(n);
    }
    if (bytesRead) *bytesRead = total;
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped) {
    if (bytesWritten) *bytesWritten = 0;
    const std::shared_ptr<FileObject> object = FileOf(file);
    if (!object) return FALSE;
    if (overlapped || (!buffer && bytesToWrite > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!object->CanWrite()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD total = 0;
    while (total < bytesToWrite) {
        const ssize_t n =
            write(object->fd(), static_cast<const char*>(buffer) + total, bytesToWrite - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (bytesWritten) *bytesWritten = total;
            SetLastErrorFromErrno(errno);
            return FALSE;
        }
        total += static_cast<DWORD>(n);
    }
    if (bytesWritten) *bytesWritten = total;
    return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod) {
    const std::shared_ptr<FileObject> object = FileOf(file);
    if (!object) return INVALID_SET_FILE_POINTER;
    const int whence = moveMethod == FILE_BEGIN     ? SEEK_SET
                       : moveMethod == FILE_CURRENT ? SEEK_CUR
                       : moveMethod == FILE_END     ? SEEK_END
                                                    : -1;
    if (whence < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    const std::int64_t offset =
        distanceHigh ? static_cast<std::int64_t>((static_cast<std::uint64_t>(*distanceHigh) << 32) |
                                                 static_cast<DWORD>(distance))
                     : distance;
    struct stat st;
    const off_t base = whence == SEEK_SET              ? 0
                       : whence == SEEK_CUR            ? lseek(object->fd(), 0, SEEK_CUR)
                       : fstat(object->fd(), &st) == 0 ? st.st_size
                                                       : -1;
    if (base < 0) {
        SetLastErrorFromErrno(errno);
        return INVALID_SET_FILE_POINTER;
    }
    const std::int64_t target = static_cast<std::int64_t>(base) + offset;
    if (target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return INVALID_SET_FILE_POINTER;
    }
    if (!distanceHigh && target > 0xFFFFFFFE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lseek(object->fd(), static_cast<off_t>(target), SEEK_SET) < 0) {
        SetLastErrorFromErrno(errno);
        return INVALID_SET_FILE_POINTER;
    }
    if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<std::uint64_t>(target) >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(target);
}

DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
    const std::shared_ptr<FileObject> object = FileOf(file);
    if (!object) return INVALID_FILE_SIZE;
    struct stat st;
    if (fstat(object->fd(), &st) != 0) {
        SetLastErrorFromErrno(errno);
        return INVALID_FILE_SIZE;
    }
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    if (fileSizeHigh) *fileSizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size);
}
