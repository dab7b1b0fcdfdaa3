#include "tests/platform/dpapi/dpapi_test_support.h"

#include <gtest/gtest.h>

#include "platform/win/last_error.h"

namespace dpapi_test {

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

DATA_BLOB BlobOf(Bytes& bytes) {
    return DATA_BLOB{static_cast<DWORD>(bytes.size()), bytes.empty() ? nullptr : bytes.data()};
}

Bytes Protect(const std::string& plain, DATA_BLOB* entropy, LPCWSTR description) {
    Bytes in = BytesOf(plain);
    DATA_BLOB inBlob = BlobOf(in);
    DATA_BLOB out{};
    if (!CryptProtectData(&inBlob, description, entropy, nullptr, nullptr, 0, &out)) return {};
    Bytes blob(out.pbData, out.pbData + out.cbData);
    LocalFree(out.pbData);
    return blob;
}

Opened Unprotect(const Bytes& blob, DATA_BLOB* entropy) {
    Bytes copy = blob;
    DATA_BLOB in = BlobOf(copy);
    DATA_BLOB out{};
    LPWSTR description = nullptr;
    Opened result;
    SetLastError(ERROR_SUCCESS);
    result.ok = CryptUnprotectData(&in, &description, entropy, nullptr, nullptr, 0, &out);
    result.error = GetLastError();
    if (result.ok) {
        result.plain.assign(reinterpret_cast<const char*>(out.pbData), out.cbData);
        result.description = description;
        EXPECT_EQ(LocalFree(out.pbData), nullptr);
        EXPECT_EQ(LocalFree(description), nullptr);
    } else {
        EXPECT_EQ(out.pbData, nullptr);
        EXPECT_EQ(description, nullptr);
    }
    return result;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_old) {
        setenv(m_name.c_str(), m_old->c_str(), 1);
    } else {
        unsetenv(m_name.c_str());
    }
}

}  // namespace dpapi_test
