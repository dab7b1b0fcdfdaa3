// The registry steps on a test's own hives: what set writes is what the
// program reads, delete removes a value or a whole key, and expect
// compares numbers as decimals and strings as text.
#include "host/registry_steps.h"

#include <gtest/gtest.h>

#include "platform/win/registry.h"

namespace {

ScenarioStep Step(const std::u16string& line) {
    ScriptLine split;
    std::string error;
    EXPECT_TRUE(SplitScriptLine(line, split, error)) << error;
    ScenarioStep step;
    EXPECT_TRUE(ParseScenarioStep(split, step, error)) << error;
    return step;
}

std::string Apply(const std::u16string& line) {
    const ScenarioStep step = Step(line);
    switch (step.kind) {
        case StepKind::RegistrySet:
            return SetRegistryValue(step);
        case StepKind::RegistryDelete:
            return DeleteRegistryEntry(step);
        default:
            return CheckRegistryValue(step);
    }
}

constexpr char16_t kKey[] =
    u"\"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\New Windows\"";

std::u16string Line(const char16_t* head, const char16_t* tail) {
    return std::u16string(head) + u" " + kKey + u" " + tail;
}

TEST(RegistrySteps, WhatIsSetIsWhatTheProgramReads) {
    EXPECT_EQ("", Apply(Line(u"registry set", u"PopupMgr dword 0x10")));
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER,
                                           u"Software\\Microsoft\\Internet Explorer\\New Windows",
                                           0, KEY_READ, &key));
    DWORD type = 0, value = 0, size = sizeof(value);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, u"PopupMgr", nullptr, &type,
                                              reinterpret_cast<BYTE*>(&value), &size));
    RegCloseKey(key);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(16u, value);
}

TEST(RegistrySteps, ChecksCompareNumbersAsDecimalsAndStringsAsText) {
    EXPECT_EQ("", Apply(Line(u"registry set", u"PopupMgr dword 0x10")));
    EXPECT_EQ("", Apply(Line(u"expect registry", u"PopupMgr 16")));
    EXPECT_EQ("16 (REG_DWORD)", Apply(Line(u"expect registry", u"PopupMgr 0x10")));
    EXPECT_EQ("16 (REG_DWORD)", Apply(Line(u"expect registry", u"PopupMgr absent")));

    EXPECT_EQ("", Apply(Line(u"registry set", u"@ sz Default text")));
    EXPECT_EQ("", Apply(Line(u"expect registry", u"\"\" \"Default text\"")));
    EXPECT_EQ("\"Default text\" (REG_SZ)", Apply(Line(u"expect registry", u"@ 16")));
    EXPECT_EQ("absent", Apply(Line(u"expect registry", u"Other \"\"")));
    EXPECT_EQ("", Apply(Line(u"expect registry", u"Other absent")));
    EXPECT_EQ("absent (no such key)",
              Apply(u"expect registry HKEY_LOCAL_MACHINE\\Software\\Nowhere @ x"));
}

TEST(RegistrySteps, DeleteRemovesAValueOrTheWholeKey) {
    EXPECT_EQ("", Apply(Line(u"registry set", u"PopupMgr dword 1")));
    EXPECT_EQ("", Apply(Line(u"registry set", u"Keep sz yes")));
    EXPECT_EQ("", Apply(u"registry set \"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
                        u"Explorer\\New Windows\\Allow\" site dword 1"));
    EXPECT_EQ("", Apply(Line(u"registry delete", u"PopupMgr")));
    EXPECT_EQ("", Apply(Line(u"expect registry", u"PopupMgr absent")));
    EXPECT_EQ("", Apply(Line(u"expect registry", u"Keep yes")));
    // What is not there is deleted already.
    EXPECT_EQ("", Apply(Line(u"registry delete", u"PopupMgr")));

    EXPECT_EQ("", Apply(u"registry delete \"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
                        u"Explorer\\New Windows\""));
    EXPECT_EQ("", Apply(Line(u"expect registry", u"Keep absent")));
    EXPECT_EQ("", Apply(u"expect registry \"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
                        u"Explorer\\New Windows\\Allow\" site absent"));
    EXPECT_EQ("", Apply(u"registry delete HKEY_CURRENT_USER\\Software\\Nowhere"));
}

}  // namespace
