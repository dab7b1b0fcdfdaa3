#include "platform/ui/qt/qt_application.h"

#include <QApplication>
#include <cstdlib>

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

bool HasQtPlatform() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

QApplication* EnsureQtApplication(QtPlatformNeed need) {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // Made off screen for printing: no use for windows a person must see.
        const bool unseen = !HasQtPlatform() && QGuiApplication::platformName() == "offscreen";
        return unseen && need == QtPlatformNeed::Display ? nullptr : existing;
    }
    if (QCoreApplication::instance()) return nullptr;  // a non-widget application owns Qt
    const bool offScreen = !HasQtPlatform();
    if (offScreen && need == QtPlatformNeed::Display) return nullptr;
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = offScreen ? 3 : 1;
    static char name[] = "kestro";
    static char platformSwitch[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {name, platformSwitch, offscreen, nullptr};
    static QApplication* application = [] {
        auto* made = new QApplication(argc, argv);  // lives until the process ends
        made->setQuitOnLastWindowClosed(false);     // modal loops end themselves
        return made;
    }();
    return application;
}
