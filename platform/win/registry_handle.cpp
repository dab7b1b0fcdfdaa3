#include "platform/win/registry_handle.h"

#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/win/registry_reg_text.h"

namespace {

constexpr REGSAM kDelete = 0x00010000;
constexpr REGSAM kWriteDac = 0x00040000;
constexpr REGSAM kWriteOwner = 0x00080000;
constexpr REGSAM kMaximumAllowed = 0x02000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kGenericExecute = 0x20000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericRead = 0x80000000;
constexpr REGSAM kKeyCreateLink = 0x0020;

std::mutex g_handleMutex;
std::unordered_map<HKEY, std::unique_ptr<RegistryKey>> g_handles;

bool IsPredefined(HKEY handle, RegistryRoot& root) {
    if (handle == HKEY_CLASSES_ROOT) {
        root = RegistryRoot::ClassesRoot;
    } else if (handle == HKEY_CURRENT_USER) {
        root = RegistryRoot::CurrentUser;
    } else if (handle == HKEY_LOCAL_MACHINE) {
        root = RegistryRoot::LocalMachine;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool IsPredefinedRegistryHandle(HKEY handle) {
    RegistryRoot root;
    return IsPredefined(handle, root);
}

LONG LookUpRegistryHandle(HKEY handle, RegistryKey& key) {
    RegistryRoot root;
    if (IsPredefined(handle, root)) {
        key = RegistryKey{root, {}, KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    const std::lock_guard<std::mutex> lock(g_handleMutex);
    const auto it = g_handles.find(handle);
    if (it == g_handles.end()) return ERROR_INVALID_HANDLE;
    key = *it->second;
    return ERROR_SUCCESS;
}

HKEY OpenRegistryHandle(RegistryKey key) {
    auto owned = std::make_unique<RegistryKey>(std::move(key));
    HKEY handle = owned.get();
    const std::lock_guard<std::mutex> lock(g_handleMutex);
    g_handles.emplace(handle, std::move(owned));
    return handle;
}

LONG CloseRegistryHandle(HKEY handle) {
    const std::lock_guard<std::mutex> lock(g_handleMutex);
    return g_handles.erase(handle) != 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG SplitRegistryPath(const char16_t* subKey, bool allowLeadingBackslash,
                       std::vector<std::u16string>& names) {
    if (!subKey) return ERROR_SUCCESS;
    std::u16string_view path(subKey);
    if (!path.empty() && path.front() == u'\\') {
        if (!allowLeadingBackslash) return ERROR_BAD_PATHNAME;
        path.remove_prefix(1);
    }
    while (!path.empty()) {
        const std::size_t end = path.find(u'\\');
        const std::u16string_view name = path.substr(0, end);
        if (!name.empty()) {
            if (!IsStorableRegName(name)) return ERROR_INVALID_PARAMETER;
            names.emplace_back(name);
        }
        if (end == std::u16string_view::npos) break;
        path.remove_prefix(end + 1);
    }
    return ERROR_SUCCESS;
}

REGSAM MapRegistryAccess(REGSAM requested, bool hiveWritable) {
    REGSAM access = requested & 0x00FFFFFF & ~kMaximumAllowed;
    if (requested & kGenericRead) access |= KEY_READ;
    if (requested & kGenericExecute) access |= KEY_READ;
    if (requested & kGenericWrite) access |= KEY_WRITE;
    if (requested & kGenericAll) access |= KEY_ALL_ACCESS;
    if (requested & kMaximumAllowed) access |= hiveWritable ? KEY_ALL_ACCESS : KEY_READ;
    return access;
}

bool IsRegistryWriteAccess(REGSAM access) {
    return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | kKeyCreateLink | kDelete | kWriteDac |
                      kWriteOwner)) != 0;
}
