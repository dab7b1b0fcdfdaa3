// Whole-file operations by name: attributes, copy and delete. Names are
// matched without regard to case (path_nocase.h).
#pragma once

#include "platform/win/file.h"
#include "platform/win/win_types.h"

constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// FILE_ATTRIBUTE_DIRECTORY for folders, FILE_ATTRIBUTE_ARCHIVE for files,
// plus FILE_ATTRIBUTE_READONLY when no write permission bit is set. A
// missing file gives ERROR_FILE_NOT_FOUND, a missing folder on the way
// ERROR_PATH_NOT_FOUND.
DWORD GetFileAttributesW(LPCWSTR fileName);

// Copies the bytes, permissions and times. The copy is written under a
// temporary name in the target folder and then moved into place, so the
// target is either the complete copy or untouched. With failIfExists an
// existing target fails with ERROR_FILE_EXISTS; a read-only target or a
// folder fails with ERROR_ACCESS_DENIED.
BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
// CopyFileW for a copy that will hold secrets: it is readable and writable
// by its owner only (mode 0600) from the moment it exists, whatever the
// source's permissions, so nobody else can open it and keep the handle.
BOOL CopyFileForOwnerW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);

// Folders and read-only files are refused with ERROR_ACCESS_DENIED.
BOOL DeleteFileW(LPCWSTR fileName);
