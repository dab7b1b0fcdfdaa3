// The process's QApplication, created on first need.
#pragma once

class QApplication;

enum class QtPlatformNeed {
    Display,     // windows a person sees: fails without a display
    OffScreenOk  // drawing only (printing): off screen when there is no display
};

// The application (made here when the program has none), or null when Qt
// cannot start on this machine for the need.
QApplication* EnsureQtApplication(QtPlatformNeed need);
// Ends the application made here, once its windows are gone. A program
// that ran a web engine calls it before it exits: the engine shuts its
// threads down with the application, and left running they would still use
// Qt while the process's statics are destroyed. Qt is not started again.
void EndQtApplication();
// Whether a display (X11 or Wayland) or an explicit Qt platform is set.
bool HasQtPlatform();
