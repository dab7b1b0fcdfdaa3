// The scripted backend: nothing on screen. Every modal thing takes its
// answers from an answer source, and everything shown is recorded. The
// dialog's own handlers run: answers only set controls and press buttons.
// A file chooser makes the checks of file_chooser.h and shows their
// messages as message boxes of their own.
//
// A modal thing with no fitting answer fails, naming what was shown and
// what the script held. In a program (KESTRO_UI_SCRIPT) a failure, or an
// answer still unused when the program ends, prints both and exits with
// status 3. Under test the failure is recorded and the modal thing fails
// as Windows reports it (dialog -1, message box 0, menu 0, chooser FALSE),
// as does every modal thing after it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/answer_source.h"
#include "platform/ui/ui_backend.h"

struct ShownThing {
    enum class Kind { Dialog, MessageBox, Menu, FileChooser, FolderChooser, Print };
    Kind kind = Kind::Dialog;
    DialogSnapshot dialog;
    MessageBoxRequest message;
    std::vector<MenuItemSnapshot> menu;
    FileChooserRequest file;
    FolderChooserRequest folder;
    std::u16string printTitle;
};

// What was shown, as a person reading a failure wants to see it.
std::string DescribeShown(const ShownThing& shown);
std::string DescribeDialog(const DialogSnapshot& dialog);
std::string DescribeMenu(const std::vector<MenuItemSnapshot>& menu);
// A menu label as a person reads it and a script names it: without the
// accelerator marks and the shortcut text after a tab.
std::u16string PlainMenuLabel(const std::u16string& label);

class ScriptedBackend final : public UiBackend {
public:
    enum class OnFailure { Record, ExitProcess };

    ScriptedBackend(std::unique_ptr<AnswerSource> source, OnFailure onFailure);

    void RunModalDialog(HWND dialog) override;
    UINT TrackPopupMenu(HMENU menu, HWND owner, POINT point) override;
    int ShowMessageBox(const MessageBoxRequest& request) override;
    bool ChooseFile(const FileChooserRequest& request, std::u16string& path) override;
    bool ChooseFolder(const FolderChooserRequest& request, std::u16string& path) override;
    bool ConfirmPrint(const std::u16string& documentTitle) override;
    void Beep() override { ++m_beeps; }

    const std::vector<ShownThing>& Shown() const { return m_shown; }
    // The last menu shown, in the state in which it was shown.
    const std::vector<MenuItemSnapshot>* LastMenu() const;
    // The first failure; empty while everything was answered.
    const std::string& Failure() const { return m_failure; }
    int Beeps() const { return m_beeps; }
    // Answers not taken, described; empty when all were used.
    std::string Unused() { return m_source->Unused(); }
    // In a program: prints the unused answers and exits with status 3 when
    // there are any.
    void CheckAllAnswersUsed();

private:
    // The next answer of one of the kinds, or a recorded failure.
    bool NextAnswer(const std::string& shown, std::initializer_list<AnswerKind> kinds,
                    AnswerStep& step);
    void Fail(const std::string& shown, const std::string& expected);
    std::string ApplyToDialog(HWND dialog, const AnswerStep& step);
    void AnswerDialog(HWND dialog);
    const ShownThing& Record(ShownThing shown);

    std::unique_ptr<AnswerSource> m_source;
    OnFailure m_onFailure;
    std::vector<ShownThing> m_shown;
    std::string m_failure;
    int m_beeps = 0;
};
