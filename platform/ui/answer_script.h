// The text of scenario script lines and of their answer steps. One line is
// one step; words are separated by blanks; a word in double quotes may hold
// blanks, and inside quotes \n, \r, \t, \" and \\ stand for a line feed, a
// carriage return, a tab, a quotation mark and a backslash (any other
// backslash stands for itself). A line starting with # is a comment.
//
// Answer steps (what a person does to the modal UI that a step opened):
//   menu LABEL>LABEL...   choose an item by its labels; menu - dismisses
//   dialog "TITLE"        the dialog that must be open; then, until it
//                         closes: set ID TEXT, tick ID, untick ID,
//                         pick ID TEXT, slide ID N, row ID N,
//                         dblrow ID N (-1: below the rows), press ID
//                         (set types into an edit or a combo box's edit
//                         part, leaving no item selected; pick chooses a
//                         combo box or list box item by its exact text),
//                         escape (the Escape key: closes the dialog as
//                         its Cancel does)
//   message "TITLE" "TEXT" BUTTON   BUTTON: OK, Yes, No or Cancel
//   file PATH             a file or folder chooser; file - cancels. A
//                         message the file chooser shows about PATH
//                         (file_chooser.h) is answered by the next line,
//                         and the chooser then takes the next file line
//                         unless the message accepted PATH
//   print ok              a print dialog; print - cancels
// Rows are item indexes from 0. A last argument (TEXT, PATH, the menu
// path, the dialog title) may also be written unquoted: it is then the
// rest of the line.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/user_acts.h"

struct ScriptWord {
    std::u16string text;  // quotes removed, escapes decoded
    bool quoted = false;
    std::size_t begin = 0;  // position in the line
    std::size_t end = 0;
};

struct ScriptLine {
    std::u16string text;
    std::vector<ScriptWord> words;  // empty for blank and comment lines
    // Word `first` when it is the last one, else the raw rest of the line
    // from it, trimmed.
    std::u16string RestFrom(std::size_t first) const;
};

// False with a reason for an unterminated quote or text stuck to a
// closing quote.
bool SplitScriptLine(std::u16string_view line, ScriptLine& split, std::string& error);
// The text written as a quoted script word.
std::string QuoteForScript(std::u16string_view text);
// "File>Save As..." into its labels ("File", "Save As...").
std::vector<std::u16string> SplitMenuPath(const std::u16string& path);

enum class AnswerKind {
    Menu,
    Dialog,
    Set,
    Tick,
    Untick,
    Pick,
    Slide,
    Row,
    DoubleClickRow,
    Press,
    Key,  // escape; Enter from the C++ interface only
    Message,
    File,
    Print,
};

struct AnswerStep {
    AnswerKind kind = AnswerKind::Menu;
    std::vector<std::u16string> menuPath;  // empty: dismiss
    std::u16string title;                  // dialog, message
    std::u16string text;                   // set, pick, message text, file path
    int id = 0;                            // control id
    int number = 0;                        // slide position, row
    int button = 0;                        // message: IDOK, IDYES, IDNO, IDCANCEL
    bool cancel = false;                   // file -, print -
    DialogKey key = DialogKey::Enter;
    int lineNumber = 0;
    std::u16string line;  // as written, for messages
};

// Answer steps that act on an open dialog.
bool IsDialogControlStep(AnswerKind kind);
// Whether the line's first word starts an answer step.
bool IsAnswerLine(const ScriptLine& line);
// Parses an answer step; false with a reason when it is malformed.
bool ParseAnswerStep(const ScriptLine& line, AnswerStep& step, std::string& error);
// One text line to a step (for tests and answer files).
bool ParseAnswerText(std::u16string_view text, AnswerStep& step, std::string& error);
// How a step reads in a message.
std::string DescribeAnswer(const AnswerStep& step);
