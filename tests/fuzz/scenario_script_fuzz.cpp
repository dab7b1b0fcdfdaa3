// libFuzzer harness for scenario scripts: the script is read into lines and
// every line is taken apart as the runner takes it (an answer, a check or an
// act), with the paths and addresses of its steps resolved.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "host/scenario_script.h"
#include "host/scenario_step.h"
#include "platform/win/text.h"

namespace {

void ResolveNames(const ScenarioScript& script, const ScenarioStep& step) {
    switch (step.kind) {
        case StepKind::Open:
        case StepKind::ExpectUrl:
            ResolveScriptAddress(script, step.text);
            break;
        case StepKind::Map:
            ResolveScriptPath(script, Utf16ToUtf8(step.text));
            break;
        case StepKind::ExpectFile:
        case StepKind::ExpectBytes:
            ResolveScriptPath(script, Utf16ToUtf8(step.name));
            break;
        default:
            break;
    }
}

void ReadLine(const ScenarioScript& script, const ScenarioLine& line) {
    ScriptLine split;
    std::string error;
    if (!SplitScriptLine(Utf8ToUtf16(line.text), split, error) || split.words.empty()) return;
    if (IsAnswerLine(split)) {
        AnswerStep answer;
        if (!ParseAnswerStep(split, answer, error)) return;
        answer.lineNumber = line.number;
        DescribeAnswer(answer);
        if (answer.kind == AnswerKind::File && !answer.cancel)
            ResolveScriptPath(script, Utf16ToUtf8(answer.text));
        return;
    }
    ScenarioStep step;
    if (ParseScenarioStep(split, step, error)) ResolveNames(script, step);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const ScenarioScript script = ReadScenarioScript(in, "/scenarios");
    for (const ScenarioLine& line : script.lines) ReadLine(script, line);
    return 0;
}
