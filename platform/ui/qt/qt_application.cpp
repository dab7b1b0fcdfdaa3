#include "platform/ui/qt/qt_application.h"

#include <QApplication>
#include <cstdlib>
#include <utility>

namespace {

QApplication* g_made = nullptr;  // the application made here, until ended
bool g_ended = false;

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
    if (QCoreApplication::instance() || g_ended) return nullptr;  // not ours, or over
    const bool offScreen = !HasQtPlatform();
    if (offScreen && need == QtPlatformNeed::Display) return nullptr;
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = offScreen ? 3 : 1;
    static char name[] = "kestro";
    static char platformSwitch[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {name, platformSwitch, offscreen, nullptr};
    g_made = new QApplication(argc, argv);     // lives until EndQtApplication
    g_made->setQuitOnLastWindowClosed(false);  // modal loops end themselves
    return g_made;
}

void EndQtApplication() {
    if (!g_made) return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete std::exchange(g_made, nullptr);
    g_ended = true;
}
