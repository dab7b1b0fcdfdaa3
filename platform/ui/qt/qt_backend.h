// The on-screen UI backend: Qt 6 Widgets. Dialogs become modal QDialogs laid
// out from their templates, menus QMenus, message boxes QMessageBoxes and
// the choosers Qt's file dialogs. The model stays the truth; the widgets
// only show it and turn what the user does into the dialog's messages.
#pragma once

#include <memory>

#include "platform/ui/ui_backend.h"

class QWidget;

// Registers the Qt backend as the program's on-screen backend (used when no
// KESTRO_UI_SCRIPT is set). Call once from main before any UI is shown. The
// QApplication is created on first use; without a display the program says
// so and exits with the "no UI" status. With KESTRO_RENDER_DIALOGS set the
// program draws its dialogs into that folder instead (rendering_backend.h).
void InstallQtBackendFactory();

// The Qt backend itself, creating the QApplication when there is none.
// Null when Qt has no platform to show windows on (no display).
std::unique_ptr<UiBackend> CreateQtBackend();

// A window of the model shown inside a widget of the program's own (a
// browser window's page): dialogs, message boxes and choosers it owns
// are placed over that widget. Null forgets the window, as the widget's
// destruction does.
void SetOwnerWidget(HWND window, QWidget* widget);
