// Data protection for the current user: CryptProtectData turns bytes into a
// blob that only CryptUnprotectData, run by the same user on the same
// machine with the same entropy, turns back. Failures are reported through
// GetLastError as Windows reports them: ERROR_INVALID_DATA (13) for a blob
// that cannot be opened (another user's, another machine's, other entropy,
// damaged, truncated or empty), ERROR_INVALID_PARAMETER (87) for bad
// arguments, and file errors (ERROR_ACCESS_DENIED...) when the user's key
// cannot be read or created.
#pragma once

#include "platform/win/local_memory.h"
#include "platform/win/win_types.h"

struct CRYPTOAPI_BLOB {
    DWORD cbData;
    BYTE* pbData;
};
using DATA_BLOB = CRYPTOAPI_BLOB;
using PDATA_BLOB = DATA_BLOB*;

// Accepted and without effect: there is never a prompt to suppress.
constexpr DWORD CRYPTPROTECT_UI_FORBIDDEN = 0x1;

// Protects pDataIn. pDataOut receives a LocalAlloc'ed blob (free it with
// LocalFree). szDataDescr (may be NULL) is kept inside the blob.
// pOptionalEntropy (may be NULL) must be given again to unprotect.
// pvReserved must be NULL; pPromptStruct is ignored; dwFlags may only be 0
// or CRYPTPROTECT_UI_FORBIDDEN.
BOOL CryptProtectData(DATA_BLOB* pDataIn, LPCWSTR szDataDescr, DATA_BLOB* pOptionalEntropy,
                      PVOID pvReserved, void* pPromptStruct, DWORD dwFlags, DATA_BLOB* pDataOut);

// Opens a blob made by CryptProtectData. pDataOut receives the clear bytes
// and, when ppszDataDescr is not NULL, *ppszDataDescr the description (an
// empty string when none was given); both are LocalAlloc'ed. On failure the
// out parameters are left as they were.
BOOL CryptUnprotectData(DATA_BLOB* pDataIn, LPWSTR* ppszDataDescr, DATA_BLOB* pOptionalEntropy,
                        PVOID pvReserved, void* pPromptStruct, DWORD dwFlags, DATA_BLOB* pDataOut);
