// Runs a scenario script against the browser session, one line at a time.
//
// The runner is also where the scripted UI backend takes its answers from:
// while a step has something modal open (a menu, a dialog, a message box,
// a chooser, a print dialog), the backend asks for the next answer and the
// runner reads on from the line after that step. Checks met on the way are
// carried out at once, so they see the page as it is while the modal thing
// is open; blank and comment lines are skipped; the next act (or the end of
// the script) means the script has no answer for what is open.
//
// The first failure stops the run: a step that does not hold, a line that
// is not a step, UI the script does not answer, an answer with nothing
// open. It is reported with the line's number, the line, and what was
// found instead.
//
// The steps are listed in scenario_step.h. How they are taken:
//  - Every act returns with what it caused complete, the work handlers
//    started after the act included (navigations, new windows and tabs).
//  - `open URL` opens a new window with the page and makes it the current
//    window; `window N` makes window N current (a tab is a window of its
//    own). Acts and checks go to the current window; it stays current
//    after `close` (steps on it then find "the window is closed") and
//    when a page opens other windows.
//  - Relative paths and addresses without a scheme (open, map, expect url,
//    expect file, expect bytes, and the `file PATH` answer) are taken from
//    the script's folder; `expect url` compares a path as the file: URL
//    the browser gives it.
//  - `expect effect KIND TEXT...` holds when a journal entry of that kind,
//    after the one the previous `expect effect` matched, holds each TEXT
//    word in its text, in that order (each word a part of the text, not
//    overlapping the one before); with no TEXT any entry of the kind does.
//    Only entries written during this run count.
//  - `expect selected SEL` with no values holds when no option is
//    selected; `choose SEL` with none deselects every option.
//  - `registry set|delete` and `expect registry` work on the run's hives
//    (KESTRO_HOME), the ones the browser and its add-ons read and write.
//  - `wait speech` returns when every speech voice of the process, the
//    add-ons' included, is done; after a minute it fails naming the voices
//    still speaking.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "host/scenario_script.h"
#include "host/scenario_step.h"
#include "platform/browser/browser_window.h"
#include "platform/ui/scripted_backend.h"

class ScenarioRunner {
public:
    // journalPath: the effects journal that `expect effect` reads; only
    // entries written after the runner was made count.
    ScenarioRunner(ScenarioScript script, std::string journalPath);

    // Runs every line with a scripted UI backend installed in place of the
    // current one; at the end the windows still open are closed. True when
    // every step held; otherwise the failure is written to `errors`.
    bool Run(std::ostream& errors);

private:
    friend class RunnerAnswers;

    bool RunLine(const ScenarioLine& line);
    bool Finish();
    // The answer source of the scripted backend.
    bool NextAnswer(AnswerStep& step, std::string& error);
    std::string LinesLeft() const;
    void Fail(const ScenarioLine& line, const std::string& found);
    bool Failed() const { return !m_failure.empty(); }

    // scenario_acts.cpp
    std::string Act(const ScenarioStep& step);
    std::string FindElement(const std::u16string& selector, browser::PageElement& found);
    std::string OpenPage(const std::u16string& address);
    // scenario_checks.cpp
    std::string Check(const ScenarioStep& step);
    std::string CheckMenu(const ScenarioStep& step) const;
    std::string CheckEffect(const ScenarioStep& step);
    std::string CheckFile(const ScenarioStep& step) const;
    std::string CheckAddress(const ScenarioStep& step) const;

    ScenarioScript m_script;
    std::size_t m_next = 0;  // index of the next line to read
    std::string m_journalPath;
    std::size_t m_journalCursor = 0;  // entries before it are matched or old
    ScriptedBackend* m_ui = nullptr;
    browser::BrowserWindow* m_window = nullptr;  // the current window
    std::string m_failure;
};
