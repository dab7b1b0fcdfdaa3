// libFuzzer harness for protected text as the store reads it from the
// database: the Base64 decoder on arbitrary text (at the capacity it needs,
// and one byte short), and DecryptStrW on the same text, which must fail
// cleanly with its message and the caller's value untouched. The input's
// bytes as UTF-16 units must also come back from EncryptStrW and
// DecryptStrW in a private KESTRO_HOME.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/base64.h"
#include "store/crypt_str.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::vector<BYTE> Decode(const std::string& text, std::size_t capacity, bool& decoded) {
    std::vector<BYTE> bytes(capacity);
    std::size_t length = capacity;
    decoded = Base64Decode(text.data(), text.size(), bytes.data(), &length);
    if (decoded) bytes.resize(length);
    return bytes;
}

void CheckBase64(const std::string& text) {
    bool decoded = false;
    // Four characters give at most three bytes: the text's length is room enough.
    const std::vector<BYTE> bytes = Decode(text, text.size(), decoded);
    if (!decoded) fuzzing::Fault("Base64Decode fails with room for every byte", text);
    if (Decode(text, bytes.size(), decoded) != bytes || !decoded)
        fuzzing::Fault("Base64Decode differs at the exact capacity", text);
    if (!bytes.empty()) {
        Decode(text, bytes.size() - 1, decoded);
        if (decoded) fuzzing::Fault("Base64Decode succeeds one byte short", text);
    }
    std::string encoded(Base64EncodeRequiredLength(bytes.size()), '\0');
    std::size_t length = encoded.size();
    if (!Base64Encode(bytes.data(), bytes.size(), encoded.data(), &length))
        fuzzing::Fault("Base64Encode fails at its required length", text);
    encoded.resize(length);
    if (Decode(encoded, encoded.size(), decoded) != bytes || !decoded)
        fuzzing::Fault("decoded bytes do not survive encoding", text);
}

void CheckDecrypt(const std::string& text) {
    CCryptStr crypt;
    std::u16string plain = u"untouched";
    if (crypt.DecryptStrW(text, plain)) return;
    if (plain != u"untouched") fuzzing::Fault("a failed DecryptStrW changed the value", text);
    if (crypt.m_strError.empty()) fuzzing::Fault("a failed DecryptStrW left no message", text);
}

void CheckRoundTrip(const std::uint8_t* data, std::size_t size) {
    std::u16string plain(size / 2, u'\0');
    for (std::size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    CCryptStr crypt;
    std::string text;
    if (!crypt.EncryptStrW(plain, text)) fuzzing::Fault("EncryptStrW fails");
    std::u16string back;
    if (!crypt.DecryptStrW(text, back)) fuzzing::Fault("DecryptStrW fails on its own text", text);
    if (back != plain.substr(0, plain.find(u'\0')))
        fuzzing::Fault("DecryptStrW gives another value", text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::UsePrivateKestroHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckBase64(text);
    CheckDecrypt(text);
    CheckRoundTrip(data, size);
    return 0;
}
