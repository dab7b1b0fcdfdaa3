// An open text file as the save commands use it: its size, whether it
// starts with the UTF-16 byte-order mark, and whole writes that report a
// failure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win/file.h"

class TextFile {
public:
    TextFile() = default;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile() { Close(); }

    // CreateFileW with these arguments and read sharing; false (with the
    // last error) when it fails.
    bool Open(const std::u16string& path, DWORD access, DWORD disposition, DWORD attributes);
    void Close();

    // The size in bytes; false when it cannot be read.
    bool Size(std::uint64_t& size) const;
    // Whether the first two bytes are FF FE. A file of one byte does not.
    bool StartsWithByteOrderMark() const;
    bool SeekToEnd() const;
    // Every byte or false; a short write counts as a failure.
    bool Write(std::string_view bytes) const;
    // UTF-16 little-endian, after the mark FF FE when withMark.
    bool WriteUtf16(std::u16string_view text, bool withMark) const;

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
