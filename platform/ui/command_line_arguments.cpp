#include "platform/ui/command_line_arguments.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// Consumes a run of quotation marks starting at `at`. `quotes` counts the
// marks of the current quoted part: odd while inside one; every third mark
// in a row is a literal one.
void ReadQuotes(std::u16string_view line, std::size_t& at, int& quotes, std::u16string& argument) {
    ++quotes;
    ++at;
    while (at < line.size() && line[at] == u'"') {
        if (++quotes == 3) {
            argument += u'"';
            quotes = 0;
        }
        ++at;
    }
    if (quotes == 2) quotes = 0;
}

}  // namespace

std::vector<std::u16string> SplitCommandLineArguments(std::u16string_view line) {
    std::vector<std::u16string> arguments;
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at >= line.size()) break;
        std::u16string argument;
        int quotes = 0;
        while (at < line.size() && (quotes % 2 == 1 || !IsBlank(line[at]))) {
            std::size_t backslashes = 0;
            while (at < line.size() && line[at] == u'\\') {
                ++backslashes;
                ++at;
            }
            if (at < line.size() && line[at] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument += u'"';
                    ++at;
                } else {
                    ReadQuotes(line, at, quotes, argument);
                }
            } else {
                argument.append(backslashes, u'\\');
                if (backslashes == 0) argument += line[at++];
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}
