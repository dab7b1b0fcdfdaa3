#include "platform/dpapi/dpapi.h"

#include <sodium.h>

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/dpapi/blob_format.h"
#include "platform/dpapi/sodium_ready.h"
#include "platform/dpapi/working_key.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"

namespace {

bool IsValidBlob(const DATA_BLOB* blob) {
    return blob && (blob->pbData || blob->cbData == 0);
}

bool AreValidArguments(const DATA_BLOB* in, const DATA_BLOB* entropy, PVOID reserved, DWORD flags,
                       const DATA_BLOB* out) {
    return IsValidBlob(in) && (!entropy || IsValidBlob(entropy)) && !reserved && out &&
           (flags & ~CRYPTPROTECT_UI_FORBIDDEN) == 0;
}

// Fails with the code Windows gives when the call cannot start at all.
bool Prepare(const DATA_BLOB* in, const DATA_BLOB* entropy, PVOID reserved, DWORD flags,
             const DATA_BLOB* out) {
    if (!AreValidArguments(in, entropy, reserved, flags, out)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!SodiumReady()) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    return true;
}

// The blob's header followed by the caller's entropy. Short ones (every
// caller's) stay on the stack: a value is protected often.
class AuthenticatedData {
public:
    AuthenticatedData(const BYTE* header, std::size_t headerSize, const DATA_BLOB* entropy) {
        const std::size_t entropySize = entropy ? entropy->cbData : 0;
        m_size = headerSize + entropySize;
        BYTE* data = m_inline;
        if (m_size > sizeof m_inline) {
            m_long.resize(m_size);
            data = m_long.data();
        }
        std::memcpy(data, header, headerSize);
        if (entropySize) std::memcpy(data + headerSize, entropy->pbData, entropySize);
    }
    const BYTE* data() const { return m_size > sizeof m_inline ? m_long.data() : m_inline; }
    std::size_t size() const { return m_size; }

private:
    BYTE m_inline[128];
    std::vector<BYTE> m_long;
    std::size_t m_size = 0;
};

// libsodium takes no null pointer even for zero bytes.
const BYTE* BytesOf(const DATA_BLOB* blob) {
    static const BYTE kNothing = 0;
    return blob->pbData ? blob->pbData : &kNothing;
}

LPWSTR CopyToLocalString(const std::u16string& text) {
    auto* copy = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, (text.size() + 1) * sizeof(WCHAR)));
    if (copy) {
        std::memcpy(copy, text.data(), text.size() * sizeof(WCHAR));
        copy[text.size()] = 0;
    }
    return copy;
}

}  // namespace

BOOL CryptProtectData(DATA_BLOB* pDataIn, LPCWSTR szDataDescr, DATA_BLOB* pOptionalEntropy,
                      PVOID pvReserved, void* /*pPromptStruct*/, DWORD dwFlags,
                      DATA_BLOB* pDataOut) {
    if (!Prepare(pDataIn, pOptionalEntropy, pvReserved, dwFlags, pDataOut)) return FALSE;
    const std::u16string_view description(szDataDescr ? szDataDescr : u"", WideLength(szDataDescr));
    const std::size_t headerSize = BlobHeaderSize(description.size());
    const std::uint64_t total = std::uint64_t(headerSize) + pDataIn->cbData + kTagBytes;
    if (total > UINT32_MAX) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    SecretKey key;
    if (!LoadWorkingKey(KeyFileAccess::CreateIfMissing, KeyFileCheck::Always, key)) return FALSE;

    auto* blob = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, total));
    if (!blob) return FALSE;
    BYTE nonce[kNonceBytes];
    randombytes_buf(nonce, sizeof nonce);
    WriteBlobHeader(blob, nonce, description);
    const AuthenticatedData additional(blob, headerSize, pOptionalEntropy);
    crypto_aead_xchacha20poly1305_ietf_encrypt(blob + headerSize, nullptr, BytesOf(pDataIn),
                                               pDataIn->cbData, additional.data(),
                                               additional.size(), nullptr, nonce, key.data());
    pDataOut->cbData = static_cast<DWORD>(total);
    pDataOut->pbData = blob;
    return TRUE;
}

BOOL CryptUnprotectData(DATA_BLOB* pDataIn, LPWSTR* ppszDataDescr, DATA_BLOB* pOptionalEntropy,
                        PVOID pvReserved, void* /*pPromptStruct*/, DWORD dwFlags,
                        DATA_BLOB* pDataOut) {
    if (!Prepare(pDataIn, pOptionalEntropy, pvReserved, dwFlags, pDataOut)) return FALSE;
    ParsedBlob parsed;
    if (!ParseBlob(pDataIn->pbData, pDataIn->cbData, parsed)) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    // A blob the kept key opens was made for this user, as old blobs keep
    // opening on Windows after a key change; only a blob it cannot open
    // needs a look at the key file.
    SecretKey key;
    if (!LoadWorkingKey(KeyFileAccess::ReadOnly, KeyFileCheck::WhenNotKept, key)) return FALSE;

    const std::size_t plainSize = parsed.ciphertextSize - kTagBytes;
    auto* plain = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, plainSize));
    if (!plain) return FALSE;
    const AuthenticatedData additional(pDataIn->pbData, parsed.headerSize, pOptionalEntropy);
    const auto opens = [&](const SecretKey& with) {
        return crypto_aead_xchacha20poly1305_ietf_decrypt(
                   plain, nullptr, nullptr, parsed.ciphertext, parsed.ciphertextSize,
                   additional.data(), additional.size(), parsed.nonce, with.data()) == 0;
    };
    bool opened = opens(key);
    if (!opened) {
        SecretKey current;
        if (!LoadWorkingKey(KeyFileAccess::ReadOnly, KeyFileCheck::Always, current)) {
            LocalFree(plain);
            return FALSE;
        }
        opened =
            sodium_memcmp(current.data(), key.data(), SecretKey::kBytes) != 0 && opens(current);
    }
    if (!opened) {
        LocalFree(plain);
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    if (ppszDataDescr) {
        LPWSTR description = CopyToLocalString(parsed.description);
        if (!description) {
            sodium_memzero(plain, plainSize);
            LocalFree(plain);
            return FALSE;
        }
        *ppszDataDescr = description;
    }
    pDataOut->cbData = static_cast<DWORD>(plainSize);
    pDataOut->pbData = plain;
    return TRUE;
}
