#include "platform/ui/answer_script.h"

#include <gtest/gtest.h>

#include "platform/ui/ui_types.h"

namespace {

std::vector<std::u16string> Words(std::u16string_view line) {
    ScriptLine split;
    std::string error;
    EXPECT_TRUE(SplitScriptLine(line, split, error)) << error;
    std::vector<std::u16string> words;
    for (const ScriptWord& word : split.words) words.push_back(word.text);
    return words;
}

AnswerStep Parse(std::u16string_view line) {
    AnswerStep step;
    std::string error;
    EXPECT_TRUE(ParseAnswerText(line, step, error)) << error;
    return step;
}

std::string ParseError(std::u16string_view line) {
    AnswerStep step;
    std::string error;
    EXPECT_FALSE(ParseAnswerText(line, step, error));
    return error;
}

}  // namespace

TEST(ScriptLines, QuotedWordsHoldBlanksAndEscapes) {
    EXPECT_EQ(Words(u"  set 217   \"a b\"  "),
              (std::vector<std::u16string>{u"set", u"217", u"a b"}));
    EXPECT_EQ(Words(u"x \"\\n\\r\\t\\\"\\\\\\q\""),
              (std::vector<std::u16string>{u"x", u"\n\r\t\"\\\\q"}));
    EXPECT_EQ(Words(u"x \"\""), (std::vector<std::u16string>{u"x", u""}));
    EXPECT_EQ(Words(u"a\\nb"), (std::vector<std::u16string>{u"a\\nb"}));  // unquoted: as written
    EXPECT_TRUE(Words(u"   # a comment").empty());
    EXPECT_TRUE(Words(u"").empty());
    ScriptLine split;
    std::string error;
    EXPECT_FALSE(SplitScriptLine(u"dialog \"open", split, error));
    EXPECT_EQ(error, "a quotation mark is not closed");
    EXPECT_FALSE(SplitScriptLine(u"dialog \"a\"b", split, error));
    EXPECT_EQ(QuoteForScript(u"say \"hi\"\n\\"), "\"say \\\"hi\\\"\\n\\\\\"");
}

TEST(AnswerSteps, ParseEveryKind) {
    const AnswerStep menu = Parse(u"menu Kestro>Save Text of Selection...");
    EXPECT_EQ(menu.menuPath,
              (std::vector<std::u16string>{u"Kestro", u"Save Text of Selection..."}));
    EXPECT_TRUE(Parse(u"menu -").menuPath.empty());
    EXPECT_EQ(Parse(u"dialog Kestro - Options").title, u"Kestro - Options");
    EXPECT_EQ(Parse(u"dialog \"Kestro - Confirm save login \"").title,
              u"Kestro - Confirm save login ");
    const AnswerStep set = Parse(u"set 217 /home/user/My Texts");
    EXPECT_EQ(set.kind, AnswerKind::Set);
    EXPECT_EQ(set.id, 217);
    EXPECT_EQ(set.text, u"/home/user/My Texts");
    EXPECT_EQ(Parse(u"set 217 \"\"").text, u"");
    EXPECT_EQ(Parse(u"slide 216 -5").number, -5);
    EXPECT_EQ(Parse(u"dblrow 1003 -1").number, -1);
    EXPECT_EQ(Parse(u"press 1").kind, AnswerKind::Press);
    const AnswerStep message = Parse(u"message \"Kestro - Error\" \"Line\\nnext\" Yes");
    EXPECT_EQ(message.text, u"Line\nnext");
    EXPECT_EQ(message.button, IDYES);
    EXPECT_TRUE(Parse(u"file -").cancel);
    EXPECT_FALSE(Parse(u"file \"-\"").cancel);
    EXPECT_TRUE(Parse(u"print -").cancel);
    EXPECT_FALSE(Parse(u"print ok").cancel);
    const AnswerStep escape = Parse(u"escape");
    EXPECT_EQ(escape.kind, AnswerKind::Key);
    EXPECT_EQ(escape.key, DialogKey::Escape);
    EXPECT_TRUE(IsDialogControlStep(escape.kind));
}

TEST(AnswerSteps, MalformedStepsSayWhatWasExpected) {
    EXPECT_EQ(ParseError(u"press"), "expected: press ID");
    EXPECT_EQ(ParseError(u"press one"), "expected: press ID");
    EXPECT_EQ(ParseError(u"tick 1 2"), "expected: tick ID");
    EXPECT_EQ(ParseError(u"slide 215 x"), "expected: slide ID N");
    EXPECT_EQ(ParseError(u"message \"t\" \"x\" Maybe"),
              "expected: message \"TITLE\" \"TEXT\" OK|Yes|No|Cancel");
    EXPECT_EQ(ParseError(u"print yes"), "expected: print ok or print -");
    EXPECT_EQ(ParseError(u"escape now"), "expected: escape");
    EXPECT_EQ(ParseError(u"open http://example.com"), "not an answer step");
}
