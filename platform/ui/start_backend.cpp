// The backend a program starts with: scripted when KESTRO_UI_SCRIPT names
// an answer file, otherwise the on-screen backend the program registered.
#include <cstdio>
#include <cstdlib>

#include "platform/ui/scripted_backend.h"
#include "platform/ui/ui_state.h"

namespace {

constexpr int kNoUiStatus = 2;

// At exit, answers left in the script fail the run.
void CheckScriptAtExit() {
    if (auto* scripted = dynamic_cast<ScriptedBackend*>(ChosenUiBackend())) {
        scripted->CheckAllAnswersUsed();
    }
}

}  // namespace

std::unique_ptr<UiBackend> CreateStartBackend(OnScreenBackendFactory onScreenFactory) {
    const char* script = std::getenv("KESTRO_UI_SCRIPT");
    if (script && *script) {
        std::unique_ptr<AnswerSource> source = OpenAnswerFile(script);
        if (!source) {
            std::fprintf(stderr, "Cannot read the UI script %s (KESTRO_UI_SCRIPT).\n", script);
            std::exit(kNoUiStatus);
        }
        std::atexit(CheckScriptAtExit);
        return std::make_unique<ScriptedBackend>(std::move(source),
                                                 ScriptedBackend::OnFailure::ExitProcess);
    }
    if (onScreenFactory) {
        if (std::unique_ptr<UiBackend> backend = onScreenFactory()) return backend;
    }
    std::fputs(
        "This program needs a display to show its windows, and none is available; "
        "set KESTRO_UI_SCRIPT to an answer file to run it without one.\n",
        stderr);
    std::exit(kNoUiStatus);
}
