#include "platform/ui/qt/rendering_backend.h"

#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt/dialog_font.h"
#include "platform/ui/qt/dialog_view.h"
#include "platform/ui/qt/qt_application.h"
#include "platform/ui/qt/text_fit.h"
#include "platform/ui/window.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"

namespace {

class RenderingBackend final : public UiBackend {
public:
    RenderingBackend(std::string folder, DialogRendered rendered)
        : m_folder(std::move(folder)), m_rendered(std::move(rendered)) {}

    void RunModalDialog(HWND dialog) override {
        RenderedDialog result;
        result.path = m_folder + "/" + DialogPictureName(dialog);
        {
            DialogView view(dialog, nullptr);
            view.setAttribute(Qt::WA_DontShowOnScreen);
            view.show();
            result.saved = view.grab().save(QString::fromStdString(result.path), "PNG");
            result.textProblems = TextThatDoesNotFit(view);
        }
        EndDialog(dialog, IDCANCEL);
        m_rendered(result);
    }
    UINT TrackPopupMenu(HMENU, HWND, POINT) override { return 0; }
    int ShowMessageBox(const MessageBoxRequest& request) override {
        switch (request.type & MB_TYPEMASK) {
            case MB_OK:
                return IDOK;
            case MB_YESNO:
                return IDNO;
            default:
                return IDCANCEL;
        }
    }
    bool ChooseFile(const FileChooserRequest&, std::u16string&) override { return false; }
    bool ChooseFolder(const FolderChooserRequest&, std::u16string&) override { return false; }
    bool ConfirmPrint(const std::u16string&) override { return false; }
    SIZE DialogBaseUnits(const std::u16string& font, WORD pointSize) override {
        return DialogBaseUnitsOf(DialogFont(font, pointSize));
    }

private:
    std::string m_folder;
    DialogRendered m_rendered;
};

BOOL FindTemplateName(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* sought = reinterpret_cast<std::pair<const DialogTemplate*, std::string>*>(param);
    if (LoadDialogTemplate(module, name) != sought->first) return TRUE;
    sought->second = DialogPictureName(module, name);
    return FALSE;
}

// Every picture is announced; a failed one also ends the program's run
// with a failure, as nothing sensible can follow it.
void ReportToStandardStreams(const RenderedDialog& rendered) {
    if (!rendered.saved) {
        std::fprintf(stderr, "kestro-render-dialogs: cannot write %s\n", rendered.path.c_str());
        std::fflush(stdout);
        std::_Exit(1);
    }
    std::printf("%s\n", rendered.path.c_str());
    for (const std::string& problem : rendered.textProblems)
        std::fprintf(stderr, "%s: %s\n", rendered.path.c_str(), problem.c_str());
    std::fflush(stdout);
}

}  // namespace

std::unique_ptr<UiBackend> CreateRenderingBackend(const std::string& folder,
                                                  DialogRendered rendered) {
    if (!EnsureQtApplication(QtPlatformNeed::OffScreenOk)) return nullptr;
    return std::make_unique<RenderingBackend>(folder, std::move(rendered));
}

std::unique_ptr<UiBackend> CreateProgramRenderingBackend() {
    const char* folder = std::getenv("KESTRO_RENDER_DIALOGS");
    if (!folder || !*folder) return nullptr;
    return CreateRenderingBackend(folder, ReportToStandardStreams);
}

std::string DialogPictureName(HINSTANCE, LPCWSTR templateName) {
    if (IS_INTRESOURCE(templateName)) {
        const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(templateName));
        return "dialog-" + std::to_string(id) + ".png";
    }
    std::string safe;
    for (char c : Utf16ToUtf8(templateName)) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        safe += plain || c == '-' || c == '_' ? c : '_';
    }
    return "dialog-" + safe + ".png";
}

std::string DialogPictureName(HWND dialog) {
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    std::pair<const DialogTemplate*, std::string> sought{SnapshotDialog(dialog).source, ""};
    EnumResourceNamesW(module, RT_DIALOG, FindTemplateName, reinterpret_cast<LONG_PTR>(&sought));
    return sought.second.empty() ? "dialog.png" : sought.second;
}
