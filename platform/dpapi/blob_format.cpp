#include "platform/dpapi/blob_format.h"

namespace {

constexpr std::size_t kLengthOffset = 1 + kNonceBytes;
constexpr std::size_t kDescriptionOffset = kLengthOffset + 4;

}  // namespace

std::size_t BlobHeaderSize(std::size_t descriptionUnits) {
    return kDescriptionOffset + 2 * descriptionUnits;
}

void WriteBlobHeader(BYTE* out, const BYTE* nonce, std::u16string_view description) {
    out[0] = kBlobVersion;
    for (std::size_t i = 0; i < kNonceBytes; ++i) out[1 + i] = nonce[i];
    const auto units = static_cast<std::uint32_t>(description.size());
    for (std::size_t i = 0; i < 4; ++i) out[kLengthOffset + i] = BYTE(units >> (8 * i));
    BYTE* text = out + kDescriptionOffset;
    for (char16_t unit : description) {
        *text++ = BYTE(unit & 0xFF);
        *text++ = BYTE(unit >> 8);
    }
}

bool ParseBlob(const BYTE* blob, std::size_t size, ParsedBlob& parsed) {
    if (size < kDescriptionOffset + kTagBytes || blob[0] != kBlobVersion) return false;
    std::uint32_t units = 0;
    for (std::size_t i = 0; i < 4; ++i) units |= std::uint32_t(blob[kLengthOffset + i]) << (8 * i);
    if (units > (size - kDescriptionOffset - kTagBytes) / 2) return false;

    parsed.headerSize = BlobHeaderSize(units);
    parsed.nonce = blob + 1;
    parsed.description.resize(units);
    const BYTE* text = blob + kDescriptionOffset;
    for (std::uint32_t i = 0; i < units; ++i) {
        parsed.description[i] = char16_t(text[2 * i] | (text[2 * i + 1] << 8));
    }
    parsed.ciphertext = blob + parsed.headerSize;
    parsed.ciphertextSize = size - parsed.headerSize;
    return true;
}
