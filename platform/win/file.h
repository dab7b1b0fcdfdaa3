// Files opened by handle: CreateFileW and the calls that read, write and
// move within an open file. Paths are UTF-16 with '/' separators and are
// matched without regard to case (path_nocase.h). Share modes are accepted
// and not enforced.
#pragma once

#include "platform/win/handle.h"
#include "platform/win/win_types.h"

struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using PLONG = LONG*;

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;

constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD FILE_SHARE_DELETE = 0x4;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x100;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;

// CREATE_ALWAYS and OPEN_ALWAYS set ERROR_ALREADY_EXISTS on success when
// the file was there, ERROR_SUCCESS when it was made. A folder cannot be
// opened (ERROR_ACCESS_DENIED). FILE_ATTRIBUTE_READONLY makes a new file
// read-only. FILE_ATTRIBUTE_TEMPORARY makes a new file the user's own
// (mode 0600), as the files of the user's private temporary folder are on
// Windows. CREATE_NEW never opens what is there already, a link included
// (ERROR_FILE_EXISTS).
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);

// Synchronous only: an OVERLAPPED structure is refused with
// ERROR_INVALID_PARAMETER. Reading at the end succeeds with 0 bytes.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
              LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped);

// With distanceHigh null the distance is a signed 32-bit value; otherwise
// the two halves form a 64-bit distance and the new position's high half is
// written back. Moving before the start fails with ERROR_NEGATIVE_SEEK.
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod);
DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
