#include "platform/win/text.h"

#include <gtest/gtest.h>

#include "platform/win/kestro_home.h"
#include "platform/win/last_error.h"

TEST(Text, Utf8RoundTripKeepsNonBmpAndReplacesBrokenInput) {
    const std::u16string text = u"Gr\u00FC\u00DFe \U0001F600 \u20AC";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");          // truncated sequence
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD");        // overlong zero
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(Text, CaseMappingForNames) {
    EXPECT_EQ(WideLower(u"EXPLORER.EXE \u00C9\u0100\u0139\u0410"), u"explorer.exe \u00E9\u0101\u013A\u0430");
    EXPECT_EQ(WideUpper(u"login.dat \u00E9\u00FF"), u"LOGIN.DAT \u00C9\u0178");
    EXPECT_TRUE(WideEqualsNoCase(u"Login.dat", u"LOGIN.DAT"));
    EXPECT_FALSE(WideEqualsNoCase(u"Login.dat", u"Login.da"));
    EXPECT_LT(WideCompareNoCase(u"abc", u"ABD"), 0);
    EXPECT_EQ(WideLength(nullptr), 0u);
}

TEST(LastError, IsPerThreadAndMappedFromErrno) {
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetLastError(), 5u);
    EXPECT_EQ(Win32ErrorFromErrno(ENOENT), 2u);
    EXPECT_EQ(Win32ErrorFromErrno(ENOTDIR), 3u);
    EXPECT_EQ(Win32ErrorFromErrno(EEXIST), 80u);
}

TEST(KestroHome, FollowsTheEnvironmentOfEachTest) {
    const char* home = std::getenv("KESTRO_HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(KestroHomeDirectory(), home);
}

TEST(Text, BackslashEscapesForOneLineText) {
    EXPECT_EQ(EscapeBackslashed(u"a\\b\tc\r\nd\"e", false), u"a\\\\b\\tc\\r\\nd\"e");
    EXPECT_EQ(EscapeBackslashed(u"say \"hi\"", true), u"say \\\"hi\\\"");
    EXPECT_EQ(EscapeBackslashed(u"", true), u"");
}
