// A backend that draws dialogs instead of showing them: each dialog is laid
// out as the Qt backend lays it out, after its initialisation (a control it
// hid is not drawn), saved as "dialog-ID.png" in a folder, checked for text
// that does not fit, and ended with IDCANCEL. Other modal UI is answered
// as cancelled. kestro-render-dialogs draws a library's dialogs with it,
// and a program started with KESTRO_RENDER_DIALOGS=FOLDER uses it for its
// whole run.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui_backend.h"

struct RenderedDialog {
    std::string path;
    bool saved = false;
    std::vector<std::string> textProblems;  // text_fit.h
};

using DialogRendered = std::function<void(const RenderedDialog&)>;

// Null when Qt cannot draw on this machine.
std::unique_ptr<UiBackend> CreateRenderingBackend(const std::string& folder,
                                                  DialogRendered rendered);

// The backend of a program run by kestro-render-dialogs: KESTRO_RENDER_DIALOGS
// names the folder; each picture's path goes to standard output and each
// text that does not fit to standard error. Null when the variable is unset.
std::unique_ptr<UiBackend> CreateProgramRenderingBackend();

// The picture's file name: "dialog-ID.png", or "dialog-NAME.png" for a
// template with a name, found by the dialog's template among the dialogs
// of its module.
std::string DialogPictureName(HINSTANCE module, LPCWSTR templateName);
std::string DialogPictureName(HWND dialog);
