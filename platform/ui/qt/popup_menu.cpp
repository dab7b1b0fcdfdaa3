#include "platform/ui/qt/popup_menu.h"

#include <QMenu>
#include <QPointer>
#include <memory>

#include "platform/ui/menu.h"

namespace {

class PopupMenu {
public:
    explicit PopupMenu(HWND owner) : m_owner(owner) {}

    UINT Run(HMENU menu, POINT point) {
        QMenu top;
        Prepare(&top, menu, 0);
        top.exec(QPoint(point.x, point.y));
        return m_chosen;
    }

private:
    // The QMenu is filled from the model each time it is about to show.
    void Prepare(QMenu* shown, HMENU menu, UINT position) {
        QObject::connect(shown, &QMenu::aboutToShow, [this, shown, menu, position] {
            SendInitMenuPopup(m_owner, menu, position);
            Fill(shown, menu);
        });
        QObject::connect(shown, &QMenu::triggered, [this](QAction* action) { Choose(action); });
    }

    void Fill(QMenu* shown, HMENU menu) {
        shown->clear();  // deletes the actions and submenus made for it
        const std::vector<MenuItemSnapshot> items = SnapshotMenu(menu);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const MenuItemSnapshot& item = items[i];
            if (item.separator) {
                shown->addSeparator();
            } else if (item.popup) {
                QMenu* submenu = new QMenu(QString::fromStdU16String(item.label), shown);
                submenu->setEnabled(item.enabled);
                shown->addMenu(submenu);
                Prepare(submenu, GetSubMenu(menu, static_cast<int>(i)), static_cast<UINT>(i));
            } else {
                QAction* action = shown->addAction(QString::fromStdU16String(item.label));
                action->setData(item.id);
                action->setEnabled(item.enabled);
                action->setCheckable(item.checked);
                action->setChecked(item.checked);
            }
        }
    }

    void Choose(QAction* action) {
        if (m_done || !action || !action->isEnabled()) return;
        m_done = true;
        m_chosen = action->data().toUInt();
        // Close the whole chain, down to the menu that exec waits on.
        for (auto* open = qobject_cast<QMenu*>(action->parent()); open;
             open = qobject_cast<QMenu*>(open->parent())) {
            open->close();
        }
    }

    HWND m_owner;
    UINT m_chosen = 0;
    bool m_done = false;
};

}  // namespace

UINT RunPopupMenu(HMENU menu, HWND owner, POINT point) {
    if (!IsMenu(menu)) return 0;
    PopupMenu popup(owner);
    return popup.Run(menu, point);
}
