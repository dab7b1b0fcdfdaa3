// Where the scripted backend takes its answers from, one step at a time,
// when a modal thing needs one. Tests queue steps; programs read an answer
// file; the browser host feeds the lines that follow a scenario step.
#pragma once

#include <deque>
#include <memory>
#include <string>

#include "platform/ui/answer_script.h"

class AnswerSource {
public:
    virtual ~AnswerSource() = default;
    // The next answer, or false when none is left. A malformed line is
    // reported through `error` (and false).
    virtual bool Next(AnswerStep& step, std::string& error) = 0;
    // The answers not taken, described; empty when all were used.
    virtual std::string Unused() = 0;
};

class QueuedAnswers final : public AnswerSource {
public:
    void Add(AnswerStep step) { m_steps.push_back(std::move(step)); }
    // Parses an answer line; false with the reason when it is not one.
    bool AddLine(std::u16string_view line, std::string* error = nullptr);
    bool Next(AnswerStep& step, std::string& error) override;
    std::string Unused() override;

private:
    std::deque<AnswerStep> m_steps;
    int m_lines = 0;
};

// Reads an answer file: one answer step a line, blank and # lines skipped.
// Null when the file cannot be read.
std::unique_ptr<AnswerSource> OpenAnswerFile(const std::string& path);
