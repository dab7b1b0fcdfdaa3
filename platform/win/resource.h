// Resources of a module. An image (the program or a library) that has
// resources exports a table of them:
//
//     constexpr KestroResourceEntry kResources[] = {
//         ResourceEntry(u"REGISTRY", 101, kEditHtmlScript),
//         ResourceEntry(RT_STRING_ID, 7, kStringBlock),
//     };
//     KESTRO_MODULE_RESOURCES(kResources)
//
// and FindResourceW looks the table up in that image only, so two modules'
// resources never mix. Types and names are integer ids or strings, as on
// Windows; string names match without regard to case, and "#123" names the
// id 123. An entry's data is whatever its type defines (bytes, or a
// structure for string tables, dialogs and menus).
#pragma once

#include <cstddef>
#include <iterator>
#include <type_traits>

#include "platform/win/module.h"
#include "platform/win/win_types.h"

#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)

constexpr WORD RT_ICON_ID = 3;
constexpr WORD RT_MENU_ID = 4;
constexpr WORD RT_DIALOG_ID = 5;
constexpr WORD RT_STRING_ID = 6;
constexpr WORD RT_GROUP_ICON_ID = 14;
constexpr WORD RT_VERSION_ID = 16;

#define RT_ICON MAKEINTRESOURCEW(RT_ICON_ID)
#define RT_MENU MAKEINTRESOURCEW(RT_MENU_ID)
#define RT_DIALOG MAKEINTRESOURCEW(RT_DIALOG_ID)
#define RT_STRING MAKEINTRESOURCEW(RT_STRING_ID)
#define RT_GROUP_ICON MAKEINTRESOURCEW(RT_GROUP_ICON_ID)
#define RT_VERSION MAKEINTRESOURCEW(RT_VERSION_ID)

// A resource type or name: an integer id or a string.
class ResourceId {
public:
    constexpr ResourceId(int id) : m_id(static_cast<WORD>(id)) {}
    // A string, or (outside constant evaluation) a MAKEINTRESOURCEW value.
    constexpr ResourceId(const char16_t* name) : m_name(name) {
        if (!std::is_constant_evaluated() && IS_INTRESOURCE(name)) {
            m_id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
            m_name = nullptr;
        }
    }
    // Whether a type or name given to FindResourceW means this one.
    bool Matches(LPCWSTR query) const;
    // As Windows passes it: MAKEINTRESOURCEW(id) or the string.
    LPCWSTR AsName() const;

private:
    WORD m_id = 0;
    const char16_t* m_name = nullptr;
};

struct KestroResourceEntry {
    ResourceId type;
    ResourceId name;
    const void* data;
    std::size_t size;
};

struct KestroResourceTable {
    const KestroResourceEntry* entries;
    std::size_t count;
};

// An entry for an object of static storage (an array counts whole).
template <typename T>
constexpr KestroResourceEntry ResourceEntry(ResourceId type, ResourceId name, const T& data) {
    return {type, name, &data, sizeof(T)};
}

// Exports the image's table, found by the module loader by this name.
#define KESTRO_MODULE_RESOURCES(entries)                                         \
    extern "C" __attribute__((visibility("default"))) const KestroResourceTable* \
    KestroModuleResources() {                                                    \
        static const KestroResourceTable table{entries, std::size(entries)};     \
        return &table;                                                           \
    }

using HRSRC = const KestroResourceEntry*;
using HGLOBAL = void*;

// nullptr module: the program. Fails with ERROR_RESOURCE_DATA_NOT_FOUND
// (no table or unknown module), ERROR_RESOURCE_TYPE_NOT_FOUND or
// ERROR_RESOURCE_NAME_NOT_FOUND.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
// Languages are not told apart: every resource is language-neutral.
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);

// Calls `callback` with each name of a resource type in the module, in
// table order, until it returns FALSE (TRUE either way). FALSE with the
// resource error when the module has no resource of the type.
using ENUMRESNAMEPROCW = BOOL (*)(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param);
BOOL EnumResourceNamesW(HMODULE module, LPCWSTR type, ENUMRESNAMEPROCW callback, LONG_PTR param);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
