// The current directory and full path names. Both return the length
// without the terminator, or the size needed (terminator included) when
// the buffer is too small, as Windows does.
#pragma once

#include "platform/win/win_types.h"

DWORD GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer);

// Completes a relative path against the current directory and removes "."
// and ".." components and doubled separators, without touching the disk.
// *filePart (when asked for) points at the name after the last '/', or is
// null when the path ends in '/'.
DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart);
