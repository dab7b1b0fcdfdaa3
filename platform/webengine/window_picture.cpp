#include "platform/webengine/window_picture.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace webengine {

namespace {

QString PlainLabel(QString text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) text.truncate(tab);
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

void CloseEveryPopup() {
    while (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        if (QApplication::activePopupWidget() == popup) break;
    }
}

}  // namespace

QImage WindowPicture(QWidget& window) {
    QImage picture = window.grab().toImage();
    QPainter painter(&picture);
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    // Submenus open after their parents: drawn in that order, as shown.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* menu = qobject_cast<QMenu*>(widget);
        if (!menu || !menu->isVisible()) continue;
        painter.drawPixmap(menu->mapToGlobal(QPoint(0, 0)) - origin, menu->grab());
    }
    return picture;
}

bool HasPainted(QWidget& view) {
    const QImage image = view.grab().toImage();
    if (image.isNull()) return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            if (image.pixel(x, y) != first) return true;
    return false;
}

MenuPathOpener::MenuPathOpener(QStringList path, Shown shown)
    : m_path(std::move(path)), m_shown(std::move(shown)) {
    qApp->installEventFilter(this);
}

MenuPathOpener::~MenuPathOpener() {
    qApp->removeEventFilter(this);
}

bool MenuPathOpener::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !m_done)
        if (auto* menu = qobject_cast<QMenu*>(watched))
            // Its items are filled while it shows; look once it is up.
            QTimer::singleShot(0, this, [this, menu = QPointer<QMenu>(menu)] {
                if (menu) MenuShown(menu);
            });
    return false;
}

void MenuPathOpener::MenuShown(QMenu* menu) {
    if (m_done) return;
    if (m_path.isEmpty()) return Finish(menu, {});
    const QString label = m_path.takeFirst();
    for (QAction* action : menu->actions()) {
        if (PlainLabel(action->text()) != label || !action->menu()) continue;
        menu->setActiveAction(action);  // shows its submenu at once
        return;
    }
    Finish(nullptr, "the menu has no submenu " + label.toStdString());
}

void MenuPathOpener::Finish(QMenu* last, const std::string& error) {
    m_done = true;
    m_shown(last, error);
    CloseEveryPopup();
}

}  // namespace webengine
