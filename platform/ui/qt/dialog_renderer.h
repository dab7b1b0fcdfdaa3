// Renders a module's dialogs to PNG images without showing them, for
// reviewing layouts. Each dialog is built from its template by the dialog
// manager with no procedure, so controls show what the template holds.
#pragma once

#include <string>
#include <vector>

#include "platform/win/win_types.h"

// One PNG per dialog template of the module (null: the program) in
// `folder`, named "dialog-ID.png" (or the template's name). Returns the
// paths written, in table order; on failure, what went wrong in `error`
// (the files already written stay). When textProblems is given, it
// receives the texts that do not fit (text_fit.h), each after its file's
// path.
std::vector<std::string> RenderModuleDialogs(HMODULE module, const std::string& folder,
                                             std::string& error,
                                             std::vector<std::string>* textProblems = nullptr);
