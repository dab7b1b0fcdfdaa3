#include "platform/win/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/win/win_types.h"

TEST(FormatPattern, TextAndNumbersOfTheSystemsMessages) {
    EXPECT_EQ(FormatPattern(u"data error 5: %s", u"Table is locked"),
              u"data error 5: Table is locked");
    EXPECT_EQ(
        FormatPattern(u"DB path: %s , %s ", std::u16string(u"/a b"), std::u16string_view(u"x")),
        u"DB path: /a b , x ");
    EXPECT_EQ(FormatPattern(u"Error Code: %d", DWORD{80}), u"Error Code: 80");
    EXPECT_EQ(FormatPattern(u"%d", -5), u"-5");
    EXPECT_EQ(FormatPattern(u"%d%%, %d%%", 80, 6), u"80%, 6%");
    const char16_t* nullText = nullptr;
    EXPECT_EQ(FormatPattern(u"[%s]", nullText), u"[(null)]");
}

TEST(FormatPattern, HexOfHresultsAndWidths) {
    const HRESULT efail = static_cast<HRESULT>(0x80004005);
    EXPECT_EQ(FormatPattern(u"Unknown error 0x%0lX", efail), u"Unknown error 0x80004005");
    EXPECT_EQ(FormatPattern(u"%0lX", 0x1F), u"1F");  // 0 without a width pads nothing
    EXPECT_EQ(FormatPattern(u"%08lX", 0x1F), u"0000001F");
    EXPECT_EQ(FormatPattern(u"%x", 0xABCu), u"abc");
    EXPECT_EQ(FormatPattern(u"%05d|%-4d|%4s", -42, 7, u"ab"), u"-0042|7   |  ab");
}

TEST(FormatPattern, ThirtyTwoBitArgumentsReadAsWindowsReadsThem) {
    EXPECT_EQ(FormatPattern(u"%d", DWORD{0xFFFFFFFF}), u"-1");
    EXPECT_EQ(FormatPattern(u"%u", -1), u"4294967295");
    EXPECT_EQ(FormatPattern(u"%X", -1), u"FFFFFFFF");
    EXPECT_EQ(FormatPattern(u"%ld %lu", LONG{-7}, ULONG{7}), u"-7 7");
    // 64-bit arguments keep their width.
    EXPECT_EQ(FormatPattern(u"%d", std::int64_t{-5000000000}), u"-5000000000");
    EXPECT_EQ(FormatPattern(u"%I64u", std::uint64_t{1} << 40), u"1099511627776");
    EXPECT_EQ(FormatPattern(u"%lld", INT64_MIN), u"-9223372036854775808");
}

TEST(FormatPattern, MissingArgumentsAndMalformedPatternsNeverFail) {
    EXPECT_EQ(FormatPattern(u"a%sb%dc"), u"ab0c");
    EXPECT_EQ(FormatPattern(u"%s and %s", u"one"), u"one and ");
    EXPECT_EQ(FormatPattern(u"100%"), u"100%");
    EXPECT_EQ(FormatPattern(u"%q %", 1), u"%q %");
    EXPECT_EQ(FormatPattern(u"%99999999999d", 1), u"%99999999999d");
    EXPECT_EQ(FormatPattern(u"%-", 1), u"%-");
    // A number where text is expected prints in decimal; text where a
    // number is expected counts as 0. Extra arguments are ignored.
    EXPECT_EQ(FormatPattern(u"%s/%d", 12, u"x", u"extra"), u"12/0");
}
