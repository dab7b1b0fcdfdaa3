#include "platform/win/registry_hive.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/win/kestro_home.h"
#include "platform/win/registry_reg_text.h"
#include "platform/win/text.h"

namespace {

// Identifies one version of a hive file; writers always create a new inode.
struct FileVersion {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileVersion& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct CachedHive {
    FileVersion version;
    HiveSnapshot snapshot;
};

std::mutex g_cacheMutex;
std::map<std::string, CachedHive> g_cache;
// Orders this process's writers; the file lock orders them across processes.
std::mutex g_updateMutex;

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

FileVersion VersionOf(const struct stat& st) {
    return FileVersion{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

FILETIME FileTimeOf(const timespec& t) {
    constexpr unsigned long long kSecondsFrom1601To1970 = 11644473600ULL;
    const unsigned long long ticks =
        (static_cast<unsigned long long>(t.tv_sec) + kSecondsFrom1601To1970) * 10000000ULL +
        static_cast<unsigned long long>(t.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

HiveSnapshot EmptySnapshot(LONG status) {
    HiveSnapshot snapshot;
    snapshot.status = status;
    snapshot.tree = std::make_shared<const RegistryTreeKey>();
    return snapshot;
}

bool ReadAll(int fd, std::string& out) {
    char buffer[16384];
    while (true) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

// The file's contents and version; a missing file reads as empty text.
LONG ReadHiveFile(const std::string& path, std::string& text, FileVersion& version) {
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return errno == ENOENT ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
    struct stat st {};
    if (fstat(fd.get(), &st) != 0 || !ReadAll(fd.get(), text)) return Win32ErrorFromErrno(errno);
    version = VersionOf(st);
    return ERROR_SUCCESS;
}

HiveSnapshot SnapshotOf(std::optional<RegistryTreeKey> tree, const FileVersion& version) {
    if (!tree) return EmptySnapshot(ERROR_BADDB);
    HiveSnapshot snapshot;
    snapshot.tree = std::make_shared<const RegistryTreeKey>(std::move(*tree));
    snapshot.lastWriteTime = FileTimeOf(version.modified);
    return snapshot;
}

void Remember(const std::string& path, const FileVersion& version, const HiveSnapshot& snapshot) {
    const std::lock_guard<std::mutex> lock(g_cacheMutex);
    g_cache[path] = CachedHive{version, snapshot};
}

// Writes text to a new file beside path, syncs it and renames it over path.
LONG ReplaceFile(const std::string& path, std::string_view text, FileVersion& version) {
    struct stat old {};
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0600;
    std::string temp = path + ".XXXXXX";
    const int raw = mkostemp(temp.data(), O_CLOEXEC);
    if (raw < 0) return Win32ErrorFromErrno(errno);
    LONG status = ERROR_SUCCESS;
    {
        const FileDescriptor fd(raw);
        struct stat st {};
        if (fchmod(fd.get(), mode) != 0 || !WriteAll(fd.get(), text) || fsync(fd.get()) != 0 ||
            fstat(fd.get(), &st) != 0) {
            status = Win32ErrorFromErrno(errno);
        } else {
            version = VersionOf(st);
        }
    }
    if (status == ERROR_SUCCESS && rename(temp.c_str(), path.c_str()) != 0) {
        status = Win32ErrorFromErrno(errno);
    }
    if (status != ERROR_SUCCESS) {
        unlink(temp.c_str());
        return status;
    }
    const FileDescriptor dir(open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) fsync(dir.get());
    return ERROR_SUCCESS;
}

bool FileIsWritable(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return errno == ENOENT;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return access(path.c_str(), W_OK) == 0;
}

LONG LockExclusive(int fd) {
    while (flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) return Win32ErrorFromErrno(errno);
    }
    return ERROR_SUCCESS;
}

}  // namespace

std::u16string_view RegistryRootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return u"HKEY_CLASSES_ROOT";
        case RegistryRoot::CurrentUser:
            return u"HKEY_CURRENT_USER";
        case RegistryRoot::LocalMachine:
            break;
    }
    return u"HKEY_LOCAL_MACHINE";
}

std::string RegistryHivePath(RegistryRoot root) {
    return KestroHomeDirectory() + "/" + Utf16ToUtf8(RegistryRootName(root)) + ".reg";
}

HiveSnapshot LoadHive(RegistryRoot root) {
    const std::string path = RegistryHivePath(root);
    const FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return EmptySnapshot(errno == ENOENT ? ERROR_SUCCESS : Win32ErrorFromErrno(errno));
    struct stat st {};
    if (fstat(fd.get(), &st) != 0) return EmptySnapshot(Win32ErrorFromErrno(errno));
    const FileVersion version = VersionOf(st);
    {
        const std::lock_guard<std::mutex> lock(g_cacheMutex);
        const auto it = g_cache.find(path);
        if (it != g_cache.end() && it->second.version == version) return it->second.snapshot;
    }
    std::string text;
    if (!ReadAll(fd.get(), text)) return EmptySnapshot(Win32ErrorFromErrno(errno));
    HiveSnapshot snapshot = SnapshotOf(ParseRegText(text, RegistryRootName(root)), version);
    Remember(path, version, snapshot);
    return snapshot;
}

LONG UpdateHive(RegistryRoot root, const HiveChange& change) {
    const std::lock_guard<std::mutex> processLock(g_updateMutex);
    const std::string path = RegistryHivePath(root);
    const FileDescriptor lockFile(
        open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lockFile.valid()) return Win32ErrorFromErrno(errno);
    if (const LONG status = LockExclusive(lockFile.get()); status != ERROR_SUCCESS) return status;
    if (!FileIsWritable(path)) return ERROR_ACCESS_DENIED;

    std::string text;
    FileVersion version;
    if (const LONG status = ReadHiveFile(path, text, version); status != ERROR_SUCCESS) {
        return status;
    }
    std::optional<RegistryTreeKey> tree = ParseRegText(text, RegistryRootName(root));
    if (!tree) return ERROR_BADDB;
    bool modified = false;
    if (const LONG status = change(*tree, modified); status != ERROR_SUCCESS || !modified) {
        return status;
    }
    const LONG status = ReplaceFile(path, FormatRegText(*tree, RegistryRootName(root)), version);
    if (status == ERROR_SUCCESS) Remember(path, version, SnapshotOf(std::move(tree), version));
    return status;
}

bool HiveIsWritable(RegistryRoot root) {
    return FileIsWritable(RegistryHivePath(root));
}
