// A 32-byte symmetric key that is wiped when it goes out of scope.
#pragma once

#include <sodium.h>

#include <cstddef>

class SecretKey {
public:
    static constexpr std::size_t kBytes = 32;
    static_assert(kBytes == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);

    SecretKey() = default;
    ~SecretKey() { sodium_memzero(m_bytes, kBytes); }
    SecretKey(const SecretKey&) = delete;
    SecretKey& operator=(const SecretKey&) = delete;

    unsigned char* data() { return m_bytes; }
    const unsigned char* data() const { return m_bytes; }

private:
    unsigned char m_bytes[kBytes] = {};
};
