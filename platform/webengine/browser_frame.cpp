#include "platform/webengine/browser_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QWebEngineView>

#include "platform/browser/browser_session.h"
#include "platform/ui/qt/qt_backend.h"
#include "platform/webengine/live_engine.h"
#include "platform/webengine/live_tab.h"

namespace webengine {

namespace {

constexpr int kTabTitleLength = 32;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

QString TabTitle(const QString& title) {
    if (title.isEmpty()) return QObject::tr("New Tab");
    return title.size() > kTabTitleLength ? title.left(kTabTitleLength - 1) + QChar(0x2026) : title;
}

}  // namespace

BrowserFrame::BrowserFrame(LiveEngine& engine) : m_engine(engine) {
    m_tabs = new QTabWidget(this);
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(true);
    m_tabs->setMovable(true);
    setCentralWidget(m_tabs);
    BuildToolBar();
    AddShortcuts();
    m_status = new QLabel(this);
    m_progress = new QProgressBar(this);
    m_progress->setMaximumWidth(120);
    m_progress->setMaximumHeight(14);
    m_progress->setTextVisible(false);
    m_progress->hide();
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_progress);
    resize(kWidth, kHeight);
    connect(m_tabs, &QTabWidget::currentChanged, this, &BrowserFrame::CurrentChanged);
    connect(m_tabs, &QTabWidget::tabCloseRequested, this, [this](int index) {
        if (browser::BrowserWindow* window = WindowOf(TabAt(index))) window->Close();
    });
    connect(&engine, &LiveEngine::TabOpened, this, &BrowserFrame::Adopt);
    engine.SetViewsPlacedByUi(true);
    ShowState();
}

BrowserFrame::~BrowserFrame() {
    m_engine.SetViewsPlacedByUi(false);
}

void BrowserFrame::BuildToolBar() {
    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setMovable(false);
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("Back"), this,
                            &BrowserFrame::Back);
    m_back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    m_forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("Forward"), this,
                               &BrowserFrame::Forward);
    m_forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    m_reload = bar->addAction(style()->standardIcon(QStyle::SP_BrowserReload), tr("Reload"), this,
                              &BrowserFrame::Reload);
    m_reload->setShortcut(QKeySequence(Qt::Key_F5));
    m_stop = bar->addAction(style()->standardIcon(QStyle::SP_BrowserStop), tr("Stop"), this,
                            &BrowserFrame::Stop);
    m_address = new QLineEdit(bar);
    m_address->setClearButtonEnabled(true);
    m_address->setPlaceholderText(tr("Address"));
    bar->addWidget(m_address);
    connect(m_address, &QLineEdit::returnPressed, this, &BrowserFrame::OpenTyped);
}

void BrowserFrame::AddShortcuts() {
    const auto add = [this](QKeySequence keys, void (BrowserFrame::*slot)()) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_L), &BrowserFrame::FocusAddress);
    add(QKeySequence(Qt::CTRL | Qt::Key_T), &BrowserFrame::NewTab);
    add(QKeySequence(Qt::CTRL | Qt::Key_W), &BrowserFrame::CloseCurrentTab);
}

LiveTab* BrowserFrame::TabAt(int index) const {
    QWidget* view = m_tabs->widget(index);
    for (LiveTab* tab : m_engine.Tabs())
        if (view && tab->View() == view) return tab;
    return nullptr;
}

LiveTab* BrowserFrame::CurrentTab() const {
    return TabAt(m_tabs->currentIndex());
}

int BrowserFrame::TabCount() const {
    return m_tabs->count();
}

QString BrowserFrame::StatusText() const {
    return m_status->text();
}

browser::BrowserWindow* BrowserFrame::WindowOf(LiveTab* tab) const {
    if (!tab || !tab->Browser()) return nullptr;
    return browser::BrowserSession::Instance().WindowOf(tab->Browser());
}

void BrowserFrame::Adopt(LiveTab* tab) {
    QWebEngineView* view = tab->View();
    const int index = m_tabs->addTab(view, TabTitle({}));
    // Add-ons' dialogs and message boxes are owned by the page's window.
    if (HWND page = tab->Browser() ? tab->Browser()->PageWindow() : nullptr)
        SetOwnerWidget(page, this);
    const auto ifCurrent = [this, view] {
        if (m_tabs->currentWidget() == view) ShowState();
    };
    connect(view, &QWebEngineView::titleChanged, this, [this, view](const QString& title) {
        const int at = m_tabs->indexOf(view);
        if (at < 0) return;
        m_tabs->setTabText(at, TabTitle(title));
        m_tabs->setTabToolTip(at, title);
        if (m_tabs->currentWidget() == view) ShowState();
    });
    connect(view, &QWebEngineView::urlChanged, this, ifCurrent);
    connect(view, &QWebEngineView::loadStarted, this, ifCurrent);
    connect(view, &QWebEngineView::loadFinished, this, ifCurrent);
    connect(view, &QWebEngineView::loadProgress, this, [this, view](int progress) {
        if (m_tabs->currentWidget() == view) m_progress->setValue(progress);
    });
    connect(tab->Page(), &QWebEnginePage::linkHovered, this, [this, view](const QString& url) {
        if (m_tabs->currentWidget() != view) return;
        if (url.isEmpty())
            ShowState();
        else
            m_status->setText(url);
    });
    connect(tab, &LiveTab::PageShown, this, ifCurrent);
    connect(tab, &LiveTab::Closed, this, &BrowserFrame::TabClosed);
    m_tabs->setCurrentIndex(index);
    ShowState();
}

void BrowserFrame::TabClosed(LiveTab* tab) {
    const int index = m_tabs->indexOf(tab->View());
    if (index >= 0) m_tabs->removeTab(index);
    if (m_tabs->count() > 0 || m_closing) return;
    emit Emptied();
    close();
}

void BrowserFrame::CurrentChanged() {
    if (LiveTab* tab = CurrentTab()) tab->View()->setFocus();
    m_address->setModified(false);
    ShowState();
}

void BrowserFrame::ShowState() {
    LiveTab* tab = CurrentTab();
    browser::WebBrowser* browser = tab ? tab->Browser() : nullptr;
    QWebEngineView* view = tab ? tab->View() : nullptr;
    const bool loading = view && view->page()->isLoading();
    m_back->setEnabled(browser && browser->CanGoBack());
    m_forward->setEnabled(browser && browser->CanGoForward());
    m_reload->setEnabled(browser != nullptr);
    m_stop->setEnabled(loading);
    m_progress->setVisible(loading);
    m_status->setText(loading ? tr("Loading %1").arg(view->url().toDisplayString()) : tr("Done"));
    // What the person is typing stays.
    if (!m_address->isModified()) {
        const QUrl url = view ? view->url() : QUrl();
        m_address->setText(url.isEmpty() || url.toString() == QStringLiteral("about:blank")
                               ? QString()
                               : url.toDisplayString());
    }
    const QString title = view ? view->title() : QString();
    setWindowTitle(title.isEmpty() ? tr("Kestro") : tr("%1 - Kestro").arg(title));
}

void BrowserFrame::NewTab() {
    browser::BrowserSession::Instance().OpenWindow(u"about:blank");
    FocusAddress();
}

void BrowserFrame::CloseCurrentTab() {
    if (browser::BrowserWindow* window = WindowOf(CurrentTab())) window->Close();
}

void BrowserFrame::Back() {
    if (LiveTab* tab = CurrentTab(); tab && tab->Browser()) {
        CComPtr<browser::WebBrowser> browser(tab->Browser());
        browser->GoBack();
    }
}

void BrowserFrame::Forward() {
    if (LiveTab* tab = CurrentTab(); tab && tab->Browser()) {
        CComPtr<browser::WebBrowser> browser(tab->Browser());
        browser->GoForward();
    }
}

void BrowserFrame::Reload() {
    if (LiveTab* tab = CurrentTab(); tab && tab->Browser()) {
        CComPtr<browser::WebBrowser> browser(tab->Browser());
        browser->Refresh();
    }
}

void BrowserFrame::Stop() {
    if (LiveTab* tab = CurrentTab()) tab->View()->stop();
}

void BrowserFrame::FocusAddress() {
    m_address->setFocus(Qt::ShortcutFocusReason);
    m_address->selectAll();
}

void BrowserFrame::OpenTyped() {
    browser::BrowserWindow* window = WindowOf(CurrentTab());
    const QString typed = m_address->text().trimmed();
    if (!window || typed.isEmpty()) return;
    m_address->setModified(false);
    CurrentTab()->View()->setFocus();
    window->Navigate(typed.toStdU16String());
}

void BrowserFrame::closeEvent(QCloseEvent* event) {
    // Each tab's add-ons hear OnQuit, as when its tab is closed.
    m_closing = true;
    while (m_tabs->count() > 0) {
        browser::BrowserWindow* window = WindowOf(TabAt(0));
        if (window) window->Close();
        if (m_tabs->count() > 0 && WindowOf(TabAt(0)) == window) m_tabs->removeTab(0);
    }
    event->accept();
}

}  // namespace webengine
