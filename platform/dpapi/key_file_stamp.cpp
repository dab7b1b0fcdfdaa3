#include "platform/dpapi/key_file_stamp.h"

#include <unistd.h>

namespace {

bool SameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

KeyFileStamp& KeyFileStamp::operator=(KeyFileStamp&& other) noexcept {
    if (this != &other) {
        Take(other.m_fd, other.m_read);
        other.m_fd = -1;
    }
    return *this;
}

void KeyFileStamp::Take(int fd, const struct stat& read) {
    Reset();
    m_fd = fd;
    m_read = read;
}

bool KeyFileStamp::Unchanged() const {
    struct stat now {};
    if (m_fd < 0 || fstat(m_fd, &now) != 0) return false;
    return now.st_nlink > 0 && now.st_size == m_read.st_size &&
           SameTime(now.st_mtim, m_read.st_mtim) && SameTime(now.st_ctim, m_read.st_ctim);
}

void KeyFileStamp::Reset() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}
