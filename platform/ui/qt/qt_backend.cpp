#include "platform/ui/qt/qt_backend.h"

#include <QApplication>
#include <QPointer>
#include <map>
#include <vector>

#include "platform/ui/qt/dialog_font.h"
#include "platform/ui/qt/dialog_view.h"
#include "platform/ui/qt/popup_menu.h"
#include "platform/ui/qt/qt_application.h"
#include "platform/ui/qt/rendering_backend.h"
#include "platform/ui/qt/standard_dialogs.h"
#include "platform/ui/window.h"

namespace {

std::map<HWND, QPointer<QWidget>>& OwnerWidgets() {
    static std::map<HWND, QPointer<QWidget>> widgets;
    return widgets;
}

// The widget registered for a window or the nearest window above it.
QWidget* OwnerWidget(HWND window) {
    for (HWND w = window; w; w = GetParent(w)) {
        const auto found = OwnerWidgets().find(w);
        if (found != OwnerWidgets().end() && found->second) return found->second;
    }
    return nullptr;
}

class QtBackend final : public UiBackend {
public:
    void RunModalDialog(HWND dialog) override {
        const HWND owner = GetWindow(dialog, GW_OWNER);
        QWidget* parent = ViewOf(owner);
        DialogView view(dialog, parent ? parent : OwnerWidget(owner));
        m_views.push_back(&view);
        view.Place();
        view.exec();
        m_views.pop_back();
    }

    UINT TrackPopupMenu(HMENU menu, HWND owner, POINT point) override {
        return RunPopupMenu(menu, owner, point);
    }

    int ShowMessageBox(const MessageBoxRequest& request) override {
        return RunMessageBox(request, ParentFor(request.owner));
    }

    bool ChooseFile(const FileChooserRequest& request, std::u16string& path) override {
        return RunFileChooser(request, ParentFor(request.owner), path);
    }

    bool ChooseFolder(const FolderChooserRequest& request, std::u16string& path) override {
        return RunFolderChooser(request, ParentFor(request.owner), path);
    }

    bool ConfirmPrint(const std::u16string& documentTitle) override {
        return RunPrintConfirmation(documentTitle, ParentFor(nullptr));
    }

    void Beep() override { QApplication::beep(); }

    SIZE DialogBaseUnits(const std::u16string& font, WORD pointSize) override {
        const std::pair<std::u16string, WORD> key{font, pointSize};
        auto found = m_baseUnits.find(key);
        if (found == m_baseUnits.end())
            found = m_baseUnits.emplace(key, DialogBaseUnitsOf(DialogFont(font, pointSize))).first;
        return found->second;
    }

    void WindowChanged(HWND window) override {
        for (auto it = m_views.rbegin(); it != m_views.rend(); ++it) {
            if ((*it)->WindowChanged(window)) return;
        }
    }

    void WindowDestroyed(HWND window) override {
        for (DialogView* view : m_views) view->WindowDestroyed(window);
    }

private:
    DialogView* ViewOf(HWND window) const {
        for (DialogView* view : m_views) {
            if (view->handle() == window) return view;
        }
        return nullptr;
    }

    // The owner's dialog when it is one of ours, else the innermost dialog,
    // else the owner's widget.
    QWidget* ParentFor(HWND owner) const {
        if (DialogView* view = ViewOf(owner)) return view;
        return m_views.empty() ? OwnerWidget(owner) : m_views.back();
    }

    std::vector<DialogView*> m_views;
    std::map<std::pair<std::u16string, WORD>, SIZE> m_baseUnits;
};

}  // namespace

std::unique_ptr<UiBackend> CreateQtBackend() {
    if (!EnsureQtApplication(QtPlatformNeed::Display)) return nullptr;
    return std::make_unique<QtBackend>();
}

void SetOwnerWidget(HWND window, QWidget* widget) {
    if (widget)
        OwnerWidgets()[window] = widget;
    else
        OwnerWidgets().erase(window);
}

namespace {

// Run by kestro-render-dialogs, a program draws its dialogs instead.
std::unique_ptr<UiBackend> CreateProgramBackend() {
    if (std::unique_ptr<UiBackend> rendering = CreateProgramRenderingBackend()) return rendering;
    return CreateQtBackend();
}

}  // namespace

void InstallQtBackendFactory() {
    SetOnScreenBackendFactory(CreateProgramBackend);
}
