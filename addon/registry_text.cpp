#include "addon/registry_text.h"

#include <vector>

bool ReadRegistryText(HKEY key, const char16_t* name, std::u16string& text) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    if (size == 0 || size % sizeof(char16_t) != 0) return false;
    std::vector<char16_t> data(size / sizeof(char16_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size != data.size() * sizeof(char16_t) ||
        data.back() != u'\0')
        return false;
    text.assign(data.data(), data.size() - 1);
    return true;
}

bool ReadRegistryDword(HKEY key, const char16_t* name, DWORD& value) {
    DWORD type = 0, read = 0, size = sizeof(read);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return false;
    value = read;
    return true;
}
