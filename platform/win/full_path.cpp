#include "platform/win/full_path.h"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/win/last_error.h"
#include "platform/win/text.h"

namespace {

bool CurrentDirectory(std::u16string& out) {
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) {
            SetLastErrorFromErrno(errno);
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
    out = Utf8ToUtf16(buffer.data());
    return true;
}

DWORD CopyOut(const std::u16string& text, DWORD bufferLength, LPWSTR buffer) {
    if (!buffer || bufferLength < text.size() + 1) return static_cast<DWORD>(text.size() + 1);
    text.copy(buffer, text.size());
    buffer[text.size()] = u'\0';
    return static_cast<DWORD>(text.size());
}

// Removes ".", ".." and empty components of an absolute path.
std::u16string Normalize(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find(u'/', start);
        if (slash == std::u16string_view::npos) slash = path.size();
        const std::u16string_view part = path.substr(start, slash - start);
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = slash + 1;
    }
    std::u16string out;
    for (const std::u16string_view part : parts) {
        out += u'/';
        out += part;
    }
    if (out.empty() || path.ends_with(u'/')) out += u'/';
    return out;
}

}  // namespace

DWORD GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer) {
    std::u16string current;
    if (!CurrentDirectory(current)) return 0;
    return CopyOut(current, bufferLength, buffer);
}

DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart) {
    if (filePart) *filePart = nullptr;
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!*fileName) {
        SetLastError(ERROR_INVALID_NAME);
        return 0;
    }
    std::u16string path(fileName);
    if (path.front() != u'/') {
        std::u16string current;
        if (!CurrentDirectory(current)) return 0;
        path = current + u"/" + path;
    }
    const std::u16string full = Normalize(path);
    const DWORD result = CopyOut(full, bufferLength, buffer);
    if (result < bufferLength && filePart && full.back() != u'/') {
        *filePart = buffer + full.rfind(u'/') + 1;
    }
    return result;
}
