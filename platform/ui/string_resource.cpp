#include "platform/ui/string_resource.h"

#include <algorithm>
#include <string_view>

#include "platform/win/last_error.h"
#include "platform/win/module.h"

namespace {

const char16_t* FindString(HINSTANCE module, UINT id) {
    const KestroResourceTable* table = nullptr;
    if (!ModuleResourceTable(module, table)) return nullptr;
    if (!table) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    for (std::size_t i = 0; i < table->count; ++i) {
        const KestroResourceEntry& entry = table->entries[i];
        if (!entry.type.Matches(RT_STRING)) continue;
        const auto* strings = static_cast<const StringResource*>(entry.data);
        const std::size_t count = entry.size / sizeof(StringResource);
        for (std::size_t n = 0; n < count; ++n) {
            if (strings[n].id == id && strings[n].text) return strings[n].text;
        }
    }
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

}  // namespace

int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int size) {
    if (!buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char16_t* text = FindString(module, id);
    const std::u16string_view found = text ? text : u"";
    if (size == 0) {
        *reinterpret_cast<LPCWSTR*>(buffer) = text;
        return static_cast<int>(found.size());
    }
    if (size < 0) return 0;
    const std::size_t count = std::min(found.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(found.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<int>(count);
}

HICON LoadIconW(HINSTANCE module, LPCWSTR name) {
    HRSRC found = FindResourceW(module, name, RT_GROUP_ICON);
    if (!found) return nullptr;
    if (SizeofResource(module, found) != sizeof(IconTemplate)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return static_cast<HICON>(LockResource(LoadResource(module, found)));
}

BOOL DestroyIcon(HICON icon) {
    return icon ? TRUE : FALSE;
}

const IconTemplate* IconImage(HICON icon) {
    return reinterpret_cast<const IconTemplate*>(icon);
}
