// The user's language ids, by the locale environment, also as Windows
// callers reach them: by name through "kernel32.dll".
#include "platform/win/user_locale.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/module.h"
#include "tests/support/locale_environment.h"

namespace {

using testing_support::kLocaleVariables;

class UserLocale : public ::testing::Test {
protected:
    static void SetLocale(const char* all, const char* messages, const char* lang) {
        const char* values[] = {all, messages, lang};
        for (int i = 0; i < 3; ++i) {
            if (values[i])
                setenv(kLocaleVariables[i], values[i], 1);
            else
                unsetenv(kLocaleVariables[i]);
        }
    }

private:
    testing_support::LocaleEnvironment m_environment;
};

using LanguageCall = LANGID (*)();

LanguageCall Kernel32Call(const char* name) {
    return reinterpret_cast<LanguageCall>(GetProcAddress(GetModuleHandleW(u"kernel32.dll"), name));
}

TEST_F(UserLocale, TheFirstSetVariableDecidesAndUnknownLocalesAreUsEnglish) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        LANGID expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, 0x409}, {nullptr, nullptr, "C", 0x409},
        {nullptr, nullptr, "POSIX", 0x409}, {nullptr, nullptr, "de_AT.UTF-8", 0xC07},
        {nullptr, nullptr, "de_LU", 0x407},  // region not listed: the language's own
        {nullptr, "fr_CA", "de_DE", 0xC0C}, {"ja_JP.UTF-8", "fr_CA", "de_DE", 0x411},
        {"", "", "sv_SE", 0x41D},  // empty counts as unset
        {nullptr, nullptr, "xx_YY", 0x409},
    };
    const LanguageCall byName[] = {Kernel32Call("GetUserDefaultUILanguage"),
                                   Kernel32Call("GetUserDefaultLangID")};
    ASSERT_NE(byName[0], nullptr);
    ASSERT_NE(byName[1], nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.all ? c.all : "-") + " " + (c.messages ? c.messages : "-") +
                     " " + (c.lang ? c.lang : "-"));
        SetLocale(c.all, c.messages, c.lang);
        EXPECT_EQ(GetUserDefaultUILanguage(), c.expected);
        EXPECT_EQ(GetUserDefaultLangID(), c.expected);
        EXPECT_EQ(byName[0](), c.expected);
        EXPECT_EQ(byName[1](), c.expected);
    }
}

}  // namespace
