#include "platform/sapi/task_string.h"

#include <algorithm>

HRESULT CopyToTaskString(std::u16string_view text, LPWSTR* out) {
    if (!out) return E_POINTER;
    *out = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(char16_t)));
    if (!*out) return E_OUTOFMEMORY;
    std::copy(text.begin(), text.end(), *out);
    (*out)[text.size()] = u'\0';
    return S_OK;
}
