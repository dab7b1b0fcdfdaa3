#include "store/crypt_str.h"

#include <sodium.h>

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "platform/win/format.h"
#include "platform/win/last_error.h"
#include "store/base64.h"

namespace {

// Owns a blob returned by the data protection calls; clear bytes are wiped
// before the block goes back to the heap.
class ReturnedBlob {
public:
    ReturnedBlob() = default;
    ~ReturnedBlob() {
        if (m_blob.pbData) sodium_memzero(m_blob.pbData, m_blob.cbData);
        LocalFree(m_blob.pbData);
    }
    ReturnedBlob(const ReturnedBlob&) = delete;
    ReturnedBlob& operator=(const ReturnedBlob&) = delete;
    DATA_BLOB* get() { return &m_blob; }
    const DATA_BLOB* operator->() const { return &m_blob; }

private:
    DATA_BLOB m_blob{0, nullptr};
};

class LocalString {
public:
    ~LocalString() { LocalFree(m_text); }
    LPWSTR* receive() { return &m_text; }

private:
    LPWSTR m_text = nullptr;
};

// The data protection calls take a DWORD byte count.
constexpr std::size_t kMaxBlobBytes = UINT32_MAX;

}  // namespace

CCryptStr::CCryptStr() : m_szDescription(u"ZK") {
    BuildEntropy();
}

CCryptStr::CCryptStr(const CCryptStr& other)
    : m_strError(other.m_strError), m_szDescription(other.m_szDescription) {
    BuildEntropy();
}

CCryptStr& CCryptStr::operator=(const CCryptStr& other) {
    m_strError = other.m_strError;
    m_szDescription = other.m_szDescription;
    BuildEntropy();
    return *this;
}

// Built byte by byte rather than kept as one constant in the binary. Every
// deliverable must build these same bytes: data protected with other bytes
// can never be read.
void CCryptStr::BuildEntropy() {
    m_entropyBytes[0] = 0x4B;
    m_entropyBytes[1] = 0x9E;
    m_entropyBytes[2] = 0x17;
    m_entropyBytes[3] = 0xD2;
    m_entropyBytes[4] = 0x60;
    m_entropyBytes[5] = 0xA5;
    m_entropyBytes[6] = 0x3C;
    m_entropyBytes[7] = 0xF1;
    m_entropy.cbData = sizeof m_entropyBytes;
    m_entropy.pbData = m_entropyBytes;
}

bool CCryptStr::EncryptStrW(const std::u16string& plain, std::string& text) {
    if (plain.size() > kMaxBlobBytes / sizeof(char16_t)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        m_strError = FormatPattern(u"CryptProtectData failed. Error code: %d", GetLastError());
        return false;
    }
    // The string's own code units, no terminator; an empty value is an empty blob.
    DATA_BLOB in{static_cast<DWORD>(plain.size() * sizeof(char16_t)),
                 reinterpret_cast<BYTE*>(const_cast<char16_t*>(plain.data()))};
    ReturnedBlob blob;
    if (!CryptProtectData(&in, m_szDescription, &m_entropy, nullptr, nullptr, 0, blob.get())) {
        m_strError = FormatPattern(u"CryptProtectData failed. Error code: %d", GetLastError());
        return false;
    }
    std::string encoded;
    std::size_t length = Base64EncodeRequiredLength(blob->cbData);
    try {
        encoded.resize(length);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        m_strError = FormatPattern(u"Base64Encode failed. Error code: %d", GetLastError());
        return false;
    }
    if (!Base64Encode(blob->pbData, blob->cbData, encoded.data(), &length)) {
        m_strError = FormatPattern(u"Base64Encode failed. Error code: %d", GetLastError());
        return false;
    }
    encoded.resize(length);
    text = std::move(encoded);
    return true;
}

bool CCryptStr::DecryptStrW(const std::string& text, std::u16string& plain) {
    std::vector<BYTE> decoded;
    try {
        decoded.resize(text.size());
    } catch (const std::bad_alloc&) {
        m_strError = u"Failed to allocate memory in DecryptStrW.";
        return false;
    }
    std::size_t length = decoded.size();
    if (!Base64Decode(text.data(), text.size(), decoded.data(), &length) ||
        length > kMaxBlobBytes) {
        m_strError = u"Base64Decode failed.";
        return false;
    }
    DATA_BLOB in{static_cast<DWORD>(length), length ? decoded.data() : nullptr};
    ReturnedBlob out;
    LocalString description;  // freed unread
    if (!CryptUnprotectData(&in, description.receive(), &m_entropy, nullptr, nullptr, 0,
                            out.get())) {
        m_strError = FormatPattern(u"CryptUnprotectData failed. Error code: %d", GetLastError());
        return false;
    }
    const auto* units = reinterpret_cast<const char16_t*>(out->pbData);
    const std::size_t count = out->cbData / sizeof(char16_t);
    std::size_t end = 0;
    while (end < count && units[end] != 0) ++end;
    plain.assign(units, end);
    return true;
}
