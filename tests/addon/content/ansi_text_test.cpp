// The ANSI test of saved text: the whole text must convert to the ANSI
// code page and back unchanged, in Windows-1252 and in UTF-8 as the code
// page, chunk edges included.
#include "addon/content/ansi_text.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

class AnsiText : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("KESTRO_ACP"); }
    static std::string Bytes(std::u16string_view text) {
        const std::optional<AnsiBytes> bytes = AnsiBytesOf(text);
        return bytes ? std::string(bytes->View()) : "(fails)";
    }
};

TEST_F(AnsiText, Windows1252HoldsLatinLettersAndItsOwnSignsOnly) {
    unsetenv("KESTRO_ACP");
    EXPECT_EQ("caf\xE9 \x80 \x99 \x81", Bytes(u"caf\u00E9 \u20AC \u2122 \u0081"));
    EXPECT_EQ("(fails)", Bytes(u""));
    EXPECT_EQ("(fails)", Bytes(u"\u03A9"));
    EXPECT_EQ("(fails)", Bytes(u"\u0080"));  // a C1 control the code page has no byte for
    EXPECT_EQ("(fails)", Bytes(u"?\u0100"));
    std::u16string late(100000, u'x');
    late.back() = u'\u0100';
    EXPECT_EQ("(fails)", Bytes(late));
}

TEST_F(AnsiText, InUtf8EveryCharacterPassesButABrokenSurrogate) {
    setenv("KESTRO_ACP", "65001", 1);
    EXPECT_EQ("\xCE\xA9 caf\xC3\xA9", Bytes(u"\u03A9 caf\u00E9"));
    EXPECT_EQ("(fails)", Bytes(u"a\xD800z"));
    // A pair that straddles the edge of a conversion chunk stays whole.
    for (std::size_t at : {32766u, 32767u, 32768u}) {
        std::u16string text(70000, u'a');
        text.replace(at, 2, u"\U0001F426");
        const std::string bytes = Bytes(text);
        ASSERT_EQ(70002u, bytes.size()) << at;
        EXPECT_EQ("\xF0\x9F\x90\xA6", bytes.substr(at, 4)) << at;
    }
    std::u16string late(70000, u'a');
    late[50000] = 0xDC00;
    EXPECT_EQ("(fails)", Bytes(late));
}

}  // namespace
