// The Reg* functions over the hive files. Results follow Windows: a handle
// without the needed right gets ERROR_ACCESS_DENIED, a key deleted since it
// was opened ERROR_KEY_DELETED, a read-only hive refuses every change and
// every open for writing with ERROR_ACCESS_DENIED, and a hive file that
// cannot be parsed reads as empty and refuses changes with ERROR_BADDB.
// The functions leave the thread's last error alone, as Windows does.
#include "platform/win/registry.h"

#include <cstring>

#include "platform/win/registry_handle.h"
#include "platform/win/registry_hive.h"
#include "platform/win/registry_reg_text.h"

namespace {

constexpr LONG kErrorNoAccess = 998;  // ERROR_NOACCESS: data pointer missing

const char16_t* ValueNameOrDefault(LPCWSTR name) {
    return name ? name : u"";
}

std::vector<std::u16string> Joined(const std::vector<std::u16string>& base,
                                   const std::vector<std::u16string>& names) {
    std::vector<std::u16string> path = base;
    path.insert(path.end(), names.begin(), names.end());
    return path;
}

// A handle's key as the hive holds it now. The snapshot keeps the tree alive.
struct CurrentKey {
    RegistryKey handle;
    HiveSnapshot hive;
    const RegistryTreeKey* node = nullptr;
};

// Looks the handle up, checks that it was opened with the needed rights and
// finds its key in the hive's current contents.
LONG FindCurrentKey(HKEY hKey, REGSAM needed, CurrentKey& current) {
    if (const LONG status = LookUpRegistryHandle(hKey, current.handle); status != ERROR_SUCCESS) {
        return status;
    }
    if ((current.handle.access & needed) != needed) return ERROR_ACCESS_DENIED;
    current.hive = LoadHive(current.handle.root);
    if (current.hive.status != ERROR_SUCCESS && current.hive.status != ERROR_BADDB) {
        return current.hive.status;
    }
    current.node = current.hive.tree->FindPath(current.handle.path);
    return current.node ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// Applies change to the handle's key inside a hive update.
LONG UpdateKey(const RegistryKey& handle,
               const std::function<LONG(RegistryTreeKey& root, RegistryTreeKey& key)>& change) {
    return UpdateHive(handle.root, [&](RegistryTreeKey& root, bool& modified) {
        RegistryTreeKey* key = root.FindPath(handle.path);
        if (!key) return static_cast<LONG>(ERROR_KEY_DELETED);
        const LONG status = change(root, *key);
        modified = status == ERROR_SUCCESS;
        return status;
    });
}

bool AllowsLeadingBackslash(HKEY hKey) {
    return hKey == HKEY_CLASSES_ROOT;
}

void CopyName(const std::u16string& name, LPWSTR buffer) {
    std::memcpy(buffer, name.data(), name.size() * sizeof(char16_t));
    buffer[name.size()] = u'\0';
}

}  // namespace

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                   PHKEY phkResult) {
    if (phkResult && (!lpSubKey || !*lpSubKey) && IsPredefinedRegistryHandle(hKey)) {
        *phkResult = hKey;
        return ERROR_SUCCESS;
    }
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    RegistryKey base;
    if (const LONG status = LookUpRegistryHandle(hKey, base); status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<std::u16string> names;
    if (const LONG status = SplitRegistryPath(lpSubKey, AllowsLeadingBackslash(hKey), names);
        status != ERROR_SUCCESS) {
        return status;
    }
    const HiveSnapshot hive = LoadHive(base.root);
    if (hive.status != ERROR_SUCCESS && hive.status != ERROR_BADDB) return hive.status;
    const RegistryTreeKey* baseNode = hive.tree->FindPath(base.path);
    if (!baseNode) return ERROR_KEY_DELETED;
    if (!baseNode->FindPath(names)) return ERROR_FILE_NOT_FOUND;
    const bool writable = HiveIsWritable(base.root);
    const REGSAM access = MapRegistryAccess(samDesired, writable);
    if (IsRegistryWriteAccess(access) && !writable) return ERROR_ACCESS_DENIED;
    *phkResult = OpenRegistryHandle(RegistryKey{base.root, Joined(base.path, names), access});
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR /*lpClass*/,
                     DWORD /*dwOptions*/, REGSAM samDesired, void* /*lpSecurityAttributes*/,
                     PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_BADKEY;
    if (Reserved) return ERROR_INVALID_PARAMETER;
    RegistryKey base;
    if (const LONG status = LookUpRegistryHandle(hKey, base); status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<std::u16string> names;
    if (const LONG status = SplitRegistryPath(lpSubKey, false, names); status != ERROR_SUCCESS) {
        return status;
    }
    if (!HiveIsWritable(base.root)) return ERROR_ACCESS_DENIED;
    // Windows checks no right of the parent handle here, only the hive's.
    bool created = false;
    const LONG status = UpdateHive(base.root, [&](RegistryTreeKey& root, bool& modified) {
        RegistryTreeKey* current = root.FindPath(base.path);
        if (!current) return static_cast<LONG>(ERROR_KEY_DELETED);
        for (const auto& name : names) {
            bool createdHere = false;
            current = &current->CreateSubkey(name, &createdHere);
            created = created || createdHere;
        }
        modified = created;
        return static_cast<LONG>(ERROR_SUCCESS);
    });
    if (status != ERROR_SUCCESS) return status;
    const REGSAM access = MapRegistryAccess(samDesired, true);
    *phkResult = OpenRegistryHandle(RegistryKey{base.root, Joined(base.path, names), access});
    if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData) {
    if ((lpData && !lpcbData) || lpReserved) return ERROR_INVALID_PARAMETER;
    CurrentKey current;
    if (const LONG status = FindCurrentKey(hKey, KEY_QUERY_VALUE, current);
        status != ERROR_SUCCESS) {
        return status;
    }
    const RegistryValue* value = current.node->FindValue(ValueNameOrDefault(lpValueName));
    if (!value) {
        if (lpcbData && !lpData) *lpcbData = 0;
        return ERROR_FILE_NOT_FOUND;
    }
    // Read the capacity first: callers may pass one variable for type and size.
    const DWORD capacity = lpcbData ? *lpcbData : 0;
    const auto size = static_cast<DWORD>(value->data.size());
    if (lpType) *lpType = value->type;
    if (lpcbData) *lpcbData = size;
    if (!lpData) return ERROR_SUCCESS;
    if (capacity < size) return ERROR_MORE_DATA;
    if (size) std::memcpy(lpData, value->data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD /*Reserved*/, DWORD dwType,
                    const BYTE* lpData, DWORD cbData) {
    if (!lpData && cbData) return kErrorNoAccess;
    RegistryKey handle;
    if (const LONG status = LookUpRegistryHandle(hKey, handle); status != ERROR_SUCCESS) {
        return status;
    }
    if (!(handle.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    const std::u16string_view name = ValueNameOrDefault(lpValueName);
    if (!IsStorableRegName(name)) return ERROR_INVALID_PARAMETER;
    std::vector<BYTE> data(lpData, lpData + cbData);
    return UpdateKey(handle, [&](RegistryTreeKey&, RegistryTreeKey& key) {
        key.SetValue(name, dwType, std::move(data));
        return static_cast<LONG>(ERROR_SUCCESS);
    });
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    RegistryKey handle;
    if (const LONG status = LookUpRegistryHandle(hKey, handle); status != ERROR_SUCCESS) {
        return status;
    }
    if (!(handle.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    return UpdateKey(handle, [&](RegistryTreeKey&, RegistryTreeKey& key) {
        return key.DeleteValue(ValueNameOrDefault(lpValueName))
                   ? static_cast<LONG>(ERROR_SUCCESS)
                   : static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    });
}

namespace {

// Removes the key at base + names (the handle's own key when names is
// empty); with tree false only a key without subkeys.
LONG DeleteKeyAt(HKEY hKey, LPCWSTR lpSubKey, bool tree) {
    RegistryKey base;
    if (const LONG status = LookUpRegistryHandle(hKey, base); status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<std::u16string> names;
    if (const LONG status = SplitRegistryPath(lpSubKey, AllowsLeadingBackslash(hKey), names);
        status != ERROR_SUCCESS) {
        return status;
    }
    std::vector<std::u16string> path = Joined(base.path, names);
    if (path.empty()) return ERROR_ACCESS_DENIED;  // a root cannot be deleted
    return UpdateKey(base, [&](RegistryTreeKey& root, RegistryTreeKey&) {
        const RegistryTreeKey* target = root.FindPath(path);
        if (!target)
            return static_cast<LONG>(names.empty() ? ERROR_KEY_DELETED : ERROR_FILE_NOT_FOUND);
        if (!tree && target->SubkeyCount() != 0) return static_cast<LONG>(ERROR_ACCESS_DENIED);
        const std::u16string name = path.back();
        path.pop_back();
        root.FindPath(path)->RemoveSubkey(name);
        return static_cast<LONG>(ERROR_SUCCESS);
    });
}

}  // namespace

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    return DeleteKeyAt(hKey, lpSubKey, false);
}

LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
    if (lpSubKey) return DeleteKeyAt(hKey, lpSubKey, true);
    RegistryKey handle;
    if (const LONG status = LookUpRegistryHandle(hKey, handle); status != ERROR_SUCCESS) {
        return status;
    }
    if (!(handle.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    return UpdateKey(handle, [](RegistryTreeKey&, RegistryTreeKey& key) {
        key.ClearSubkeys();
        key.ClearValues();
        return static_cast<LONG>(ERROR_SUCCESS);
    });
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime) {
    if (lpReserved || !lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
    CurrentKey current;
    if (const LONG status = FindCurrentKey(hKey, KEY_ENUMERATE_SUB_KEYS, current);
        status != ERROR_SUCCESS) {
        return status;
    }
    if (dwIndex >= current.node->SubkeyCount()) return ERROR_NO_MORE_ITEMS;
    const std::u16string& name = current.node->SubkeyAt(dwIndex).name();
    if (lpftLastWriteTime) *lpftLastWriteTime = current.hive.lastWriteTime;
    // Keys have no class here; a class buffer needs room for its terminator.
    if (name.size() >= *lpcchName || (lpClass && lpcchClass && *lpcchClass == 0)) {
        return ERROR_MORE_DATA;
    }
    CopyName(name, lpName);
    *lpcchName = static_cast<DWORD>(name.size());
    if (lpcchClass) {
        *lpcchClass = 0;
        if (lpClass) lpClass[0] = u'\0';
    }
    return ERROR_SUCCESS;
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                   LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved || !lpValueName || !lpcchValueName || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    CurrentKey current;
    if (const LONG status = FindCurrentKey(hKey, KEY_QUERY_VALUE, current);
        status != ERROR_SUCCESS) {
        return status;
    }
    const auto& values = current.node->values();
    if (dwIndex >= values.size()) return ERROR_NO_MORE_ITEMS;
    const RegistryValue& value = values[dwIndex];
    const DWORD capacity = lpcbData ? *lpcbData : 0;
    const auto size = static_cast<DWORD>(value.data.size());
    if (lpType) *lpType = value.type;
    if (lpcbData) *lpcbData = size;
    // A name that does not fit leaves name and data untouched; data that does
    // not fit still gets the name.
    if (value.name.size() >= *lpcchValueName) return ERROR_MORE_DATA;
    CopyName(value.name, lpValueName);
    *lpcchValueName = static_cast<DWORD>(value.name.size());
    if (!lpData) return ERROR_SUCCESS;
    if (capacity < size) return ERROR_MORE_DATA;
    if (size) std::memcpy(lpData, value.data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey) {
    if (IsPredefinedRegistryHandle(hKey)) return ERROR_SUCCESS;
    return CloseRegistryHandle(hKey);
}
