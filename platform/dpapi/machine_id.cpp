#include "platform/dpapi/machine_id.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win/last_error.h"

namespace {

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string ReadIdFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return Trimmed(std::string(std::istreambuf_iterator<char>(in), {}));
}

// A machine's id does not change while a program runs.
const std::string& SystemMachineId() {
    static const std::string id = [] {
        for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
            std::string found = ReadIdFile(path);
            if (!found.empty()) return found;
        }
        return std::string();
    }();
    return id;
}

}  // namespace

bool ReadMachineId(std::string_view& id) {
    if (const char* overridden = std::getenv("KESTRO_MACHINE_ID"); overridden && *overridden) {
        id = overridden;
        return true;
    }
    id = SystemMachineId();
    if (!id.empty()) return true;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
}
