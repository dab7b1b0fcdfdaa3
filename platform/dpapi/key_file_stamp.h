// The key file as it was read, kept open: whether the file at the key's path
// is still that one, unchanged, is then one fstat away. A file replaced by a
// rename or removed is no longer linked; one rewritten in place has another
// size or time.
#pragma once

#include <sys/stat.h>

class KeyFileStamp {
public:
    KeyFileStamp() = default;
    ~KeyFileStamp() { Reset(); }
    KeyFileStamp(const KeyFileStamp&) = delete;
    KeyFileStamp& operator=(const KeyFileStamp&) = delete;
    // Hands the open file over; other is left empty.
    KeyFileStamp& operator=(KeyFileStamp&& other) noexcept;

    // Takes over the open descriptor of the file just read and its status.
    void Take(int fd, const struct stat& read);
    // True while the file read is still linked with the size, modification
    // and change times it had when read.
    bool Unchanged() const;
    // Closes the file; Unchanged() is false from now on.
    void Reset();

private:
    int m_fd = -1;
    struct stat m_read {};
};
