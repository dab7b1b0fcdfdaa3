#include "tests/platform/win/registry_test_support.h"

#include <stdlib.h>

#include "platform/win/kestro_home.h"

namespace registry_test {

std::vector<BYTE> TextBytes(std::u16string_view text, bool terminated) {
    std::vector<BYTE> bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::vector<BYTE> DwordBytes(DWORD value) {
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

ReadResult ReadValue(HKEY key, const char16_t* name) {
    ReadResult result;
    DWORD size = 0;
    result.status = RegQueryValueExW(key, name, nullptr, &result.type, nullptr, &size);
    if (result.status != ERROR_SUCCESS) return result;
    result.data.resize(size);
    result.status = RegQueryValueExW(key, name, nullptr, &result.type, result.data.data(), &size);
    result.data.resize(size);
    return result;
}

HKEY CreateKey(HKEY root, const char16_t* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

std::string HiveFile(const char* rootName) {
    return KestroHomeDirectory() + "/" + rootName + ".reg";
}

HiveCopyHome::HiveCopyHome() : m_previous(KestroHomeDirectory()) {
    for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
        const std::string name = std::string(root) + ".reg";
        const std::string text = testing_support::ReadFile(m_previous + "/" + name);
        if (!text.empty()) testing_support::WriteFile(m_dir.File(name), text);
    }
    setenv("KESTRO_HOME", m_dir.path().c_str(), 1);
}

HiveCopyHome::~HiveCopyHome() {
    setenv("KESTRO_HOME", m_previous.c_str(), 1);
}

}  // namespace registry_test
