#include "platform/win/handle.h"

#include <map>
#include <mutex>

#include "platform/win/last_error.h"

namespace {

struct HandleTable {
    std::mutex mutex;
    std::map<ULONG_PTR, std::shared_ptr<KernelObject>> objects;
    ULONG_PTR next = 4;  // multiples of 4, as Windows numbers handles
};

HandleTable& Table() {
    static HandleTable* table = new HandleTable;  // outlives static destructors
    return *table;
}

}  // namespace

HANDLE OpenHandleFor(std::shared_ptr<KernelObject> object) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    const ULONG_PTR value = table.next;
    table.next += 4;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> ObjectOfHandle(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    const auto it = table.objects.find(reinterpret_cast<ULONG_PTR>(handle));
    if (it == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}

void SetInvalidHandleError() {
    SetLastError(ERROR_INVALID_HANDLE);
}

BOOL CloseHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;
    {
        HandleTable& table = Table();
        std::lock_guard lock(table.mutex);
        const auto it = table.objects.find(reinterpret_cast<ULONG_PTR>(handle));
        if (it == table.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(it->second);
        table.objects.erase(it);
    }
    return TRUE;  // the object is destroyed outside the lock once unused
}
