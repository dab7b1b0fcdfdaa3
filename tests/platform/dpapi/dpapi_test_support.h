// Small wrappers that turn the blob calls into values for assertions.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/dpapi/dpapi.h"

namespace dpapi_test {

using Bytes = std::vector<BYTE>;

Bytes BytesOf(const std::string& text);
DATA_BLOB BlobOf(Bytes& bytes);

// The protected blob, or an empty vector with the last error set.
Bytes Protect(const std::string& plain, DATA_BLOB* entropy = nullptr, LPCWSTR description = u"ZK");

struct Opened {
    bool ok = false;
    DWORD error = 0;
    std::string plain;
    std::u16string description;
};
Opened Unprotect(const Bytes& blob, DATA_BLOB* entropy = nullptr);

// Sets an environment variable for the scope, restoring it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

}  // namespace dpapi_test
