// Layout of a protected blob, all integers little-endian:
//   version (1 byte, kBlobVersion)
//   nonce (24 bytes)
//   description length in UTF-16 code units (4 bytes)
//   description (2 bytes a code unit, no terminator)
//   ciphertext followed by its 16-byte tag
// Everything before the ciphertext is the header; the header and the
// caller's entropy together are the authenticated data, so neither can be
// changed without the blob failing to open.
#pragma once

#include <sodium.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/win/win_types.h"

constexpr BYTE kBlobVersion = 1;
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;

std::size_t BlobHeaderSize(std::size_t descriptionUnits);

// Writes the header (BlobHeaderSize bytes) at out.
void WriteBlobHeader(BYTE* out, const BYTE* nonce, std::u16string_view description);

struct ParsedBlob {
    std::size_t headerSize = 0;
    const BYTE* nonce = nullptr;
    std::u16string description;
    const BYTE* ciphertext = nullptr;
    std::size_t ciphertextSize = 0;  // including the tag
};

// False when the bytes cannot be a blob of this version.
bool ParseBlob(const BYTE* blob, std::size_t size, ParsedBlob& parsed);
