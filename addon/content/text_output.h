// Where extracted text goes: a file the user chooses, or the user's text
// editor. Every outcome is shown to the user; nothing is returned.
#pragma once

#include <string>

class CEditHtml;

// Asks where and how to save (the Save text file dialog), then creates,
// overwrites or appends to the file in the ANSI code page or UTF-16, and
// opens it in the editor when "Show Saved File" is on. The settings are
// read before the dialog and written back after a save.
void SaveTextToFile(CEditHtml& addOn, const std::u16string& text);

// Writes the text into a new private temporary ".txt" file and opens it in
// the user's text editor.
void ShowTextInNotepad(CEditHtml& addOn, const std::u16string& text);

// The parameters that hand a file to the editor: the path as one argument,
// blanks and all.
std::u16string EditorArgument(const std::u16string& path);
