#include "tool/login_database_path.h"

#include <vector>

#include "platform/win/file_system.h"
#include "platform/win/module.h"

namespace {

constexpr char16_t kDatabaseName[] = u"Login.dat";

std::u16string ProgramPath() {
    std::vector<char16_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::u16string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::u16string LoginDatabasePath() {
    std::u16string path = ProgramPath();
    path.erase(path.rfind(u'/') + 1);  // npos + 1 == 0: no folder at all
    return path + kDatabaseName;
}

bool FileExists(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
