// Reading a text value from an open registry key, however long it is. The
// value counts only when it is REG_SZ or REG_EXPAND_SZ, holds a whole
// number of characters and ends with its terminating null.
#pragma once

#include <string>

#include "platform/win/registry.h"

bool ReadRegistryText(HKEY key, const char16_t* name, std::u16string& text);
// A REG_DWORD value; false when missing or of another type or size.
bool ReadRegistryDword(HKEY key, const char16_t* name, DWORD& value);
