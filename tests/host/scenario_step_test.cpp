#include "host/scenario_step.h"

#include <gtest/gtest.h>

namespace {

bool Parse(std::u16string_view text, ScenarioStep& step, std::string* error = nullptr) {
    ScriptLine line;
    std::string reason;
    if (!SplitScriptLine(text, line, reason)) {
        if (error) *error = reason;
        return false;
    }
    const bool parsed = ParseScenarioStep(line, step, reason);
    if (error) *error = reason;
    return parsed;
}

ScenarioStep Parsed(std::u16string_view text) {
    ScenarioStep step;
    EXPECT_TRUE(Parse(text, step)) << std::string(text.begin(), text.end());
    return step;
}

using Words = std::vector<std::u16string>;

TEST(ScenarioStep, QuotedArgumentsKeepBlanksAndDecodeEscapes) {
    const ScenarioStep step =
        Parsed(u"expect text \"form > p:nth-of-type(2)\" \"a\\tb\\r\\n\\\"c\\\\\"");
    EXPECT_EQ(StepKind::ExpectText, step.kind);
    EXPECT_EQ(u"form > p:nth-of-type(2)", step.selector);
    EXPECT_EQ(u"a\tb\r\n\"c\\", step.text);
    // Outside quotes a backslash is only a backslash.
    EXPECT_EQ(u"a\\nb", Parsed(u"type #q a\\nb").text);
}

TEST(ScenarioStep, ALastTextMayBeTheUnquotedRestOfTheLine) {
    EXPECT_EQ(u"Ann  Lee", Parsed(u"type #name Ann  Lee  ").text);
    EXPECT_EQ(u"My Page", Parsed(u"expect title My Page").text);
    EXPECT_EQ(u"", Parsed(u"type #name \"\"").text);
    // Half quoted is ambiguous.
    ScenarioStep step;
    EXPECT_FALSE(Parse(u"type #name \"Ann\" Lee", step));
}

TEST(ScenarioStep, ListsAreOneWordEach) {
    EXPECT_EQ((Words{u"a", u"b c"}), Parsed(u"choose #list a \"b c\"").words);
    EXPECT_EQ(Words{}, Parsed(u"expect selected #list").words);
    const ScenarioStep effect = Parsed(u"expect effect copy \"two words\" more");
    EXPECT_EQ(u"copy", effect.name);
    EXPECT_EQ((Words{u"two words", u"more"}), effect.words);
}

TEST(ScenarioStep, OptionalArguments) {
    EXPECT_FALSE(Parsed(u"click #a").alt);
    EXPECT_TRUE(Parsed(u"dblclick #a alt").alt);
    const ScenarioStep whole = Parsed(u"select #a");
    EXPECT_FALSE(whole.from.has_value());
    const ScenarioStep part = Parsed(u"select #a 2 5");
    EXPECT_EQ(2u, *part.from);
    EXPECT_EQ(5u, *part.to);
}

TEST(ScenarioStep, MenuChecksSplitTheLabelPath) {
    const ScenarioStep quoted = Parsed(u"expect menu \"Encoding>Unicode (UTF-8)\" disabled");
    EXPECT_EQ((Words{u"Encoding", u"Unicode (UTF-8)"}), quoted.words);
    EXPECT_EQ(MenuItemState::Disabled, quoted.menuState);
    const ScenarioStep unquoted = Parsed(u"expect menu Open in New Window absent");
    EXPECT_EQ(Words{u"Open in New Window"}, unquoted.words);
    EXPECT_EQ(MenuItemState::Absent, unquoted.menuState);
}

TEST(ScenarioStep, BytesAreHexPairs) {
    EXPECT_EQ(std::string("\xef\xbb\xbf"
                          "A",
                          4),
              Parsed(u"expect bytes f.txt EFbbBF41").bytes);
    EXPECT_EQ(std::string("\x01\x02", 2), Parsed(u"expect bytes f.txt \"01 02\"").bytes);
    EXPECT_EQ(std::string(), Parsed(u"expect bytes f.txt \"\"").bytes);
    ScenarioStep step;
    EXPECT_FALSE(Parse(u"expect bytes f.txt abc", step));
    EXPECT_FALSE(Parse(u"expect bytes f.txt zz", step));
}

TEST(ScenarioStep, RegistryStepsNameTheKeyTheValueAndItsType) {
    const ScenarioStep set =
        Parsed(u"registry set \"HKEY_CURRENT_USER\\Software\\My Key\" @ sz two  words ");
    EXPECT_EQ(StepKind::RegistrySet, set.kind);
    EXPECT_EQ(u"HKEY_CURRENT_USER\\Software\\My Key", set.key);
    EXPECT_EQ(u"", set.valueName);
    EXPECT_FALSE(set.dword);
    EXPECT_EQ(u"two  words", set.text);
    EXPECT_EQ(u"@", Parsed(u"registry set HKEY_CLASSES_ROOT\\x \"@\" sz v").valueName);
    EXPECT_EQ(u"", Parsed(u"registry set HKEY_CLASSES_ROOT\\x \"\" sz \"\"").text);

    EXPECT_EQ(4294967295u,
              Parsed(u"registry set HKEY_LOCAL_MACHINE\\k n dword 4294967295").number32);
    const ScenarioStep hex = Parsed(u"registry set HKEY_LOCAL_MACHINE\\k n dword 0xFFfe");
    EXPECT_TRUE(hex.dword);
    EXPECT_EQ(0xFFFEu, hex.number32);

    EXPECT_FALSE(Parsed(u"registry delete HKEY_CURRENT_USER\\k").valueName.has_value());
    EXPECT_EQ(u"Name", Parsed(u"registry delete HKEY_CURRENT_USER\\k Name").valueName);

    const ScenarioStep absent = Parsed(u"expect registry HKEY_CURRENT_USER\\k PopupMgr absent");
    EXPECT_EQ(StepKind::ExpectRegistry, absent.kind);
    EXPECT_TRUE(absent.absent);
    const ScenarioStep text = Parsed(u"expect registry HKEY_CURRENT_USER\\k n \"absent\"");
    EXPECT_FALSE(text.absent);
    EXPECT_EQ(u"absent", text.text);
    EXPECT_EQ(u"1 2", Parsed(u"expect registry HKEY_CURRENT_USER\\k n 1 2").text);
    EXPECT_EQ(StepKind::WaitSpeech, Parsed(u"wait speech").kind);
}

TEST(ScenarioStep, MalformedStepsSayWhatWasExpected) {
    struct Case {
        const char16_t* line;
        const char* expected;
    };
    const Case cases[] = {
        {u"click #a sideways", "expected: click SEL [alt]"},
        {u"window 0", "expected: window N"},
        {u"window two", "expected: window N"},
        {u"select #a 5 2", "expected: select SEL [FROM TO]"},
        {u"select #a 5", "expected: select SEL [FROM TO]"},
        {u"close now", "expected: close"},
        {u"type #a", "expected: type SEL TEXT"},
        {u"expect menu Back on", "expected: expect menu LABEL>LABEL... enabled|disabled|absent"},
        {u"expect windows -1", "expected: expect windows N"},
        {u"expect colour #a red", "not a check"},
        {u"registry set Software\\k n sz v", "expected: registry set KEY NAME dword|sz VALUE"},
        {u"registry set HKEY_USERS\\k n sz v", "expected: registry set"},
        {u"registry set HKEY_CURRENT_USER\\ n sz v", "expected: registry set"},
        {u"registry set HKEY_CURRENT_USER\\k n dword 4294967296", "expected: registry set"},
        {u"registry set HKEY_CURRENT_USER\\k n dword 0x123456789", "expected: registry set"},
        {u"registry set HKEY_CURRENT_USER\\k n dword 12ab", "expected: registry set"},
        {u"registry set HKEY_CURRENT_USER\\k n qword 1", "expected: registry set"},
        {u"registry delete HKEY_CURRENT_USER\\k a b", "expected: registry delete KEY [NAME]"},
        {u"registry move a b",
         "expected: registry set KEY NAME dword|sz VALUE or registry delete KEY [NAME]"},
        {u"expect registry HKEY_CURRENT_USER\\k n",
         "expected: expect registry KEY NAME VALUE|absent"},
        {u"wait forever", "expected: wait speech"},
        {u"wait speech now", "expected: wait speech"},
        {u"\"open\" a.html", "not a step"},
        {u"jump #a", "not a step"},
    };
    for (const Case& c : cases) {
        ScenarioStep step;
        std::string error;
        EXPECT_FALSE(Parse(c.line, step, &error));
        EXPECT_EQ(0u, error.find(c.expected)) << error;
    }
}

TEST(ScenarioStep, ChecksAreKnownByTheirFirstWord) {
    ScriptLine line;
    std::string error;
    ASSERT_TRUE(SplitScriptLine(u"expect windows 0", line, error));
    EXPECT_TRUE(IsCheckLine(line));
    EXPECT_TRUE(IsCheck(Parsed(u"expect windows 0").kind));
    EXPECT_FALSE(IsCheck(Parsed(u"close").kind));
    ASSERT_TRUE(SplitScriptLine(u"\"expect\" windows 0", line, error));
    EXPECT_FALSE(IsCheckLine(line));
}

}  // namespace
