#include "store/base64.h"

#include <array>

#include "platform/win/last_error.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kNotInAlphabet = -1;

constexpr std::array<int, 256> MakeDecodeTable() {
    std::array<int, 256> table{};
    for (int& value : table) value = kNotInAlphabet;
    for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}

constexpr std::array<int, 256> kDecodeTable = MakeDecodeTable();

// Writes the characters of one group of 1 to 3 bytes: count + 1 of them.
char* EncodeGroup(const BYTE* bytes, std::size_t count, char* out) {
    const unsigned bits = (unsigned(bytes[0]) << 16) | (count > 1 ? unsigned(bytes[1]) << 8 : 0) |
                          (count > 2 ? unsigned(bytes[2]) : 0);
    for (std::size_t i = 0; i <= count; ++i) *out++ = kAlphabet[(bits >> (18 - 6 * i)) & 0x3F];
    return out;
}

}  // namespace

std::size_t Base64EncodeRequiredLength(std::size_t bytes) {
    const std::size_t length =
        bytes / 3 * 4 + (bytes % 3) * 4 / 3;  // bytes * 4 / 3 without overflow
    return (length + 3) / 4 * 4;
}

bool Base64Encode(const BYTE* src, std::size_t srcLen, char* dest, std::size_t* destLen) {
    if (!destLen || (srcLen && (!src || !dest))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (*destLen < Base64EncodeRequiredLength(srcLen)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    char* out = dest;
    for (std::size_t pos = 0; pos < srcLen; pos += 3) {
        out = EncodeGroup(src + pos, srcLen - pos < 3 ? srcLen - pos : 3, out);
    }
    *destLen = static_cast<std::size_t>(out - dest);
    return true;
}

bool Base64Decode(const char* src, std::size_t srcLen, BYTE* dest, std::size_t* destLen) {
    if (!destLen || (srcLen && !src)) return false;
    const std::size_t capacity = *destLen;
    std::size_t written = 0;
    unsigned bits = 0;
    int pending = 0;  // alphabet characters gathered in bits
    const auto emit = [&](BYTE byte) {
        if (written == capacity) return false;
        dest[written++] = byte;
        return true;
    };
    for (std::size_t i = 0; i < srcLen && src[i] != '\0'; ++i) {
        const int value = kDecodeTable[static_cast<unsigned char>(src[i])];
        if (value == kNotInAlphabet) continue;
        bits = (bits << 6) | unsigned(value);
        if (++pending < 4) continue;
        if (!emit(BYTE(bits >> 16)) || !emit(BYTE(bits >> 8)) || !emit(BYTE(bits))) return false;
        bits = 0;
        pending = 0;
    }
    // A last group of 2 or 3 characters carries 1 or 2 whole bytes.
    if (pending >= 2 && !emit(BYTE(bits >> (6 * pending - 8)))) return false;
    if (pending == 3 && !emit(BYTE(bits >> 2))) return false;
    *destLen = written;
    return true;
}
