// A dialog of the model on screen: a modal QDialog with every control at
// its absolute place, kept in step with the model. What the user does goes
// to the model as user acts, so the dialog's own handlers run; the QDialog
// closes when the model's dialog has ended.
#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <set>

#include "platform/ui/qt/control_widgets.h"

class DialogView final : public QDialog {
public:
    DialogView(HWND dialog, QWidget* parent);
    ~DialogView() override;

    HWND handle() const { return m_dialog; }
    // The widget of a control of this dialog, or null.
    QWidget* ControlWidgetOf(int id) const;
    QWidget* ControlWidgetOf(HWND control) const;
    // Places the dialog: centred on its owner or the screen when the model
    // asks for it.
    void Place();
    // The window (the dialog or one of its controls) changed; its widget is
    // brought in step at once during a user act, otherwise soon after.
    // False when the window is not part of this dialog.
    bool WindowChanged(HWND window);
    void WindowDestroyed(HWND window);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void Build();
    void ShowControls(const DialogSnapshot& snapshot);
    // Shrinks the text of the controls until each has room; true when it
    // did.
    bool FitTextToControls();
    // x, y, width, height in dialog units to pixels.
    QRect ToPixels(RECT dialogUnits) const;
    void RunAct(HWND control, const std::function<std::string()>& act);
    void ShowChanges();
    void ShowWindowState(HWND window);
    void CloseIfEnded();

    HWND m_dialog;
    std::map<HWND, std::unique_ptr<ControlWidget>> m_controls;
    std::set<HWND> m_changed;
    bool m_showScheduled = false;
    bool m_showing = false;
    int m_actDepth = 0;
};
