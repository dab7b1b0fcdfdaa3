// libFuzzer harness for answer files (KESTRO_UI_SCRIPT): the file is read
// step by step to its end, past malformed lines, as the scripted backend
// reads it. Every word of every line must survive QuoteForScript, which
// tests and tools use to write answers of any text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/answer_source.h"
#include "platform/win/text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void ReadAllAnswers(const std::string& path) {
    const std::unique_ptr<AnswerSource> source = OpenAnswerFile(path);
    if (!source) fuzzing::Fault("an answer file cannot be opened", path);
    AnswerStep step;
    std::string error;
    while (source->Next(step, error) || !error.empty()) {
        DescribeAnswer(step);
        error.clear();
    }
    source->Unused();
}

void CheckQuoting(std::string_view line) {
    ScriptLine split;
    std::string error;
    if (!SplitScriptLine(Utf8ToUtf16(line), split, error)) return;
    for (const ScriptWord& word : split.words) {
        const std::string quoted = QuoteForScript(word.text);
        ScriptLine again;
        if (!SplitScriptLine(Utf8ToUtf16(quoted), again, error) || again.words.size() != 1 ||
            again.words[0].text != word.text)
            fuzzing::Fault("a quoted word does not read back as itself", quoted);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzzing::PrivateDirectory() + "/answers";
    fuzzing::WriteFile(path, text);
    ReadAllAnswers(path);
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        CheckQuoting(text.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
