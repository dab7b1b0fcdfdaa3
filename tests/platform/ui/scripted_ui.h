// Runs a test against the scripted backend with answers queued by the test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"
#include "platform/ui/scripted_backend.h"
#include "platform/ui/window.h"

namespace ui_testing {

class ScriptedUi {
public:
    ScriptedUi() {
        auto answers = std::make_unique<QueuedAnswers>();
        m_answers = answers.get();
        auto backend = std::make_unique<ScriptedBackend>(std::move(answers),
                                                         ScriptedBackend::OnFailure::Record);
        m_backend = backend.get();
        InstallUiBackend(std::move(backend));
    }
    ~ScriptedUi() { InstallUiBackend(nullptr); }
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    void Answer(std::u16string_view line) {
        std::string error;
        ASSERT_TRUE(m_answers->AddLine(line, &error)) << error;
    }
    void Key(DialogKey key) {
        AnswerStep step;
        step.kind = AnswerKind::Key;
        step.key = key;
        m_answers->Add(step);
    }
    ScriptedBackend& backend() { return *m_backend; }

private:
    QueuedAnswers* m_answers;
    ScriptedBackend* m_backend;
};

// A dialog procedure made of functions: `init` runs at WM_INITDIALOG,
// `handler` gets every other message (TRUE when handled).
using DialogHandler = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;
INT_PTR RunDialog(int templateId, HWND owner, std::function<void(HWND)> init,
                  DialogHandler handler = {});

}  // namespace ui_testing
