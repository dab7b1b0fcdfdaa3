#include "platform/dpapi/key_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/win/last_error.h"

namespace {

enum class ReadResult { Read, Missing, Failed };

bool ReadAll(int fd, unsigned char* out, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = read(fd, out + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteAll(int fd, const unsigned char* bytes, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A key read whole stays open in stamp.
ReadResult ReadKey(const std::string& path, SecretKey& key, KeyFileStamp& stamp) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        if (errno == ENOENT) return ReadResult::Missing;
        SetLastErrorFromErrno(errno == ELOOP ? EACCES : errno);
        return ReadResult::Failed;
    }
    struct stat info {};
    const bool wellFormed = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                            info.st_size == static_cast<off_t>(SecretKey::kBytes) &&
                            ReadAll(fd, key.data(), SecretKey::kBytes);
    if (!wellFormed) {
        close(fd);
        SetLastError(ERROR_INVALID_DATA);
        return ReadResult::Failed;
    }
    stamp.Take(fd, info);
    return ReadResult::Read;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

void SyncDirectory(const std::string& dir) {
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Writes a fresh random key under a temporary name, complete and synced,
// before it becomes visible under its real name.
bool WriteTemporaryKey(const std::string& dir, std::string& tempPath) {
    tempPath = dir + "/.protection.key.XXXXXX";
    const int fd = mkostemp(tempPath.data(), O_CLOEXEC);
    if (fd < 0) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    SecretKey fresh;
    randombytes_buf(fresh.data(), SecretKey::kBytes);
    const bool written = fchmod(fd, S_IRUSR | S_IWUSR) == 0 &&
                         WriteAll(fd, fresh.data(), SecretKey::kBytes) && fsync(fd) == 0;
    const int err = errno;
    close(fd);
    if (!written) {
        unlink(tempPath.c_str());
        SetLastErrorFromErrno(err);
    }
    return written;
}

// Publishes a new key unless another user of the directory got there first;
// either way the key at path is the one everybody uses.
bool CreateKey(const std::string& path, SecretKey& key, KeyFileStamp& stamp) {
    const std::string dir = DirectoryOf(path);
    std::string tempPath;
    if (!WriteTemporaryKey(dir, tempPath)) return false;
    const bool linked = link(tempPath.c_str(), path.c_str()) == 0;
    const int err = errno;
    unlink(tempPath.c_str());
    if (!linked && err != EEXIST) {
        SetLastErrorFromErrno(err);
        return false;
    }
    if (linked) SyncDirectory(dir);
    switch (ReadKey(path, key, stamp)) {
        case ReadResult::Read:
            return true;
        case ReadResult::Failed:
            return false;
        case ReadResult::Missing:
            break;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);  // removed by someone in the meantime
    return false;
}

}  // namespace

bool LoadKeyFile(const std::string& path, KeyFileAccess access, SecretKey& key,
                 KeyFileStamp& stamp) {
    switch (ReadKey(path, key, stamp)) {
        case ReadResult::Read:
            return true;
        case ReadResult::Failed:
            return false;
        case ReadResult::Missing:
            break;
    }
    if (access == KeyFileAccess::ReadOnly) {
        // Nothing was ever protected for this user here.
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return CreateKey(path, key, stamp);
}
