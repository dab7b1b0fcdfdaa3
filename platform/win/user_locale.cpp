#include "platform/win/user_locale.h"

#include <cstdlib>
#include <string_view>

namespace {

struct LanguageId {
    std::string_view tag;  // language, or language-region
    LANGID id;
};

// Regions first, then the language alone with its primary region.
constexpr LanguageId kLanguageIds[] = {
    {"en-gb", 0x809}, {"en-au", 0xC09}, {"en-ca", 0x1009}, {"en-ie", 0x1809}, {"en-nz", 0x1409},
    {"de-at", 0xC07}, {"de-ch", 0x807}, {"fr-be", 0x80C},  {"fr-ca", 0xC0C},  {"fr-ch", 0x100C},
    {"es-mx", 0x80A}, {"pt-pt", 0x816}, {"zh-tw", 0x404},  {"zh-hk", 0xC04},  {"nl-be", 0x813},
    {"en", 0x409},    {"de", 0x407},    {"fr", 0x40C},     {"es", 0xC0A},     {"it", 0x410},
    {"pt", 0x416},    {"nl", 0x413},    {"sv", 0x41D},     {"da", 0x406},     {"nb", 0x414},
    {"no", 0x414},    {"fi", 0x40B},    {"pl", 0x415},     {"cs", 0x405},     {"sk", 0x41B},
    {"hu", 0x40E},    {"ro", 0x418},    {"ru", 0x419},     {"uk", 0x422},     {"el", 0x408},
    {"tr", 0x41F},    {"he", 0x40D},    {"ar", 0x401},     {"ja", 0x411},     {"ko", 0x412},
    {"zh", 0x804},    {"hi", 0x439},    {"th", 0x41E},     {"vi", 0x42A},
};

std::string LocaleName() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

}  // namespace

std::string UserLanguageTag() {
    std::string locale = LocaleName();
    locale = locale.substr(0, locale.find_first_of(".@"));
    if (locale.empty() || locale == "C" || locale == "POSIX") return "en-us";
    for (char& c : locale) {
        if (c == '_') c = '-';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return locale;
}

namespace {

// One locale setting serves both calls: there is no separate interface
// language here.
LANGID LocaleLanguageId() {
    const std::string tag = UserLanguageTag();
    const std::string language = tag.substr(0, tag.find('-'));
    for (const LanguageId& entry : kLanguageIds)
        if (entry.tag == tag) return entry.id;
    for (const LanguageId& entry : kLanguageIds)
        if (entry.tag == language) return entry.id;
    return 0x409;
}

}  // namespace

LANGID GetUserDefaultUILanguage() {
    return LocaleLanguageId();
}

LANGID GetUserDefaultLangID() {
    return LocaleLanguageId();
}
