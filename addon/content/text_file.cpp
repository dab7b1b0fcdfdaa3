#include "addon/content/text_file.h"

#include <algorithm>
#include <bit>

#include "platform/win/last_error.h"

static_assert(std::endian::native == std::endian::little,
              "UTF-16 text is written from memory as little-endian bytes");

namespace {

// WriteFile takes 32-bit lengths.
constexpr std::size_t kLargestWrite = 0x40000000;

}  // namespace

bool TextFile::Open(const std::u16string& path, DWORD access, DWORD disposition, DWORD attributes) {
    Close();
    m_handle = CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, attributes,
                           nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
}

void TextFile::Close() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

bool TextFile::Size(std::uint64_t& size) const {
    DWORD high = 0;
    const DWORD low = GetFileSize(m_handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS) return false;
    size = (static_cast<std::uint64_t>(high) << 32) | low;
    return true;
}

bool TextFile::StartsWithByteOrderMark() const {
    unsigned char start[2] = {};
    DWORD read = 0;
    return SetFilePointer(m_handle, 0, nullptr, FILE_BEGIN) == 0 &&
           ReadFile(m_handle, start, sizeof start, &read, nullptr) && read == sizeof start &&
           start[0] == 0xFF && start[1] == 0xFE;
}

bool TextFile::SeekToEnd() const {
    LONG high = 0;
    return SetFilePointer(m_handle, 0, &high, FILE_END) != INVALID_SET_FILE_POINTER ||
           GetLastError() == ERROR_SUCCESS;
}

bool TextFile::Write(std::string_view bytes) const {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
        DWORD written = 0;
        if (!WriteFile(m_handle, bytes.data(), chunk, &written, nullptr) || written != chunk)
            return false;
        bytes.remove_prefix(chunk);
    }
    return true;
}

bool TextFile::WriteUtf16(std::u16string_view text, bool withMark) const {
    if (withMark && !Write("\xFF\xFE")) return false;
    return Write({reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)});
}
