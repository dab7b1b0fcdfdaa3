#include "platform/ui/qt/qt_backend.h"

#include <QApplication>
#include <map>
#include <vector>

#include "platform/ui/qt/dialog_font.h"
#include "platform/ui/qt/dialog_view.h"
#include "platform/ui/qt/popup_menu.h"
#include "platform/ui/qt/qt_application.h"
#include "platform/ui/qt/standard_dialogs.h"
#include "platform/ui/window.h"

namespace {

class QtBackend final : public UiBackend {
public:
    void RunModalDialog(HWND dialog) override {
        DialogView view(dialog, ViewOf(GetWindow(dialog, GW_OWNER)));
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

    // The owner's dialog when it is one of ours, else the innermost dialog.
    QWidget* ParentFor(HWND owner) const {
        if (DialogView* view = ViewOf(owner)) return view;
        return m_views.empty() ? nullptr : m_views.back();
    }

    std::vector<DialogView*> m_views;
    std::map<std::pair<std::u16string, WORD>, SIZE> m_baseUnits;
};

}  // namespace

std::unique_ptr<UiBackend> CreateQtBackend() {
    if (!EnsureQtApplication(QtPlatformNeed::Display)) return nullptr;
    return std::make_unique<QtBackend>();
}

void InstallQtBackendFactory() {
    SetOnScreenBackendFactory(CreateQtBackend);
}
