// Drives Qt's modal loops in tests: steps queued before the modal call run
// from timers inside the loop, each once the thing it acts on is showing.
#pragma once

#include <QWidget>
#include <deque>
#include <functional>
#include <string>

class DialogView;
class QMenu;
class QMessageBox;

namespace ui_testing {

class UiDriver {
public:
    UiDriver();
    ~UiDriver();

    // Queues a step: `act` runs once `ready` holds.
    void Then(std::function<bool()> ready, std::function<void()> act);
    // Polls from the event loop; call before the modal call.
    void Start();
    bool Finished() const { return m_steps.empty(); }
    // Set when a step never became ready; the modal UI was closed then.
    const std::string& Failure() const { return m_failure; }

private:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    void Poll();
    void Schedule();
    void GiveUp();

    std::deque<Step> m_steps;
    int m_polls = 0;
    std::string m_failure;
    QObject m_context;  // timers die with the driver
};

// What is showing now, or null.
DialogView* ShownDialog();
QMessageBox* ShownMessageBox();
QMenu* ShownMenu();

// A widget of the shown dialog, by control id and type.
template <typename W>
W* DialogWidget(int id);

}  // namespace ui_testing

#include "platform/ui/qt/dialog_view.h"

template <typename W>
W* ui_testing::DialogWidget(int id) {
    DialogView* view = ShownDialog();
    return view ? qobject_cast<W*>(view->ControlWidgetOf(id)) : nullptr;
}
