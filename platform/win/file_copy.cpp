#include "platform/win/file_copy.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace {

bool CopyBytes(int from, int to) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = write(to, buffer + done, n - done);
            if (w < 0 && errno == EINTR) continue;
            if (w < 0) return false;
            done += w;
        }
    }
}

}  // namespace

std::string WriteTemporaryCopy(int from, const struct stat& st, mode_t mode,
                               const std::string& folder) {
    std::string name = folder + "/.kestro-copy-XXXXXX";
    const int to = mkostemp(name.data(), O_CLOEXEC);
    if (to < 0) return {};
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    const bool ok =
        CopyBytes(from, to) && fchmod(to, mode) == 0 && futimens(to, times) == 0 && fsync(to) == 0;
    const int err = errno;
    close(to);
    if (ok) return name;
    unlink(name.c_str());
    errno = err;
    return {};
}

int PlaceCopy(const std::string& temporary, const std::string& target, bool failIfExists) {
    if (!failIfExists) return rename(temporary.c_str(), target.c_str());
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // File systems without an exclusive rename still refuse to link over a name.
    const int linked = link(temporary.c_str(), target.c_str());
    const int err = errno;
    unlink(temporary.c_str());
    errno = err;
    return linked;
}
