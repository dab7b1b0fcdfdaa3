#include "platform/ado/ado_error.h"

#include <utility>

namespace {

// The description of the calling thread's last failure, as SetErrorInfo
// keeps it per thread.
thread_local std::u16string t_description;

}  // namespace

void SetAdoErrorDescription(std::u16string description) {
    t_description = std::move(description);
}

void ClearAdoErrorDescription() {
    t_description.clear();
}

std::u16string TakeAdoErrorDescription() {
    return std::exchange(t_description, std::u16string());
}

HRESULT AdoFail(HRESULT hr, std::u16string description) {
    t_description = std::move(description);
    return hr;
}
