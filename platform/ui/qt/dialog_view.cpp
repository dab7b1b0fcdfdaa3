#include "platform/ui/qt/dialog_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include "platform/ui/dialog.h"
#include "platform/ui/qt/dialog_font.h"
#include "platform/ui/qt/text_fit.h"
#include "platform/ui/user_acts.h"
#include "platform/ui/window.h"

DialogView::DialogView(HWND dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {
    setModal(true);
    Build();
}

DialogView::~DialogView() {
    // The widgets go first, so no signal reaches a control that is gone.
    for (auto& [handle, control] : m_controls) delete control->widget();
}

void DialogView::Build() {
    const DialogSnapshot snapshot = SnapshotDialog(m_dialog);
    const QFont font = DialogFont(snapshot.font, snapshot.pointSize);
    setFont(font);
    setWindowTitle(QString::fromStdU16String(snapshot.title));
    setFixedSize(ToPixels({0, 0, snapshot.dialogUnits.cx, snapshot.dialogUnits.cy}).size());
    ControlContext context;
    context.dialog = m_dialog;
    context.module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_dialog, GWLP_HINSTANCE));
    context.parent = this;
    context.run = [this](HWND control, const std::function<std::string()>& act) {
        RunAct(control, act);
    };
    for (const ControlSnapshot& control : snapshot.controls) {
        std::unique_ptr<ControlWidget> widget = MakeControlWidget(control, context);
        QRect place = ToPixels(control.dialogUnits);
        // A drop-down list's template height includes the open list.
        if (qobject_cast<QComboBox*>(widget->widget()))
            place.setHeight(std::min(place.height(), widget->widget()->sizeHint().height()));
        widget->widget()->setGeometry(place);
        m_controls[control.handle] = std::move(widget);
    }
    ShowControls(snapshot);
    if (FitTextToControls()) ShowControls(snapshot);
    if (const HWND focus = GetFocus(); m_controls.count(focus))
        m_controls[focus]->widget()->setFocus();
}

void DialogView::ShowControls(const DialogSnapshot& snapshot) {
    m_showing = true;
    for (const ControlSnapshot& control : snapshot.controls) ShowWindowState(control.handle);
    m_showing = false;
}

// The layout was made for the face the template names. Its substitute has
// the same average letter, so the dialog units match, but its narrow
// letters and blanks are wider: a text sized to the last pixel in the named
// face can need more room than its control has. Only the text then shrinks,
// a pixel at a time and at most by a quarter; the layout stays.
bool DialogView::FitTextToControls() {
    QFont text = font();
    const int size = text.pixelSize();
    bool shrunk = false;
    for (int smaller = size - 1; smaller >= size * 3 / 4 && !EveryTextHasRoom(*this); --smaller) {
        text.setPixelSize(smaller);
        setFont(text);
        shrunk = true;
    }
    return shrunk;
}

QRect DialogView::ToPixels(RECT dialogUnits) const {
    // The model's own scale, so that GetClientRect agrees with the widgets.
    MapDialogRect(m_dialog, &dialogUnits);
    return QRect(dialogUnits.left, dialogUnits.top, dialogUnits.right, dialogUnits.bottom);
}

QWidget* DialogView::ControlWidgetOf(int id) const {
    return ControlWidgetOf(GetDlgItem(m_dialog, id));
}

QWidget* DialogView::ControlWidgetOf(HWND control) const {
    auto found = m_controls.find(control);
    return found == m_controls.end() ? nullptr : found->second->widget();
}

void DialogView::Place() {
    const DialogSnapshot snapshot = SnapshotDialog(m_dialog);
    if (!snapshot.centred) return;  // the window system places it
    QRect area;
    if (parentWidget())
        area = parentWidget()->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid()) move(area.center() - rect().center());
}

bool DialogView::WindowChanged(HWND window) {
    if (window != m_dialog && !m_controls.count(window)) return false;
    if (m_showing) return true;  // reading a control's state is no change
    m_changed.insert(window);
    if (m_actDepth > 0) return true;  // shown when the act returns
    if (!m_showScheduled) {
        m_showScheduled = true;
        QTimer::singleShot(0, this, [this] {
            m_showScheduled = false;
            ShowChanges();
        });
    }
    return true;
}

void DialogView::WindowDestroyed(HWND window) {
    m_changed.erase(window);
    auto found = m_controls.find(window);
    if (found == m_controls.end()) return;
    found->second->widget()->hide();
}

void DialogView::ShowChanges() {
    m_showing = true;
    while (!m_changed.empty()) {
        const HWND window = *m_changed.begin();
        m_changed.erase(m_changed.begin());
        ShowWindowState(window);
    }
    m_showing = false;
    CloseIfEnded();
}

void DialogView::ShowWindowState(HWND window) {
    if (!IsWindow(window)) return;
    if (window == m_dialog) {
        setWindowTitle(QString::fromStdU16String(SnapshotDialog(m_dialog).title));
        setEnabled(IsWindowEnabled(m_dialog));
        return;
    }
    auto found = m_controls.find(window);
    if (found == m_controls.end()) return;
    const ControlSnapshot control = SnapshotControl(window);
    QWidget* widget = found->second->widget();
    found->second->Show(control);
    widget->setEnabled(control.enabled);
    widget->setVisible(control.visible);
}

void DialogView::RunAct(HWND control, const std::function<std::string()>& act) {
    ++m_actDepth;
    const std::string error = act();
    --m_actDepth;
    // A refused act leaves the control as the model has it.
    if (!error.empty() && IsWindow(control)) m_changed.insert(control);
    if (m_actDepth == 0) ShowChanges();
}

void DialogView::CloseIfEnded() {
    if (IsDialogEnded(m_dialog) && isVisible()) done(0);
}

void DialogView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter && event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
    RunAct(nullptr, [this, enter] {
        PressDialogKey(m_dialog, enter ? DialogKey::Enter : DialogKey::Escape);
        return std::string();
    });
}

void DialogView::closeEvent(QCloseEvent* event) {
    if (IsDialogEnded(m_dialog)) {
        event->accept();
        return;
    }
    event->ignore();
    reject();
}

void DialogView::reject() {
    // The close box asks the model, which sends IDCANCEL; the handlers decide.
    RunAct(nullptr, [this] {
        SendMessageW(m_dialog, WM_CLOSE, 0, 0);
        return std::string();
    });
}
