// Local heap blocks as handed out by system calls that allocate for their
// caller (data protection output, descriptions); the caller frees them with
// LocalFree.
#pragma once

#include "platform/win/win_types.h"

constexpr UINT LMEM_FIXED = 0x0000;
constexpr UINT LMEM_ZEROINIT = 0x0040;
constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

// A fixed block of at least one byte; NULL with ERROR_NOT_ENOUGH_MEMORY when
// memory runs out, or ERROR_INVALID_PARAMETER for flags other than the above.
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);

// NULL on success (also for a NULL block).
HLOCAL LocalFree(HLOCAL block);
