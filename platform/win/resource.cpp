#include "platform/win/resource.h"

#include <string_view>

#include "platform/win/last_error.h"
#include "platform/win/text.h"

namespace {

// "#123" in place of a string means the id 123.
bool ParseNumericName(std::u16string_view text, WORD& id) {
    if (text.size() < 2 || text.size() > 6 || text[0] != u'#') return false;
    unsigned value = 0;
    for (char16_t c : text.substr(1)) {
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + (c - u'0');
    }
    if (value > 0xFFFF) return false;
    id = static_cast<WORD>(value);
    return true;
}

HRSRC FindInModule(HMODULE module, LPCWSTR type, LPCWSTR name) {
    const KestroResourceTable* table = nullptr;
    if (!ModuleResourceTable(module, table)) return nullptr;
    if (!table) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    bool typeSeen = false;
    for (std::size_t i = 0; i < table->count; ++i) {
        const KestroResourceEntry& entry = table->entries[i];
        if (!entry.type.Matches(type)) continue;
        typeSeen = true;
        if (entry.name.Matches(name)) return &entry;
    }
    SetLastError(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

}  // namespace

bool ResourceId::Matches(LPCWSTR query) const {
    WORD queryId = 0;
    if (IS_INTRESOURCE(query)) {
        queryId = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(query));
    } else if (!ParseNumericName(query, queryId)) {
        return m_name && WideEqualsNoCase(m_name, query);
    }
    return !m_name && m_id == queryId;
}

LPCWSTR ResourceId::AsName() const {
    return m_name ? m_name : MAKEINTRESOURCEW(m_id);
}

BOOL EnumResourceNamesW(HMODULE module, LPCWSTR type, ENUMRESNAMEPROCW callback,
                        LONG_PTR param) {
    const KestroResourceTable* table = nullptr;
    if (!ModuleResourceTable(module, table)) return FALSE;
    if (!table) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return FALSE;
    }
    bool typeSeen = false;
    for (std::size_t i = 0; i < table->count; ++i) {
        const KestroResourceEntry& entry = table->entries[i];
        if (!entry.type.Matches(type)) continue;
        typeSeen = true;
        if (callback && !callback(module, type, const_cast<LPWSTR>(entry.name.AsName()), param))
            break;
    }
    if (!typeSeen) SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return typeSeen ? TRUE : FALSE;
}

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return FindInModule(module, type, name);
}

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD /*language*/) {
    return FindInModule(module, type, name);
}

HGLOBAL LoadResource(HMODULE /*module*/, HRSRC resource) {
    if (!resource) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    static const char kEmpty = 0;  // an empty resource still loads
    return const_cast<void*>(resource->data ? resource->data : &kEmpty);
}

LPVOID LockResource(HGLOBAL data) {
    return data;
}

DWORD SizeofResource(HMODULE /*module*/, HRSRC resource) {
    if (!resource) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(resource->size);
}
