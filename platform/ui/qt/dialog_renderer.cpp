#include "platform/ui/qt/dialog_renderer.h"

#include <QApplication>
#include <QPixmap>
#include <variant>

#include "platform/ui/dialog.h"
#include "platform/ui/qt/dialog_font.h"
#include "platform/ui/qt/dialog_view.h"
#include "platform/ui/qt/qt_application.h"
#include "platform/win/last_error.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"

namespace {

// Builds each dialog as the Qt backend would, saves its picture and ends it.
class RenderingBackend final : public UiBackend {
public:
    explicit RenderingBackend(std::string path) : m_path(std::move(path)) {}

    void RunModalDialog(HWND dialog) override {
        {
            DialogView view(dialog, nullptr);
            view.setAttribute(Qt::WA_DontShowOnScreen);
            view.show();
            m_saved = view.grab().save(QString::fromStdString(m_path), "PNG");
        }
        EndDialog(dialog, IDCANCEL);
    }
    UINT TrackPopupMenu(HMENU, HWND, POINT) override { return 0; }
    int ShowMessageBox(const MessageBoxRequest&) override { return 0; }
    bool ChooseFile(const FileChooserRequest&, std::u16string&) override { return false; }
    bool ChooseFolder(const FolderChooserRequest&, std::u16string&) override { return false; }
    bool ConfirmPrint(const std::u16string&) override { return false; }
    SIZE DialogBaseUnits(const std::u16string& font, WORD pointSize) override {
        return DialogBaseUnitsOf(DialogFont(font, pointSize));
    }

    bool Saved() const { return m_saved; }

private:
    std::string m_path;
    bool m_saved = false;
};

using ResourceName = std::variant<WORD, std::u16string>;

BOOL CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<ResourceName>*>(param);
    if (IS_INTRESOURCE(name))
        names->emplace_back(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    else
        names->emplace_back(std::u16string(name));
    return TRUE;
}

std::string FileNameOf(const ResourceName& name) {
    if (const WORD* id = std::get_if<WORD>(&name)) return "dialog-" + std::to_string(*id) + ".png";
    std::string safe;
    for (char c : Utf16ToUtf8(std::get<std::u16string>(name))) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        safe += plain || c == '-' || c == '_' ? c : '_';
    }
    return "dialog-" + safe + ".png";
}

LPCWSTR AsResourceName(const ResourceName& name) {
    if (const WORD* id = std::get_if<WORD>(&name)) return MAKEINTRESOURCEW(*id);
    return std::get<std::u16string>(name).c_str();
}

}  // namespace

std::vector<std::string> RenderModuleDialogs(HMODULE module, const std::string& folder,
                                             std::string& error) {
    std::vector<std::string> written;
    if (!EnsureQtApplication(QtPlatformNeed::OffScreenOk)) {
        error = "Qt cannot start on this machine";
        return written;
    }
    std::vector<ResourceName> names;
    if (!EnumResourceNamesW(module, RT_DIALOG, CollectName, reinterpret_cast<LONG_PTR>(&names)) &&
        GetLastError() != ERROR_RESOURCE_TYPE_NOT_FOUND) {
        error =
            "the module's resources cannot be read (error " + std::to_string(GetLastError()) + ")";
        return written;
    }
    for (const ResourceName& name : names) {
        const std::string path = folder + "/" + FileNameOf(name);
        auto backend = std::make_unique<RenderingBackend>(path);
        RenderingBackend* rendering = backend.get();
        std::unique_ptr<UiBackend> previous = InstallUiBackend(std::move(backend));
        const INT_PTR result = DialogBoxParamW(module, AsResourceName(name), nullptr, nullptr, 0);
        const bool saved = rendering->Saved();
        InstallUiBackend(std::move(previous));
        if (result == -1 || !saved) {
            error = "cannot render " + FileNameOf(name) + " to " + path;
            return written;
        }
        written.push_back(path);
    }
    return written;
}
