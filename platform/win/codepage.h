// Conversions between UTF-16 and the narrow code pages the system uses:
// the ANSI code page (Windows-1252 unless KESTRO_ACP names 65001 or 1252)
// and UTF-8. Lengths, flags and failures behave as the Windows functions:
// a length of -1 means zero-terminated (the terminator is converted and
// counted), a destination size of 0 asks for the size needed, a buffer too
// small fails with ERROR_INSUFFICIENT_BUFFER.
#pragma once

#include "platform/win/win_types.h"

constexpr UINT CP_ACP = 0;
constexpr UINT CP_UTF8 = 65001;
constexpr UINT CP_WINDOWS_1252 = 1252;

constexpr DWORD MB_PRECOMPOSED = 0x01;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;

// Error codes of these conversions beyond the common ones.
constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

// The ANSI code page: read from KESTRO_ACP at every call.
UINT GetACP();

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbSrc, LPWSTR dst, int cchDst);

// Characters the code page cannot hold become the default character ('?'
// unless given) and set *usedDefaultChar; no best-fit substitution is made.
// For CP_UTF8 both defaultChar and usedDefaultChar must be null.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int cchSrc, LPSTR dst, int cbDst,
                        LPCSTR defaultChar, BOOL* usedDefaultChar);
