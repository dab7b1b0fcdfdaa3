// Pictures of the browser window as a person sees it, for screenshots:
// the window with the popup menus open over it, and a way to open a
// context menu's submenus by their labels while its menu runs.
#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>
#include <functional>
#include <string>

class QMenu;
class QWidget;

namespace webengine {

// The window and, drawn over it where they are on the screen, the popup
// menus shown.
QImage WindowPicture(QWidget& window);
// Whether the widget shows more than one flat colour (Chromium has
// painted the page into it).
bool HasPainted(QWidget& view);

// While installed, each popup menu that shows opens the item of the next
// label (menu labels without their & marks); when the last menu of the
// path is shown, `shown` runs with it (or with an error when an item is
// missing), then every popup closes, so the menu's caller goes on.
class MenuPathOpener final : public QObject {
public:
    using Shown = std::function<void(QMenu* last, const std::string& error)>;
    MenuPathOpener(QStringList path, Shown shown);
    ~MenuPathOpener() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MenuShown(QMenu* menu);
    void Finish(QMenu* last, const std::string& error);

    QStringList m_path;
    Shown m_shown;
    bool m_done = false;
};

}  // namespace webengine
