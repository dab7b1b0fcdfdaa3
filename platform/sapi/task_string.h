// Strings handed to callers through LPWSTR*, allocated with CoTaskMemAlloc.
#pragma once

#include <string_view>

#include "platform/sapi/sapi.h"

// E_POINTER when out is null, E_OUTOFMEMORY when the copy fails.
HRESULT CopyToTaskString(std::u16string_view text, LPWSTR* out);
