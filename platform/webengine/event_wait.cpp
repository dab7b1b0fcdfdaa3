#include "platform/webengine/event_wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace webengine {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    // Wakes the wait at the limit when no event comes.
    QTimer deadline;
    deadline.setSingleShot(true);
    while (!done()) {
        const qint64 left = limit.count() - clock.elapsed();
        if (left <= 0) return false;
        deadline.start(static_cast<int>(left));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

}  // namespace webengine
