#include "platform/ui/answer_script.h"

#include "platform/ui/ui_types.h"
#include "platform/win/text.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

char16_t Unescape(char16_t c, bool& known) {
    known = true;
    switch (c) {
        case u'n':
            return u'\n';
        case u'r':
            return u'\r';
        case u't':
            return u'\t';
        case u'"':
            return u'"';
        case u'\\':
            return u'\\';
        default:
            known = false;
            return c;
    }
}

bool ReadQuoted(std::u16string_view line, std::size_t& at, ScriptWord& word, std::string& error) {
    ++at;  // the opening quote
    while (at < line.size() && line[at] != u'"') {
        if (line[at] == u'\\' && at + 1 < line.size()) {
            bool known = false;
            const char16_t decoded = Unescape(line[at + 1], known);
            if (known) {
                word.text += decoded;
                at += 2;
                continue;
            }
        }
        word.text += line[at++];
    }
    if (at >= line.size()) {
        error = "a quotation mark is not closed";
        return false;
    }
    ++at;  // the closing quote
    if (at < line.size() && !IsBlank(line[at])) {
        error = "text follows a closing quotation mark";
        return false;
    }
    return true;
}

bool ParseInt(const std::u16string& text, int& value) {
    if (text.empty() || text.size() > 10) return false;
    std::size_t at = text[0] == u'-' ? 1 : 0;
    if (at == text.size()) return false;
    long long result = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < u'0' || text[at] > u'9') return false;
        result = result * 10 + (text[at] - u'0');
    }
    value = static_cast<int>(text[0] == u'-' ? -result : result);
    return true;
}

struct Keyword {
    const char16_t* word;
    AnswerKind kind;
};

constexpr Keyword kKeywords[] = {
    {u"menu", AnswerKind::Menu},
    {u"dialog", AnswerKind::Dialog},
    {u"set", AnswerKind::Set},
    {u"tick", AnswerKind::Tick},
    {u"untick", AnswerKind::Untick},
    {u"pick", AnswerKind::Pick},
    {u"slide", AnswerKind::Slide},
    {u"row", AnswerKind::Row},
    {u"dblrow", AnswerKind::DoubleClickRow},
    {u"press", AnswerKind::Press},
    {u"message", AnswerKind::Message},
    {u"file", AnswerKind::File},
    {u"print", AnswerKind::Print},
    {u"escape", AnswerKind::Key},
};

bool FindKeyword(const ScriptLine& line, AnswerKind& kind) {
    if (line.words.empty() || line.words[0].quoted) return false;
    for (const Keyword& keyword : kKeywords) {
        if (line.words[0].text == keyword.word) {
            kind = keyword.kind;
            return true;
        }
    }
    return false;
}

bool ParseButton(const std::u16string& word, int& button) {
    if (word == u"OK")
        button = IDOK;
    else if (word == u"Yes")
        button = IDYES;
    else if (word == u"No")
        button = IDNO;
    else if (word == u"Cancel")
        button = IDCANCEL;
    else
        return false;
    return true;
}

bool Malformed(std::string& error, const char* usage) {
    error = std::string("expected: ") + usage;
    return false;
}

// Steps of the form KEYWORD ID [VALUE].
bool ParseControlStep(const ScriptLine& line, AnswerStep& step, std::string& error,
                      const char* usage) {
    const std::size_t count = line.words.size();
    const bool takesValue = step.kind != AnswerKind::Tick && step.kind != AnswerKind::Untick &&
                            step.kind != AnswerKind::Press;
    if (count < 2 || (!takesValue && count != 2) || (takesValue && count < 3)) {
        return Malformed(error, usage);
    }
    if (!ParseInt(line.words[1].text, step.id)) return Malformed(error, usage);
    if (!takesValue) return true;
    if (step.kind == AnswerKind::Set || step.kind == AnswerKind::Pick) {
        step.text = line.RestFrom(2);
        return true;
    }
    if (count != 3 || !ParseInt(line.words[2].text, step.number)) return Malformed(error, usage);
    return true;
}

}  // namespace

std::vector<std::u16string> SplitMenuPath(const std::u16string& path) {
    std::vector<std::u16string> labels;
    std::size_t start = 0;
    while (true) {
        const std::size_t arrow = path.find(u'>', start);
        labels.push_back(path.substr(start, arrow - start));
        if (arrow == std::u16string::npos) break;
        start = arrow + 1;
    }
    return labels;
}

std::u16string ScriptLine::RestFrom(std::size_t first) const {
    if (first >= words.size()) return {};
    if (first + 1 == words.size()) return words[first].text;
    std::size_t end = text.size();
    while (end > words[first].begin && IsBlank(text[end - 1])) --end;
    return text.substr(words[first].begin, end - words[first].begin);
}

bool SplitScriptLine(std::u16string_view line, ScriptLine& split, std::string& error) {
    split = ScriptLine{};
    split.text = std::u16string(line);
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at < line.size() && line[at] == u'#') return true;
    while (at < line.size()) {
        ScriptWord word;
        word.begin = at;
        if (line[at] == u'"') {
            word.quoted = true;
            if (!ReadQuoted(line, at, word, error)) return false;
        } else {
            while (at < line.size() && !IsBlank(line[at])) word.text += line[at++];
        }
        word.end = at;
        split.words.push_back(std::move(word));
        while (at < line.size() && IsBlank(line[at])) ++at;
    }
    return true;
}

std::string QuoteForScript(std::u16string_view text) {
    return Utf16ToUtf8(u"\"" + EscapeBackslashed(text, true) + u"\"");
}

bool IsDialogControlStep(AnswerKind kind) {
    switch (kind) {
        case AnswerKind::Set:
        case AnswerKind::Tick:
        case AnswerKind::Untick:
        case AnswerKind::Pick:
        case AnswerKind::Slide:
        case AnswerKind::Row:
        case AnswerKind::DoubleClickRow:
        case AnswerKind::Press:
        case AnswerKind::Key:
            return true;
        default:
            return false;
    }
}

bool IsAnswerLine(const ScriptLine& line) {
    AnswerKind kind;
    return FindKeyword(line, kind);
}

bool ParseAnswerStep(const ScriptLine& line, AnswerStep& step, std::string& error) {
    step = AnswerStep{};
    step.line = line.text;
    if (!FindKeyword(line, step.kind)) {
        error = "not an answer step";
        return false;
    }
    const std::size_t count = line.words.size();
    switch (step.kind) {
        case AnswerKind::Menu:
            if (count < 2) return Malformed(error, "menu LABEL>LABEL... or menu -");
            if (line.RestFrom(1) != u"-" || line.words[1].quoted)
                step.menuPath = SplitMenuPath(line.RestFrom(1));
            return true;
        case AnswerKind::Dialog:
            if (count < 2) return Malformed(error, "dialog \"TITLE\"");
            step.title = line.RestFrom(1);
            return true;
        case AnswerKind::Message:
            if (count != 4 || !ParseButton(line.words[3].text, step.button)) {
                return Malformed(error, "message \"TITLE\" \"TEXT\" OK|Yes|No|Cancel");
            }
            step.title = line.words[1].text;
            step.text = line.words[2].text;
            return true;
        case AnswerKind::File:
            if (count < 2) return Malformed(error, "file PATH or file -");
            step.text = line.RestFrom(1);
            step.cancel = step.text == u"-" && !line.words[1].quoted;
            return true;
        case AnswerKind::Print:
            if (count != 2 || (line.words[1].text != u"ok" && line.words[1].text != u"-")) {
                return Malformed(error, "print ok or print -");
            }
            step.cancel = line.words[1].text == u"-";
            return true;
        case AnswerKind::Set:
            return ParseControlStep(line, step, error, "set ID TEXT");
        case AnswerKind::Tick:
            return ParseControlStep(line, step, error, "tick ID");
        case AnswerKind::Untick:
            return ParseControlStep(line, step, error, "untick ID");
        case AnswerKind::Pick:
            return ParseControlStep(line, step, error, "pick ID TEXT");
        case AnswerKind::Slide:
            return ParseControlStep(line, step, error, "slide ID N");
        case AnswerKind::Row:
            return ParseControlStep(line, step, error, "row ID N");
        case AnswerKind::DoubleClickRow:
            return ParseControlStep(line, step, error, "dblrow ID N");
        case AnswerKind::Press:
            return ParseControlStep(line, step, error, "press ID");
        case AnswerKind::Key:
            if (count != 1) return Malformed(error, "escape");
            step.key = DialogKey::Escape;
            return true;
    }
    error = "not an answer step";
    return false;
}

bool ParseAnswerText(std::u16string_view text, AnswerStep& step, std::string& error) {
    ScriptLine line;
    if (!SplitScriptLine(text, line, error)) return false;
    return ParseAnswerStep(line, step, error);
}

std::string DescribeAnswer(const AnswerStep& step) {
    std::string described;
    if (step.kind == AnswerKind::Key) {
        described = step.key == DialogKey::Enter ? "the Enter key" : "the Escape key";
    } else {
        described = Utf16ToUtf8(step.line);
    }
    if (step.lineNumber > 0)
        described = "line " + std::to_string(step.lineNumber) + ": " + described;
    return described;
}
