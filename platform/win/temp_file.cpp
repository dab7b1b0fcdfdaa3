#include "platform/win/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/win/last_error.h"
#include "platform/win/path_nocase.h"
#include "platform/win/text.h"

namespace {

// Copies text and terminator when it fits; otherwise returns the size the
// caller needs, terminator included.
DWORD CopyOut(const std::u16string& text, DWORD bufferLength, LPWSTR buffer) {
    if (!buffer || bufferLength < text.size() + 1) return static_cast<DWORD>(text.size() + 1);
    text.copy(buffer, text.size());
    buffer[text.size()] = u'\0';
    return static_cast<DWORD>(text.size());
}

std::u16string HexNumber(UINT value) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    do {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return out;
}

std::u16string TempName(std::u16string_view folder, std::u16string_view prefix, UINT number) {
    std::u16string name(folder);
    if (!name.empty() && name.back() != u'/') name += u'/';
    name += prefix.substr(0, 3);
    name += HexNumber(number);
    name += u".tmp";
    return name;
}

// A starting number that differs between processes and calls, so callers
// rarely probe names another one took.
UINT StartingNumber() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const UINT number = static_cast<UINT>((ticks ^ (getpid() << 8)) & 0xFFFF);
    return number == 0 ? 1 : number;
}

// Creates the file exclusively: 0 when made, else the errno of the attempt.
int CreateExclusively(const std::u16string& name) {
    const int fd =
        open(ResolvePathNoCase(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    close(fd);
    return 0;
}

UINT CreateUniqueFile(std::u16string_view folder, std::u16string_view prefix, LPWSTR out) {
    UINT number = StartingNumber();
    for (int attempt = 0; attempt < 0xFFFF; ++attempt) {
        const std::u16string name = TempName(folder, prefix, number);
        const int err = CreateExclusively(name);
        if (err == 0) {
            CopyOut(name, MAX_PATH, out);
            return number;
        }
        if (err != EEXIST) {
            SetLastError(err == ENOENT || err == ENOTDIR ? ERROR_DIRECTORY
                                                         : Win32ErrorFromErrno(err));
            return 0;
        }
        number = number == 0xFFFF ? 1 : number + 1;
    }
    SetLastError(ERROR_FILE_EXISTS);
    return 0;
}

}  // namespace

DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer) {
    const char* tmpdir = std::getenv("TMPDIR");
    std::u16string path = Utf8ToUtf16(tmpdir && *tmpdir ? tmpdir : "/tmp");
    if (path.back() != u'/') path += u'/';
    return CopyOut(path, bufferLength, buffer);
}

UINT GetTempFileNameW(LPCWSTR pathName, LPCWSTR prefixString, UINT unique, LPWSTR tempFileName) {
    if (!pathName || !tempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string_view folder(pathName);
    const std::u16string_view prefix = prefixString ? prefixString : u"";
    // Room for '/', 3 prefix characters, 4 digits, ".tmp" and the terminator.
    if (folder.size() + 13 > MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return 0;
    }
    unique &= 0xFFFF;
    if (unique == 0) return CreateUniqueFile(folder, prefix, tempFileName);
    CopyOut(TempName(folder, prefix, unique), MAX_PATH, tempFileName);
    return unique;
}
