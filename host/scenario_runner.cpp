#include "host/scenario_runner.h"

#include "host/journal_reader.h"
#include "platform/browser/browser_session.h"
#include "platform/win/text.h"

// Feeds the scripted backend from the runner; owned by the backend.
class RunnerAnswers final : public AnswerSource {
public:
    explicit RunnerAnswers(ScenarioRunner& runner) : m_runner(runner) {}
    bool Next(AnswerStep& step, std::string& error) override {
        return m_runner.NextAnswer(step, error);
    }
    std::string Unused() override { return m_runner.LinesLeft(); }

private:
    ScenarioRunner& m_runner;
};

namespace {

std::string Indented(const std::string& text) {
    std::string indented;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart) indented += "  ";
        indented += c;
        lineStart = c == '\n';
    }
    while (!indented.empty() && (indented.back() == '\n' || indented.back() == ' '))
        indented.pop_back();
    return indented;
}

}  // namespace

ScenarioRunner::ScenarioRunner(ScenarioScript script, std::string journalPath)
    : m_script(std::move(script)), m_journalPath(std::move(journalPath)) {
    m_journalCursor = ReadJournal(m_journalPath).size();
}

bool ScenarioRunner::Run(std::ostream& errors) {
    auto backend = std::make_unique<ScriptedBackend>(std::make_unique<RunnerAnswers>(*this),
                                                     ScriptedBackend::OnFailure::Record);
    m_ui = backend.get();
    std::unique_ptr<UiBackend> previous = InstallUiBackend(std::move(backend));
    while (m_next < m_script.lines.size() && !Failed()) RunLine(m_script.lines[m_next++]);
    if (!Failed()) Finish();
    InstallUiBackend(std::move(previous));
    m_ui = nullptr;
    if (Failed()) errors << m_failure;
    return !Failed();
}

bool ScenarioRunner::Finish() {
    browser::BrowserSession::Instance().CloseAll();
    if (!m_ui->Failure().empty()) {
        ScenarioLine end{static_cast<int>(m_script.lines.size()), "(end of the script)"};
        Fail(end, m_ui->Failure());
    }
    return !Failed();
}

bool ScenarioRunner::RunLine(const ScenarioLine& line) {
    ScriptLine split;
    std::string error;
    if (!SplitScriptLine(Utf8ToUtf16(line.text), split, error)) {
        Fail(line, "script error: " + error);
        return false;
    }
    if (split.words.empty()) return true;
    if (IsAnswerLine(split)) {
        const auto& shown = m_ui->Shown();
        Fail(line,
             "an answer, but nothing is open to answer" +
                 (shown.empty() ? std::string(" (nothing was shown yet)")
                                : "; the last thing shown was:\n" + DescribeShown(shown.back())));
        return false;
    }
    ScenarioStep step;
    if (!ParseScenarioStep(split, step, error)) {
        Fail(line, "script error: " + error);
        return false;
    }
    const std::string found = IsCheck(step.kind) ? Check(step) : Act(step);
    if (Failed()) return false;  // a line read while the step was open failed
    if (!found.empty()) {
        Fail(line, found);
        return false;
    }
    if (!m_ui->Failure().empty()) {
        Fail(line, m_ui->Failure());
        return false;
    }
    return true;
}

bool ScenarioRunner::NextAnswer(AnswerStep& step, std::string& error) {
    while (m_next < m_script.lines.size() && !Failed()) {
        const ScenarioLine& line = m_script.lines[m_next];
        ScriptLine split;
        if (!SplitScriptLine(Utf8ToUtf16(line.text), split, error)) {
            ++m_next;
            Fail(line, "script error: " + error);
            break;
        }
        if (split.words.empty()) {
            ++m_next;
            continue;
        }
        if (IsCheckLine(split)) {
            ++m_next;
            RunLine(line);
            continue;
        }
        if (!IsAnswerLine(split)) {
            // A mistyped answer is a script error of its own line.
            ScenarioStep act;
            if (!ParseScenarioStep(split, act, error)) {
                ++m_next;
                Fail(line, "script error: " + error);
                break;
            }
            error =
                "line " + std::to_string(line.number) + " is a step, not an answer: " + line.text;
            return false;
        }
        ++m_next;
        if (!ParseAnswerStep(split, step, error)) {
            Fail(line, "script error: " + error);
            break;
        }
        step.lineNumber = line.number;
        if (step.kind == AnswerKind::File && !step.cancel)
            step.text = Utf8ToUtf16(ResolveScriptPath(m_script, Utf16ToUtf8(step.text)));
        return true;
    }
    error = Failed() ? "the run stopped at a failed line" : "the script ends";
    return false;
}

std::string ScenarioRunner::LinesLeft() const {
    std::string left;
    for (std::size_t i = m_next; i < m_script.lines.size(); ++i)
        left += "line " + std::to_string(m_script.lines[i].number) + ": " + m_script.lines[i].text +
                "\n";
    return left;
}

void ScenarioRunner::Fail(const ScenarioLine& line, const std::string& found) {
    if (Failed()) return;
    m_failure = "line " + std::to_string(line.number) + ": " + line.text + "\n" +
                Indented("found: " + found) + "\n";
}
