#include "store/base64.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win/last_error.h"

namespace {

std::string Encode(const std::string& bytes) {
    std::string out(Base64EncodeRequiredLength(bytes.size()), '\0');
    std::size_t length = out.size();
    EXPECT_TRUE(Base64Encode(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), out.data(),
                             &length));
    out.resize(length);
    return out;
}

// Decodes with the capacity the store gives: one byte per character.
std::optional<std::string> Decode(const std::string& text, std::size_t capacity) {
    std::string out(capacity, '\0');
    std::size_t length = capacity;
    if (!Base64Decode(text.data(), text.size(), reinterpret_cast<BYTE*>(out.data()), &length)) {
        return std::nullopt;
    }
    out.resize(length);
    return out;
}

std::optional<std::string> Decode(const std::string& text) {
    return Decode(text, text.size());
}

}  // namespace

TEST(Base64, EncodesGroupsWithoutPadding) {
    EXPECT_EQ(Encode(""), "");
    EXPECT_EQ(Encode("M"), "TQ");
    EXPECT_EQ(Encode("Ma"), "TWE");
    EXPECT_EQ(Encode("Man"), "TWFu");
    EXPECT_EQ(Encode("Many"), "TWFueQ");
    EXPECT_EQ(Encode("\xFB\xFF\xBF"), "+/+/");  // the last two letters of the alphabet
}

TEST(Base64, EveryByteValueRoundTrips) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    for (std::size_t size : {0u, 1u, 2u, 3u, 254u, 255u, 256u}) {
        const std::string bytes = all.substr(0, size);
        const std::string text = Encode(bytes);
        EXPECT_EQ(text.size(), (size * 4 + 2) / 3);
        EXPECT_EQ(text.find('='), std::string::npos);
        EXPECT_EQ(Decode(text), bytes);
    }
}

TEST(Base64, EncoderDemandsRoundedCapacity) {
    EXPECT_EQ(Base64EncodeRequiredLength(0), 0u);
    EXPECT_EQ(Base64EncodeRequiredLength(1), 4u);
    EXPECT_EQ(Base64EncodeRequiredLength(3), 4u);
    EXPECT_EQ(Base64EncodeRequiredLength(4), 8u);
    EXPECT_EQ(Base64EncodeRequiredLength(45), 60u);

    // Two characters would hold one byte, but the capacity check comes first.
    char out[4] = {'x', 'x', 'x', 'x'};
    std::size_t length = 3;
    const BYTE one = 'M';
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(Base64Encode(&one, 1, out, &length));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(out[0], 'x');
}

TEST(Base64, DecoderSkipsCharactersOutsideTheAlphabet) {
    EXPECT_EQ(Decode("TWFu"), "Man");
    EXPECT_EQ(Decode("TQ=="), "M");
    EXPECT_EQ(Decode("TW\r\nF u\t="), "Man");
    EXPECT_EQ(Decode("-_.*TWFu~"), "Man");
    EXPECT_EQ(Decode("\xC3\xA9TWFu"), "Man");  // bytes above 0x7F are skipped too
    EXPECT_EQ(Decode("===="), "");
}

TEST(Base64, DecoderShortGroupsAndLimits) {
    EXPECT_EQ(Decode("TWFuT"), "Man");  // one character alone carries no byte
    EXPECT_EQ(Decode("TWFuTQ"), "ManM");
    EXPECT_EQ(Decode(std::string("TWFu\0TWFu", 9)), "Man");  // stops at a zero character

    std::size_t length = 3;
    BYTE out[3];
    EXPECT_TRUE(Base64Decode("TWFuTWFu", 4, out, &length));  // reads at most srcLen
    EXPECT_EQ(length, 3u);

    EXPECT_EQ(Decode("TWFu", 2), std::nullopt);
    EXPECT_EQ(Decode("TWFu", 3), "Man");
    EXPECT_EQ(Decode("TWFuTQ", 3), std::nullopt);
}
