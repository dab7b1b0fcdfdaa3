// String tables and icons of a module's resources.
#pragma once

#include "platform/ui/resource_templates.h"
#include "platform/ui/ui_types.h"

// Copies at most size-1 characters of string `id` and a terminator; the
// count copied. size 0 stores a read-only pointer to the string in
// *(LPCWSTR*)buffer and returns its length. 0 with
// ERROR_RESOURCE_NAME_NOT_FOUND when the module has no such string.
int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int size);

// An icon resource (RT_GROUP_ICON) of the module. The handle stands for the
// module's icon data and needs no destroying.
HICON LoadIconW(HINSTANCE module, LPCWSTR name);
BOOL DestroyIcon(HICON icon);
// The image behind an icon handle (for the on-screen backend).
const IconTemplate* IconImage(HICON icon);
