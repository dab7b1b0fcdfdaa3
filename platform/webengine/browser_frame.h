// The browser window on screen: the live engine's tabs, an address bar,
// back, forward, reload and stop, a status line, and the keys a person
// expects (Ctrl+L the address, Ctrl+T a new tab, Ctrl+W close the tab, F5
// reload, Alt+Left back, Alt+Right forward, Escape stop). Each tab is a
// browser window of the session with its own add-ons; what the window's
// controls do goes through the tab's browser object, so add-ons hear of
// it as of a page's own navigation. Dialogs and message boxes of the
// add-ons open over this window: it owns its tabs' page windows.
#pragma once

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTabWidget;

namespace browser {
class BrowserWindow;
}

namespace webengine {

class LiveEngine;
class LiveTab;

class BrowserFrame final : public QMainWindow {
    Q_OBJECT
public:
    // Takes every tab the engine opens from now on.
    explicit BrowserFrame(LiveEngine& engine);
    ~BrowserFrame() override;

    void Adopt(LiveTab* tab);
    LiveTab* CurrentTab() const;
    int TabCount() const;
    QLineEdit* AddressBar() const { return m_address; }
    QString StatusText() const;

    // What the controls and keys do.
    void NewTab();
    void CloseCurrentTab();
    void Back();
    void Forward();
    void Reload();
    void Stop();
    void FocusAddress();
    // Opens the address bar's text in the current tab (as typed: a name
    // without a scheme gets http://).
    void OpenTyped();

signals:
    // The last tab closed; the window closes with it.
    void Emptied();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildToolBar();
    void AddShortcuts();
    void TabClosed(LiveTab* tab);
    void CurrentChanged();
    // Enables the controls and shows the address and title of the tab.
    void ShowState();
    browser::BrowserWindow* WindowOf(LiveTab* tab) const;
    LiveTab* TabAt(int index) const;

    LiveEngine& m_engine;
    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_address = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_reload = nullptr;
    QAction* m_stop = nullptr;
    bool m_closing = false;
};

}  // namespace webengine
