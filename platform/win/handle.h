// Kernel object handles: files today, other kinds of object later. A handle
// is a number in a table, never a pointer, so a stale or invented handle
// fails with ERROR_INVALID_HANDLE instead of reaching freed memory.
#pragma once

#include <memory>

#include "platform/win/win_types.h"

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))

// An object a handle refers to; closing the last handle destroys it.
class KernelObject {
public:
    virtual ~KernelObject() = default;
};

HANDLE OpenHandleFor(std::shared_ptr<KernelObject> object);
// The object of a handle (null with ERROR_INVALID_HANDLE when unknown).
std::shared_ptr<KernelObject> ObjectOfHandle(HANDLE handle);

BOOL CloseHandle(HANDLE handle);

void SetInvalidHandleError();

// The object of a handle when it is of the given kind; otherwise null with
// ERROR_INVALID_HANDLE.
template <typename T>
std::shared_ptr<T> ObjectOfHandleAs(HANDLE handle) {
    std::shared_ptr<T> typed = std::dynamic_pointer_cast<T>(ObjectOfHandle(handle));
    if (!typed) SetInvalidHandleError();
    return typed;
}
