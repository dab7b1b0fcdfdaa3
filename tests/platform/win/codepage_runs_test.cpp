// Conversions of long texts, where runs of characters a code page keeps
// unchanged are taken in blocks: every position of a changed character
// around a block's edges, exact and short buffers, and the default
// character reported from inside a long run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/codepage.h"
#include "platform/win/last_error.h"

namespace {

// One character at a time: the plain path the runs must agree with.
std::string NarrowEach(UINT codePage, const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t units = (text[i] >= 0xD800 && text[i] <= 0xDBFF) ? 2 : 1;
        char bytes[8] = {};
        const int n = WideCharToMultiByte(codePage, 0, text.data() + i, int(units), bytes,
                                          sizeof bytes, nullptr, nullptr);
        out.append(bytes, n);
        i += units - 1;
    }
    return out;
}

std::string Narrow(UINT codePage, const std::u16string& text) {
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(needed, '\0');
    EXPECT_EQ(needed, WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), out.data(),
                                          needed, nullptr, nullptr));
    return out;
}

std::u16string Wide(UINT codePage, const std::string& bytes) {
    const int needed =
        MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::u16string out(needed, u'\0');
    EXPECT_EQ(needed, MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), out.data(),
                                          needed));
    return out;
}

// Texts of plain letters with one other character at each position from
// 0 to 200, and runs of them.
std::vector<std::u16string> Texts(char16_t other) {
    std::vector<std::u16string> texts;
    for (std::size_t at = 0; at <= 200; ++at) {
        std::u16string text(201, u'a');
        text[at] = other;
        texts.push_back(text);
    }
    std::u16string mixed;
    for (int i = 0; i < 300; ++i) mixed += (i % 7 == 0) ? other : char16_t(u'a' + i % 26);
    texts.push_back(mixed);
    return texts;
}

TEST(CodePageRuns, Windows1252AgreesWithTheCharacterByCharacterConversion) {
    // Latin-1 letters are unchanged in Windows-1252; the euro sign, C1
    // controls and Greek are not.
    for (char16_t other :
         {u'\u00E9', u'\u00FF', u'\u00A0', u'\u20AC', u'\u0081', u'\u0080', u'\u03A9', u'\u2122'}) {
        for (const std::u16string& text : Texts(other)) {
            const std::string bytes = Narrow(CP_WINDOWS_1252, text);
            ASSERT_EQ(NarrowEach(CP_WINDOWS_1252, text), bytes) << int(other);
            // What the code page holds comes back; the rest became '?'.
            if (other != u'\u0080' && other != u'\u03A9') {
                ASSERT_EQ(text, Wide(CP_WINDOWS_1252, bytes)) << int(other);
            }
        }
    }
}

TEST(CodePageRuns, Utf8AgreesWithTheCharacterByCharacterConversion) {
    for (std::u16string other : {u"\u00E9", u"\u20AC", u"\U0001F426"}) {
        for (std::size_t at = 0; at <= 130; ++at) {
            std::u16string text(140, u'x');
            text.replace(at, 1, other);
            const std::string bytes = Narrow(CP_UTF8, text);
            ASSERT_EQ(NarrowEach(CP_UTF8, text), bytes) << at;
            ASSERT_EQ(text, Wide(CP_UTF8, bytes)) << at;
        }
    }
}

TEST(CodePageRuns, ABufferOneShortFailsAndWritesNothingPastItsEnd) {
    for (UINT codePage : {CP_WINDOWS_1252, CP_UTF8}) {
        const std::u16string text(150, u'z');
        std::string out(200, '#');
        SetLastError(0);
        EXPECT_EQ(0, WideCharToMultiByte(codePage, 0, text.data(), 150, out.data(), 149, nullptr,
                                         nullptr));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        EXPECT_EQ(std::string(51, '#'), out.substr(149));
        std::u16string wide(200, u'#');
        const std::string bytes(150, 'z');
        EXPECT_EQ(0, MultiByteToWideChar(codePage, 0, bytes.data(), 150, wide.data(), 149));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        EXPECT_EQ(std::u16string(51, u'#'), wide.substr(149));
        EXPECT_EQ(150, WideCharToMultiByte(codePage, 0, text.data(), 150, out.data(), 150, nullptr,
                                           nullptr));
        EXPECT_EQ(std::string(150, 'z'), out.substr(0, 150));
    }
}

TEST(CodePageRuns, TheDefaultCharacterIsReportedFromAnywhereInALongText) {
    for (std::size_t at : {0u, 63u, 64u, 65u, 190u}) {
        std::u16string text(200, u'\u00E9');
        BOOL used = FALSE;
        std::string out(200, '\0');
        ASSERT_EQ(200, WideCharToMultiByte(CP_WINDOWS_1252, WC_NO_BEST_FIT_CHARS, text.data(), 200,
                                           out.data(), 200, nullptr, &used));
        EXPECT_FALSE(used);
        text[at] = u'\u0100';
        ASSERT_EQ(200, WideCharToMultiByte(CP_WINDOWS_1252, WC_NO_BEST_FIT_CHARS, text.data(), 200,
                                           out.data(), 200, nullptr, &used));
        EXPECT_TRUE(used) << at;
        EXPECT_EQ('?', out[at]);
        // A size query reports it too.
        used = FALSE;
        EXPECT_EQ(200, WideCharToMultiByte(CP_WINDOWS_1252, 0, text.data(), 200, nullptr, 0,
                                           nullptr, &used));
        EXPECT_TRUE(used) << at;
    }
}

}  // namespace
