#include "tests/platform/ui/qt/ui_driver.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>

namespace {

// Tests never need a display.
const bool kOffScreen = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}();

constexpr int kPollMilliseconds = 5;
constexpr int kMaxPolls = 6000;  // a step that never becomes ready fails the test

}  // namespace

namespace ui_testing {

UiDriver::UiDriver() = default;
UiDriver::~UiDriver() = default;

void UiDriver::Then(std::function<bool()> ready, std::function<void()> act) {
    m_steps.push_back({std::move(ready), std::move(act)});
}

void UiDriver::Start() {
    Schedule();
}

void UiDriver::Schedule() {
    // A new timer each time: the step that runs may itself open a modal
    // loop, and the next step must still be polled inside it.
    QTimer::singleShot(kPollMilliseconds, &m_context, [this] { Poll(); });
}

void UiDriver::Poll() {
    if (m_steps.empty()) return;
    if (++m_polls > kMaxPolls) {
        GiveUp();
        return;
    }
    if (!m_steps.front().ready()) {
        Schedule();
        return;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    m_polls = 0;
    Schedule();
    step.act();
}

void UiDriver::GiveUp() {
    m_failure = "a step waited for UI that never showed; " + std::to_string(m_steps.size()) +
                " step(s) left";
    m_steps.clear();
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
}

DialogView* ShownDialog() {
    return dynamic_cast<DialogView*>(QApplication::activeModalWidget());
}

QMessageBox* ShownMessageBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

QMenu* ShownMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

}  // namespace ui_testing
