#include "host/scenario_step.h"

#include <iterator>

#include "platform/win/text.h"

namespace {

struct StepForm {
    const char16_t* keyword;
    StepKind kind;
    const char* usage;
    const char16_t* subword = nullptr;  // a second word the form needs
};

constexpr StepForm kActs[] = {
    {u"map", StepKind::Map, "map HOST DIR"},
    {u"open", StepKind::Open, "open URL"},
    {u"window", StepKind::Window, "window N"},
    {u"type", StepKind::Type, "type SEL TEXT"},
    {u"check", StepKind::Check, "check SEL"},
    {u"uncheck", StepKind::Uncheck, "uncheck SEL"},
    {u"choose", StepKind::Choose, "choose SEL VALUE..."},
    {u"click", StepKind::Click, "click SEL [alt]"},
    {u"dblclick", StepKind::DoubleClick, "dblclick SEL [alt]"},
    {u"hover", StepKind::Hover, "hover SEL"},
    {u"select", StepKind::Select, "select SEL [FROM TO]"},
    {u"unselect", StepKind::Unselect, "unselect"},
    {u"rightclick", StepKind::RightClick, "rightclick SEL"},
    {u"close", StepKind::Close, "close"},
    {u"registry", StepKind::RegistrySet, "registry set KEY NAME dword|sz VALUE", u"set"},
    {u"registry", StepKind::RegistryDelete, "registry delete KEY [NAME]", u"delete"},
    {u"wait", StepKind::WaitSpeech, "wait speech", u"speech"},
};

constexpr StepForm kChecks[] = {
    {u"text", StepKind::ExpectText, "expect text SEL TEXT"},
    {u"value", StepKind::ExpectValue, "expect value SEL TEXT"},
    {u"checked", StepKind::ExpectChecked, "expect checked SEL"},
    {u"unchecked", StepKind::ExpectUnchecked, "expect unchecked SEL"},
    {u"selected", StepKind::ExpectSelected, "expect selected SEL VALUE..."},
    {u"windows", StepKind::ExpectWindows, "expect windows N"},
    {u"url", StepKind::ExpectUrl, "expect url URL"},
    {u"title", StepKind::ExpectTitle, "expect title TEXT"},
    {u"menu", StepKind::ExpectMenu, "expect menu LABEL>LABEL... enabled|disabled|absent"},
    {u"effect", StepKind::ExpectEffect, "expect effect KIND TEXT..."},
    {u"file", StepKind::ExpectFile, "expect file PATH TEXT"},
    {u"bytes", StepKind::ExpectBytes, "expect bytes PATH HEX"},
    {u"registry", StepKind::ExpectRegistry, "expect registry KEY NAME VALUE|absent"},
};

constexpr const char16_t* kRegistryRoots[] = {u"HKEY_LOCAL_MACHINE", u"HKEY_CURRENT_USER",
                                              u"HKEY_CLASSES_ROOT"};

bool IsWord(const ScriptLine& line, std::size_t index, const char16_t* text) {
    return index < line.words.size() && !line.words[index].quoted && line.words[index].text == text;
}

// The form a line's words `at` (and, for forms that have one, `at + 1`)
// name. When only the keyword matches, usage gets every form it starts.
template <std::size_t N>
const StepForm* FindForm(const StepForm (&forms)[N], const ScriptLine& line, std::size_t at,
                         std::string& usage) {
    usage.clear();
    for (const StepForm& form : forms) {
        if (!IsWord(line, at, form.keyword)) continue;
        if (!form.subword || IsWord(line, at + 1, form.subword)) return &form;
        usage += (usage.empty() ? "" : " or ") + std::string(form.usage);
    }
    return nullptr;
}

bool ParseCount(const ScriptWord& word, std::size_t& value) {
    if (word.text.empty() || word.text.size() > 9) return false;
    value = 0;
    for (char16_t c : word.text) {
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + static_cast<std::size_t>(c - u'0');
    }
    return true;
}

// The last argument, from word `first` on: one word, or the raw rest of
// the line when it is written unquoted.
bool LastText(const ScriptLine& line, std::size_t first, std::u16string& text) {
    if (first >= line.words.size()) return false;
    if (first + 1 < line.words.size())
        for (std::size_t i = first; i < line.words.size(); ++i)
            if (line.words[i].quoted) return false;
    text = line.RestFrom(first);
    return true;
}

// Words [first, last] as one menu path: a quoted word, or the raw text.
bool MenuPathWords(const ScriptLine& line, std::size_t first, std::size_t last,
                   std::vector<std::u16string>& labels) {
    std::u16string path;
    if (first == last) {
        path = line.words[first].text;
    } else {
        for (std::size_t i = first; i <= last; ++i)
            if (line.words[i].quoted) return false;
        path = line.text.substr(line.words[first].begin,
                                line.words[last].end - line.words[first].begin);
    }
    labels = SplitMenuPath(path);
    return true;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Hex digits in pairs; blanks between pairs are allowed.
bool ParseHex(const ScriptLine& line, std::size_t first, std::string& bytes) {
    std::u16string digits;
    for (std::size_t i = first; i < line.words.size(); ++i)
        for (char16_t c : line.words[i].text)
            if (c != u' ') digits += c;
    if (digits.size() % 2 != 0) return false;
    bytes.clear();
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = HexDigit(digits[i]), low = HexDigit(digits[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

void Rest(const ScriptLine& line, std::size_t first, std::vector<std::u16string>& words) {
    for (std::size_t i = first; i < line.words.size(); ++i) words.push_back(line.words[i].text);
}

// ROOT\SUBKEY, the root one of the three the registry has.
bool ParseRegistryKey(const ScriptWord& word, std::u16string& key) {
    const std::size_t slash = word.text.find(u'\\');
    if (slash == std::u16string::npos || slash + 1 == word.text.size()) return false;
    const std::u16string_view root = std::u16string_view(word.text).substr(0, slash);
    for (const char16_t* known : kRegistryRoots)
        if (WideEqualsNoCase(root, known)) {
            key = word.text;
            return true;
        }
    return false;
}

// @ unquoted is the default value, as "" is.
std::u16string ValueName(const ScriptWord& word) {
    return !word.quoted && word.text == u"@" ? std::u16string() : word.text;
}

// Decimal, or 0x and up to eight hex digits.
bool ParseDword(const ScriptWord& word, std::uint32_t& value) {
    const std::u16string& text = word.text;
    const bool hex = text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
    const std::size_t first = hex ? 2 : 0;
    if (text.size() <= first || text.size() - first > (hex ? 8u : 10u)) return false;
    std::uint64_t number = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        int digit = -1;
        if (hex)
            digit = HexDigit(text[i]);
        else if (text[i] >= u'0' && text[i] <= u'9')
            digit = text[i] - u'0';
        if (digit < 0) return false;
        number = number * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    }
    if (number > 0xFFFFFFFFu) return false;
    value = static_cast<std::uint32_t>(number);
    return true;
}

bool ParseRegistrySet(const ScriptLine& line, ScenarioStep& step) {
    if (line.words.size() < 6 || !ParseRegistryKey(line.words[2], step.key)) return false;
    step.valueName = ValueName(line.words[3]);
    if (IsWord(line, 4, u"dword")) {
        step.dword = true;
        return line.words.size() == 6 && ParseDword(line.words[5], step.number32);
    }
    return IsWord(line, 4, u"sz") && LastText(line, 5, step.text);
}

bool ParseRegistryDelete(const ScriptLine& line, ScenarioStep& step) {
    const std::size_t count = line.words.size();
    if ((count != 3 && count != 4) || !ParseRegistryKey(line.words[2], step.key)) return false;
    if (count == 4) step.valueName = ValueName(line.words[3]);
    return true;
}

bool ParseExpectRegistry(const ScriptLine& line, ScenarioStep& step) {
    if (line.words.size() < 5 || !ParseRegistryKey(line.words[2], step.key)) return false;
    step.valueName = ValueName(line.words[3]);
    step.absent = line.words.size() == 5 && IsWord(line, 4, u"absent");
    return step.absent || LastText(line, 4, step.text);
}

bool ParseAct(const ScriptLine& line, ScenarioStep& step) {
    const std::size_t count = line.words.size();
    const auto word = [&line](std::size_t i) -> const ScriptWord& { return line.words[i]; };
    switch (step.kind) {
        case StepKind::Map:
            if (count < 3) return false;
            step.name = word(1).text;
            return LastText(line, 2, step.text);
        case StepKind::Open:
            return LastText(line, 1, step.text);
        case StepKind::Window:
            return count == 2 && ParseCount(word(1), step.number) && step.number >= 1;
        case StepKind::Type:
            if (count < 3) return false;
            step.selector = word(1).text;
            return LastText(line, 2, step.text);
        case StepKind::Choose:
            if (count < 2) return false;
            step.selector = word(1).text;
            Rest(line, 2, step.words);
            return true;
        case StepKind::Click:
        case StepKind::DoubleClick:
            if (count == 3) {
                if (word(2).quoted || word(2).text != u"alt") return false;
                step.alt = true;
            }
            step.selector = count >= 2 ? word(1).text : u"";
            return count == 2 || count == 3;
        case StepKind::Select:
            if (count == 4) {
                std::size_t from = 0, to = 0;
                if (!ParseCount(word(2), from) || !ParseCount(word(3), to) || from > to)
                    return false;
                step.from = from;
                step.to = to;
            }
            step.selector = count >= 2 ? word(1).text : u"";
            return count == 2 || count == 4;
        case StepKind::Check:
        case StepKind::Uncheck:
        case StepKind::Hover:
        case StepKind::RightClick:
            step.selector = count >= 2 ? word(1).text : u"";
            return count == 2;
        case StepKind::Unselect:
        case StepKind::Close:
            return count == 1;
        case StepKind::RegistrySet:
            return ParseRegistrySet(line, step);
        case StepKind::RegistryDelete:
            return ParseRegistryDelete(line, step);
        case StepKind::WaitSpeech:
            return count == 2;
        default:
            return false;
    }
}

bool ParseMenuState(const ScriptWord& word, MenuItemState& state) {
    if (word.quoted) return false;
    if (word.text == u"enabled")
        state = MenuItemState::Enabled;
    else if (word.text == u"disabled")
        state = MenuItemState::Disabled;
    else if (word.text == u"absent")
        state = MenuItemState::Absent;
    else
        return false;
    return true;
}

bool ParseCheck(const ScriptLine& line, ScenarioStep& step) {
    const std::size_t count = line.words.size();
    const auto word = [&line](std::size_t i) -> const ScriptWord& { return line.words[i]; };
    switch (step.kind) {
        case StepKind::ExpectText:
        case StepKind::ExpectValue:
            if (count < 4) return false;
            step.selector = word(2).text;
            return LastText(line, 3, step.text);
        case StepKind::ExpectChecked:
        case StepKind::ExpectUnchecked:
            if (count != 3) return false;
            step.selector = word(2).text;
            return true;
        case StepKind::ExpectSelected:
            if (count < 3) return false;
            step.selector = word(2).text;
            Rest(line, 3, step.words);
            return true;
        case StepKind::ExpectWindows:
            return count == 3 && ParseCount(word(2), step.number);
        case StepKind::ExpectUrl:
        case StepKind::ExpectTitle:
            return LastText(line, 2, step.text);
        case StepKind::ExpectMenu:
            return count >= 4 && ParseMenuState(word(count - 1), step.menuState) &&
                   MenuPathWords(line, 2, count - 2, step.words);
        case StepKind::ExpectEffect:
            if (count < 3) return false;
            step.name = word(2).text;
            Rest(line, 3, step.words);
            return true;
        case StepKind::ExpectFile:
            if (count < 4) return false;
            step.name = word(2).text;
            return LastText(line, 3, step.text);
        case StepKind::ExpectBytes:
            if (count < 4) return false;
            step.name = word(2).text;
            return ParseHex(line, 3, step.bytes);
        case StepKind::ExpectRegistry:
            return ParseExpectRegistry(line, step);
        default:
            return false;
    }
}

}  // namespace

bool IsCheckLine(const ScriptLine& line) {
    return !line.words.empty() && !line.words[0].quoted && line.words[0].text == u"expect";
}

bool IsCheck(StepKind kind) {
    return kind >= StepKind::ExpectText;
}

bool ParseScenarioStep(const ScriptLine& line, ScenarioStep& step, std::string& error) {
    step = ScenarioStep{};
    if (line.words.empty()) {
        error = "not a step";
        return false;
    }
    const StepForm* form = nullptr;
    std::string usage;
    bool parsed = false;
    if (IsCheckLine(line)) {
        form = FindForm(kChecks, line, 1, usage);
        if (!form) {
            error =
                "not a check: expect text|value|checked|unchecked|selected|windows|url|"
                "title|menu|effect|file|bytes|registry";
            return false;
        }
        step.kind = form->kind;
        parsed = ParseCheck(line, step);
    } else {
        form = FindForm(kActs, line, 0, usage);
        if (!form) {
            error = usage.empty() ? "not a step, an answer or a check" : "expected: " + usage;
            return false;
        }
        step.kind = form->kind;
        parsed = ParseAct(line, step);
    }
    if (!parsed) error = std::string("expected: ") + form->usage;
    return parsed;
}
