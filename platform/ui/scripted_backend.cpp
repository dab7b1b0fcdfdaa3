#include "platform/ui/scripted_backend.h"

#include <unistd.h>

#include <cstdio>

#include "platform/ui/dialog.h"
#include "platform/ui/file_chooser.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/user_acts.h"
#include "platform/win/text.h"

namespace {

constexpr int kScriptFailureStatus = 3;

[[noreturn]] void ExitWithFailure(const std::string& message) {
    std::fputs(message.c_str(), stderr);
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(kScriptFailureStatus);
}

// The command a menu path leads to, or an error.
std::string ResolveMenuPath(const std::vector<MenuItemSnapshot>& menu,
                            const std::vector<std::u16string>& path, UINT& chosen) {
    const std::vector<MenuItemSnapshot>* items = &menu;
    for (std::size_t level = 0; level < path.size(); ++level) {
        const MenuItemSnapshot* found = nullptr;
        for (const MenuItemSnapshot& item : *items) {
            if (!item.separator && PlainMenuLabel(item.label) == path[level]) {
                found = &item;
                break;
            }
        }
        const std::string label = QuoteForScript(path[level]);
        if (!found) return "the menu has no item " + label;
        if (!found->enabled) return "the menu item " + label + " is disabled";
        const bool last = level + 1 == path.size();
        if (last && found->popup) return "the menu item " + label + " opens a submenu";
        if (!last && !found->popup) return "the menu item " + label + " has no submenu";
        if (last) chosen = found->id;
        items = &found->submenu;
    }
    return {};
}

bool MessageBoxOffers(UINT type, int button) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return button == IDOK || button == IDCANCEL;
        case MB_YESNOCANCEL:
            return button == IDYES || button == IDNO || button == IDCANCEL;
        case MB_YESNO:
            return button == IDYES || button == IDNO;
        default:
            return button == IDOK;
    }
}

}  // namespace

std::u16string PlainMenuLabel(const std::u16string& label) {
    std::u16string plain;
    for (std::size_t i = 0; i < label.size() && label[i] != u'\t'; ++i) {
        if (label[i] == u'&' && i + 1 < label.size()) ++i;
        plain += label[i];
    }
    return plain;
}

ScriptedBackend::ScriptedBackend(std::unique_ptr<AnswerSource> source, OnFailure onFailure)
    : m_source(source ? std::move(source) : std::make_unique<QueuedAnswers>()),
      m_onFailure(onFailure) {}

const ShownThing& ScriptedBackend::Record(ShownThing shown) {
    m_shown.push_back(std::move(shown));
    return m_shown.back();
}

const std::vector<MenuItemSnapshot>* ScriptedBackend::LastMenu() const {
    for (auto it = m_shown.rbegin(); it != m_shown.rend(); ++it) {
        if (it->kind == ShownThing::Kind::Menu) return &it->menu;
    }
    return nullptr;
}

void ScriptedBackend::Fail(const std::string& shown, const std::string& expected) {
    const std::string message = "The UI script does not answer what was shown.\nShown:\n" + shown +
                                "Script: " + expected + "\n";
    if (m_onFailure == OnFailure::ExitProcess) ExitWithFailure(message);
    if (m_failure.empty()) m_failure = message;
}

bool ScriptedBackend::NextAnswer(const std::string& shown, std::initializer_list<AnswerKind> kinds,
                                 AnswerStep& step) {
    if (!m_failure.empty()) return false;
    std::string error;
    if (!m_source->Next(step, error)) {
        Fail(shown, error.empty() ? "no answer left" : error);
        return false;
    }
    for (AnswerKind kind : kinds) {
        if (step.kind == kind) return true;
    }
    Fail(shown, "the next answer is " + DescribeAnswer(step));
    return false;
}

void ScriptedBackend::RunModalDialog(HWND dialog) {
    ShownThing shown;
    shown.kind = ShownThing::Kind::Dialog;
    shown.dialog = SnapshotDialog(dialog);
    const std::u16string title = Record(std::move(shown)).dialog.title;
    AnswerStep step;
    if (!NextAnswer(DescribeDialog(SnapshotDialog(dialog)), {AnswerKind::Dialog}, step)) return;
    if (step.title != title) {
        Fail(DescribeDialog(SnapshotDialog(dialog)), "the next answer is " + DescribeAnswer(step));
        return;
    }
    AnswerDialog(dialog);
}

void ScriptedBackend::AnswerDialog(HWND dialog) {
    while (!IsDialogEnded(dialog) && m_failure.empty()) {
        const std::string open = DescribeDialog(SnapshotDialog(dialog));
        AnswerStep step;
        if (!NextAnswer(open,
                        {AnswerKind::Set, AnswerKind::Tick, AnswerKind::Untick, AnswerKind::Pick,
                         AnswerKind::Slide, AnswerKind::Row, AnswerKind::DoubleClickRow,
                         AnswerKind::Press, AnswerKind::Key},
                        step)) {
            return;
        }
        const std::string error = ApplyToDialog(dialog, step);
        if (!error.empty()) Fail(open, DescribeAnswer(step) + ": " + error);
    }
}

std::string ScriptedBackend::ApplyToDialog(HWND dialog, const AnswerStep& step) {
    switch (step.kind) {
        case AnswerKind::Set:
            return TypeText(dialog, step.id, step.text);
        case AnswerKind::Tick:
            return TickButton(dialog, step.id, true);
        case AnswerKind::Untick:
            return TickButton(dialog, step.id, false);
        case AnswerKind::Pick:
            return PickItem(dialog, step.id, step.text);
        case AnswerKind::Slide:
            return SlideTrackbar(dialog, step.id, step.number);
        case AnswerKind::Row:
            return SelectRow(dialog, step.id, step.number);
        case AnswerKind::DoubleClickRow:
            return DoubleClickRow(dialog, step.id, step.number);
        case AnswerKind::Press:
            return PressButton(dialog, step.id);
        case AnswerKind::Key:
            PressDialogKey(dialog, step.key);
            return {};
        default:
            return "not an answer to a dialog";
    }
}

UINT ScriptedBackend::TrackPopupMenu(HMENU menu, HWND owner, POINT) {
    ShownThing shown;
    shown.kind = ShownThing::Kind::Menu;
    shown.menu = SnapshotMenuAsShown(menu, owner);
    const std::vector<MenuItemSnapshot> items = Record(std::move(shown)).menu;
    AnswerStep step;
    if (!NextAnswer(DescribeMenu(items), {AnswerKind::Menu}, step)) return 0;
    if (step.menuPath.empty()) return 0;
    UINT chosen = 0;
    const std::string error = ResolveMenuPath(items, step.menuPath, chosen);
    if (!error.empty()) {
        Fail(DescribeMenu(items), DescribeAnswer(step) + ": " + error);
        return 0;
    }
    return chosen;
}

int ScriptedBackend::ShowMessageBox(const MessageBoxRequest& request) {
    ShownThing shown;
    shown.kind = ShownThing::Kind::MessageBox;
    shown.message = request;
    const std::string described = DescribeShown(Record(std::move(shown)));
    AnswerStep step;
    if (!NextAnswer(described, {AnswerKind::Message}, step)) return 0;
    if (step.title != request.title || step.text != request.text) {
        Fail(described, "the next answer is " + DescribeAnswer(step));
        return 0;
    }
    if (!MessageBoxOffers(request.type, step.button)) {
        Fail(described, DescribeAnswer(step) + ": the message box has no such button");
        return 0;
    }
    return step.button;
}

// The chooser stays open through its own messages: a refused path, or No
// to replacing a file, is followed by the next file line.
bool ScriptedBackend::ChooseFile(const FileChooserRequest& request, std::u16string& path) {
    ShownThing shown;
    shown.kind = ShownThing::Kind::FileChooser;
    shown.file = request;
    const std::string described = DescribeShown(Record(std::move(shown)));
    while (true) {
        AnswerStep step;
        if (!NextAnswer(described, {AnswerKind::File}, step) || step.cancel) return false;
        const std::u16string chosen = ChooserPathWithExtension(step.text, request.defaultExtension);
        if (const auto refusal = MissingPathRefusal(request, chosen)) {
            if (ShowMessageBox(*refusal) == 0) return false;
            continue;
        }
        if (const auto question = ReplaceFileQuestion(request, chosen)) {
            const int answer = ShowMessageBox(*question);
            if (answer == 0) return false;
            if (answer != IDYES) continue;
        }
        path = chosen;
        return true;
    }
}

bool ScriptedBackend::ChooseFolder(const FolderChooserRequest& request, std::u16string& path) {
    ShownThing shown;
    shown.kind = ShownThing::Kind::FolderChooser;
    shown.folder = request;
    AnswerStep step;
    if (!NextAnswer(DescribeShown(Record(std::move(shown))), {AnswerKind::File}, step))
        return false;
    if (step.cancel) return false;
    path = step.text;
    return true;
}

bool ScriptedBackend::ConfirmPrint(const std::u16string& documentTitle) {
    ShownThing shown;
    shown.kind = ShownThing::Kind::Print;
    shown.printTitle = documentTitle;
    AnswerStep step;
    if (!NextAnswer(DescribeShown(Record(std::move(shown))), {AnswerKind::Print}, step))
        return false;
    return !step.cancel;
}

void ScriptedBackend::CheckAllAnswersUsed() {
    if (!m_failure.empty()) return;
    const std::string unused = m_source->Unused();
    if (unused.empty()) return;
    const std::string shown =
        m_shown.empty() ? std::string("nothing\n") : DescribeShown(m_shown.back());
    ExitWithFailure("The UI script has answers left when the program ends.\nLast shown:\n" + shown +
                    "Unused:\n" + unused);
}
