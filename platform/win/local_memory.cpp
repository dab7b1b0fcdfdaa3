#include "platform/win/local_memory.h"

#include <cstdlib>

#include "platform/win/last_error.h"

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~LPTR) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // A zero-byte request still yields a distinct block, as on Windows.
    const SIZE_T size = bytes == 0 ? 1 : bytes;
    void* block = (flags & LMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
    if (!block) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

HLOCAL LocalFree(HLOCAL block) {
    std::free(block);
    return nullptr;
}
