// The user's temporary folder and unique temporary file names.
#pragma once

#include "platform/win/win_types.h"

constexpr DWORD ERROR_BUFFER_OVERFLOW = 111;

// TMPDIR, or /tmp, always with a trailing '/'. Returns the length without
// the terminator, or the size needed (terminator included) when the buffer
// is too small.
DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer);

// Names a file path + prefix (its first 3 characters) + hexadecimal number
// + ".tmp" into a buffer of MAX_PATH characters and returns the number.
// With unique 0 the number is chosen so that the file is new, and the
// empty file is created (exclusively, so two callers never share a name,
// and private to the user, mode 0600);
// otherwise the low 16 bits of unique are used and nothing is created.
// A missing folder fails with ERROR_DIRECTORY.
UINT GetTempFileNameW(LPCWSTR pathName, LPCWSTR prefixString, UINT unique, LPWSTR tempFileName);
