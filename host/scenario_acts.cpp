// The acts of a scenario: they go to the current window (the last one
// opened with `open` or chosen with `window N`) as a user's acts would.
#include <sys/stat.h>

#include "host/registry_steps.h"
#include "host/scenario_runner.h"
#include "host/speech_wait.h"
#include "platform/browser/browser_session.h"
#include "platform/win/text.h"

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string ScenarioRunner::FindElement(const std::u16string& selector,
                                        browser::PageElement& found) {
    if (!m_window) return "no window is open yet";
    return m_window->FindElement(selector, found);
}

std::string ScenarioRunner::OpenPage(const std::u16string& address) {
    const std::u16string resolved = ResolveScriptAddress(m_script, address);
    if (resolved != address || address.starts_with(u"/")) {
        // A path: say so plainly rather than showing an error page.
        if (!IsFile(Utf16ToUtf8(resolved))) return "no file " + Utf16ToUtf8(resolved);
    }
    browser::BrowserWindow* window = browser::BrowserSession::Instance().OpenWindow(resolved);
    if (!window) return "no window could be opened";
    m_window = window;
    return {};
}

std::string ScenarioRunner::Act(const ScenarioStep& step) {
    browser::BrowserSession& session = browser::BrowserSession::Instance();
    switch (step.kind) {
        case StepKind::Map: {
            const std::string folder = ResolveScriptPath(m_script, Utf16ToUtf8(step.text));
            if (!IsFolder(folder)) return "no folder " + folder;
            session.MapHost(step.name, Utf8ToUtf16(folder));
            return {};
        }
        case StepKind::Open:
            return OpenPage(step.text);
        case StepKind::Window:
            if (browser::BrowserWindow* window = session.Window(step.number)) {
                m_window = window;
                return {};
            }
            return std::to_string(session.WindowCount()) + " window(s) open";
        case StepKind::Unselect:
            return m_window ? m_window->Unselect() : "no window is open yet";
        case StepKind::Close:
            return m_window ? m_window->Close() : "no window is open yet";
        case StepKind::RegistrySet:
            return SetRegistryValue(step);
        case StepKind::RegistryDelete:
            return DeleteRegistryEntry(step);
        case StepKind::WaitSpeech:
            return WaitUntilSpeechDone();
        default:
            break;
    }
    browser::PageElement element;
    if (std::string error = FindElement(step.selector, element); !error.empty()) return error;
    switch (step.kind) {
        case StepKind::Type:
            return m_window->Type(element, step.text);
        case StepKind::Check:
            return m_window->SetChecked(element, true);
        case StepKind::Uncheck:
            return m_window->SetChecked(element, false);
        case StepKind::Choose:
            return m_window->Choose(element, step.words);
        case StepKind::Click:
            return m_window->Click(element, step.alt);
        case StepKind::DoubleClick:
            return m_window->DoubleClick(element, step.alt);
        case StepKind::Hover:
            return m_window->Hover(element);
        case StepKind::Select:
            return m_window->Select(element, step.from, step.to);
        case StepKind::RightClick:
            return m_window->RightClick(element);
        default:
            return "not an act";
    }
}
