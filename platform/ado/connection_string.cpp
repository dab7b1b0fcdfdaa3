#include "platform/ado/connection_string.h"

#include "platform/win/text.h"

namespace {

std::u16string_view Trim(std::u16string_view text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::u16string_view Unquote(std::u16string_view text) {
    if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
        text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

std::optional<std::u16string> DataSourceOf(std::u16string_view connectionString) {
    std::u16string_view rest = connectionString;
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(u';');
        const std::u16string_view pair = rest.substr(0, semicolon);
        rest = semicolon == std::u16string_view::npos ? std::u16string_view()
                                                      : rest.substr(semicolon + 1);
        const std::size_t equals = pair.find(u'=');
        if (equals == std::u16string_view::npos) continue;
        if (!WideEqualsNoCase(Trim(pair.substr(0, equals)), u"Data Source")) continue;
        const std::u16string_view value = Unquote(Trim(pair.substr(equals + 1)));
        if (value.empty()) return std::nullopt;
        return std::u16string(value);
    }
    return std::nullopt;
}
