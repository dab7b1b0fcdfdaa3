#include "platform/ui/answer_source.h"

#include <fstream>

#include "platform/win/text.h"

namespace {

class AnswerFile final : public AnswerSource {
public:
    explicit AnswerFile(std::ifstream in) : m_in(std::move(in)) {}

    bool Next(AnswerStep& step, std::string& error) override {
        std::string raw;
        while (std::getline(m_in, raw)) {
            ++m_lineNumber;
            ScriptLine line;
            if (!SplitScriptLine(Utf8ToUtf16(raw), line, error)) return Fail(error);
            if (line.words.empty()) continue;
            if (!ParseAnswerStep(line, step, error)) return Fail(error);
            step.lineNumber = m_lineNumber;
            return true;
        }
        return false;
    }

    std::string Unused() override {
        std::string unused;
        std::string raw;
        while (std::getline(m_in, raw)) {
            ++m_lineNumber;
            ScriptLine line;
            std::string error;
            if (SplitScriptLine(Utf8ToUtf16(raw), line, error) && line.words.empty()) continue;
            unused += "line " + std::to_string(m_lineNumber) + ": " + raw + "\n";
        }
        return unused;
    }

private:
    bool Fail(std::string& error) {
        error = "line " + std::to_string(m_lineNumber) + ": " + error;
        return false;
    }

    std::ifstream m_in;
    int m_lineNumber = 0;
};

}  // namespace

bool QueuedAnswers::AddLine(std::u16string_view line, std::string* error) {
    AnswerStep step;
    std::string reason;
    if (!ParseAnswerText(line, step, reason)) {
        if (error) *error = reason;
        return false;
    }
    step.lineNumber = ++m_lines;
    m_steps.push_back(std::move(step));
    return true;
}

bool QueuedAnswers::Next(AnswerStep& step, std::string&) {
    if (m_steps.empty()) return false;
    step = std::move(m_steps.front());
    m_steps.pop_front();
    return true;
}

std::string QueuedAnswers::Unused() {
    std::string unused;
    for (const AnswerStep& step : m_steps) unused += DescribeAnswer(step) + "\n";
    return unused;
}

std::unique_ptr<AnswerSource> OpenAnswerFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) return nullptr;
    return std::make_unique<AnswerFile>(std::move(in));
}
