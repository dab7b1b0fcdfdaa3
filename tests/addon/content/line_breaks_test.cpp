// The save dialog's line-break clean-ups on the shapes of text pages give.
#include "addon/content/line_breaks.h"

#include <gtest/gtest.h>

#include "platform/win/text.h"

namespace {

struct Case {
    std::u16string in;
    std::u16string out;
};

std::string Shown(const std::u16string& text) {
    return Utf16ToUtf8(EscapeBackslashed(text, false));
}

TEST(CollapseBlankLines, EachPairOfLineBreaksBecomesOneWithoutOverlapping) {
    const Case cases[] = {
        {u"", u""},
        {u"a\r\nb", u"a\r\nb"},
        {u"a\r\n\r\nb", u"a\r\nb"},
        {u"a\r\n\r\n\r\nb", u"a\r\n\r\nb"},
        {u"a\r\n\r\n\r\n\r\nb", u"a\r\n\r\nb"},
        {u"a\r\n\r\n\r\n\r\n\r\nb", u"a\r\n\r\n\r\nb"},
        {u"\r\n\r\n", u"\r\n"},
        {u"a\r\r\n\nb", u"a\r\r\n\nb"},  // not CR LF CR LF
        {u"a\r\n\r", u"a\r\n\r"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Shown(c.out), Shown(CollapseBlankLines(c.in))) << Shown(c.in);
}

TEST(RemoveImproperLineBreaks, JoinsBrokenSentencesAndKeepsParagraphs) {
    const Case withSpace[] = {
        {u"one\r\ntwo", u"one two"},
        {u"end.\r\nNext", u"end.\r\nNext"},
        {u"a\r\n\r\n\r\n\r\nb", u"a\r\n\r\nb"},
        {u"word \r\nnext", u"word next"},
        // Only the blank right before the break goes; a run leaves a blank
        // as the previous character, so the break is inside a sentence.
        {u"word  \r\nnext", u"word  next"},
        {u"\r\nfirst", u"\r\nfirst"},
        {u"l1\r\nl2\r\n\r\np2", u"l1 l2\r\n\r\np2"},
        // Every sentence end keeps its break; ? ; and ] do not.
        {u"a!\r\nb\\\r\nc}\r\nd)\r\ne:\r\nf\"\r\ng>\r\nh",
         u"a!\r\nb\\\r\nc}\r\nd)\r\ne:\r\nf\"\r\ng>\r\nh"},
        {u"\u201D\r\n\u3002\r\n\uFF01\r\n\uFF09\r\n\uFF5D\r\n\uFF3D\r\nx",
         u"\u201D\r\n\u3002\r\n\uFF01\r\n\uFF09\r\n\uFF5D\r\n\uFF3D\r\nx"},
        {u"\uFF1A\r\n\u300D\r\n\u2236\r\n\u2026\r\n\u2014\r\n\f\r\nx",
         u"\uFF1A\r\n\u300D\r\n\u2236\r\n\u2026\r\n\u2014\r\n\f\r\nx"},
        {u"a?\r\nb;\r\nc]\r\nd", u"a? b; c] d"},
        // The character after a CR goes with it, whatever it is.
        {u"a\rXb", u"a b"},
        {u"a.\rXb", u"a.\rXb"},
        // A paragraph break copies CR, any, CR and what follows when there is one.
        {u"a\rx\ry", u"a\rx\ry"},
        {u"a\r\n\r", u"a\r\n\r"},
        // A CR at the very end is never read past.
        {u"a\r", u"a "},
        {u"a.\r", u"a.\r"},
        {u"\r", u"\r"},
        {u"a \r", u"a "},
        {u"", u""},
    };
    for (const Case& c : withSpace)
        EXPECT_EQ(Shown(c.out), Shown(RemoveImproperLineBreaks(c.in, true))) << Shown(c.in);
}

TEST(RemoveImproperLineBreaks, WithoutTheSpaceLinesRunTogether) {
    EXPECT_EQ(u"onetwo", RemoveImproperLineBreaks(u"one\r\ntwo", false));
    EXPECT_EQ(u"wordnext", RemoveImproperLineBreaks(u"word \r\nnext", false));
    EXPECT_EQ(u"\u6587\u5B57\u7D9A\u304D",
              RemoveImproperLineBreaks(u"\u6587\u5B57\r\n\u7D9A\u304D", false));
    EXPECT_EQ(u"\u6587\u3002\r\n\u7D9A",
              RemoveImproperLineBreaks(u"\u6587\u3002\r\n\u7D9A", false));
}

TEST(LineBreakCleanUps, BothTogetherAsTheSaveAppliesThem) {
    const std::u16string text = u"l1\r\n\r\nl2\r\n\r\n\r\n\r\np2";
    EXPECT_EQ(u"l1\r\nl2\r\n\r\np2", CollapseBlankLines(text));
    EXPECT_EQ(u"l1 l2\r\n\r\np2", RemoveImproperLineBreaks(CollapseBlankLines(text), true));
}

}  // namespace
