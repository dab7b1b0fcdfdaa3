#include "platform/win/codepage.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/win/last_error.h"

namespace {

std::u16string ToWide(UINT codePage, const std::string& bytes, DWORD flags = 0) {
    const int needed =
        MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), nullptr, 0);
    std::u16string out(needed, u'\0');
    if (needed > 0) {
        MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), out.data(), needed);
    }
    return out;
}

std::string ToNarrow(UINT codePage, const std::u16string& text, BOOL* usedDefault = nullptr,
                     const char* defaultChar = nullptr) {
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0,
                                           defaultChar, usedDefault);
    std::string out(needed, '\0');
    if (needed > 0) {
        WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), out.data(), needed,
                            defaultChar, usedDefault);
    }
    return out;
}

class AnsiCodePage : public ::testing::Test {
protected:
    void SetUp() override { unsetenv("KESTRO_ACP"); }
    void TearDown() override { unsetenv("KESTRO_ACP"); }
};

}  // namespace

TEST_F(AnsiCodePage, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::u16string wide = ToWide(CP_ACP, all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
    EXPECT_EQ(wide[0x81 - 1], u'\u0081');  // undefined bytes keep their value
    EXPECT_EQ(wide[0x8D - 1], u'\u008D');
    EXPECT_EQ(wide[0x9F - 1], u'\u0178');
    EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
    BOOL usedDefault = TRUE;
    EXPECT_EQ(ToNarrow(1252, wide, &usedDefault), all);
    EXPECT_FALSE(usedDefault);
}

TEST_F(AnsiCodePage, CharactersOutsideTheCodePageAreReplacedAndReported) {
    BOOL usedDefault = FALSE;
    EXPECT_EQ(ToNarrow(CP_ACP, u"a\u0100b\u4E2D", &usedDefault), "a?b?");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(ToNarrow(CP_ACP, u"\u0100", &usedDefault, "*"), "*");
    EXPECT_EQ(ToNarrow(CP_ACP, u"\U0001F600"), "??");  // one per UTF-16 unit
}

TEST_F(AnsiCodePage, EnvironmentSwitchesTheAnsiCodePage) {
    EXPECT_EQ(GetACP(), 1252u);
    setenv("KESTRO_ACP", "65001", 1);
    EXPECT_EQ(GetACP(), 65001u);
    EXPECT_EQ(ToNarrow(CP_ACP, u"\u00E9\u4E2D"), "\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(ToWide(CP_ACP, "\xC3\xA9"), u"\u00E9");
    // The UTF-8 rules then apply to CP_ACP too.
    BOOL usedDefault = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"x", 1, nullptr, 0, nullptr, &usedDefault), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    setenv("KESTRO_ACP", "1252", 1);
    EXPECT_EQ(GetACP(), 1252u);
}

TEST(Utf8CodePage, NonBmpTextAndInvalidInput) {
    const std::u16string smile = u"\U0001F600";
    EXPECT_EQ(ToNarrow(CP_UTF8, smile), "\xF0\x9F\x98\x80");
    EXPECT_EQ(ToWide(CP_UTF8, "\xF0\x9F\x98\x80"), smile);
    EXPECT_EQ(ToWide(CP_UTF8,
                     "a\xFF"
                     "b\xE4\xB8"),
              u"a\uFFFDb\uFFFD");
    EXPECT_EQ(ToWide(CP_UTF8, "\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(ToNarrow(CP_UTF8, std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");

    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    const char16_t lone[] = {u'a', 0xDC00};
    EXPECT_EQ(
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 2, nullptr, 0, nullptr, nullptr),
        0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(Utf8CodePage, DefaultCharacterArgumentsAreRefused) {
    BOOL usedDefault = FALSE;
    char out[8];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"x", 1, out, 8, nullptr, &usedDefault), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"x", 1, out, 8, "?", nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_NO_BEST_FIT_CHARS, u"x", 1, out, 8, nullptr, nullptr),
              0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
}

TEST(CodePageBuffers, TerminatedInputSizeQueriesAndShortBuffers) {
    // -1: the terminator is converted and counted.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "h\xC3\xA9", -1, nullptr, 0), 3);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"h\u00E9", -1, nullptr, 0, nullptr, nullptr), 4);
    char narrow[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"h\u00E9", -1, narrow, 4, nullptr, nullptr), 4);
    EXPECT_STREQ(narrow, "h\xC3\xA9");
    char16_t wide[3];
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "ab", -1, wide, 3), 3);
    EXPECT_EQ(std::u16string(wide), u"ab");

    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\U0001F600", 2, narrow, 3, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(CodePageBuffers, InvalidParameters) {
    char16_t wide[4];
    char narrow[4];
    const auto expectInvalid = [](int result) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    };
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, nullptr, 3, wide, 4));
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, "abc", 0, wide, 4));
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 4));
    expectInvalid(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide, -1));
    expectInvalid(MultiByteToWideChar(437, 0, "abc", 3, wide, 4));
    expectInvalid(WideCharToMultiByte(CP_UTF8, 0, u"abc", 0, narrow, 4, nullptr, nullptr));
    expectInvalid(WideCharToMultiByte(1250, 0, u"abc", 3, narrow, 4, nullptr, nullptr));
}
