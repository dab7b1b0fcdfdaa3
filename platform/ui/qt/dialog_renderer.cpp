#include "platform/ui/qt/dialog_renderer.h"

#include <variant>

#include "platform/ui/dialog.h"
#include "platform/ui/qt/rendering_backend.h"
#include "platform/win/last_error.h"
#include "platform/win/resource.h"

namespace {

using ResourceName = std::variant<WORD, std::u16string>;

BOOL CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<ResourceName>*>(param);
    if (IS_INTRESOURCE(name))
        names->emplace_back(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
    else
        names->emplace_back(std::u16string(name));
    return TRUE;
}

LPCWSTR AsResourceName(const ResourceName& name) {
    if (const WORD* id = std::get_if<WORD>(&name)) return MAKEINTRESOURCEW(*id);
    return std::get<std::u16string>(name).c_str();
}

}  // namespace

std::vector<std::string> RenderModuleDialogs(HMODULE module, const std::string& folder,
                                             std::string& error,
                                             std::vector<std::string>* textProblems) {
    std::vector<std::string> written;
    std::vector<ResourceName> names;
    if (!EnumResourceNamesW(module, RT_DIALOG, CollectName, reinterpret_cast<LONG_PTR>(&names)) &&
        GetLastError() != ERROR_RESOURCE_TYPE_NOT_FOUND) {
        error =
            "the module's resources cannot be read (error " + std::to_string(GetLastError()) + ")";
        return written;
    }
    RenderedDialog last;
    std::unique_ptr<UiBackend> rendering = CreateRenderingBackend(
        folder, [&last](const RenderedDialog& rendered) { last = rendered; });
    if (!rendering) {
        error = "Qt cannot start on this machine";
        return written;
    }
    std::unique_ptr<UiBackend> previous = InstallUiBackend(std::move(rendering));
    for (const ResourceName& name : names) {
        const std::string path = folder + "/" + DialogPictureName(module, AsResourceName(name));
        last = {};
        const INT_PTR result = DialogBoxParamW(module, AsResourceName(name), nullptr, nullptr, 0);
        if (result == -1 || !last.saved) {
            error =
                "cannot render " + DialogPictureName(module, AsResourceName(name)) + " to " + path;
            break;
        }
        written.push_back(path);
        if (textProblems) {
            for (const std::string& problem : last.textProblems)
                textProblems->push_back(path + ": " + problem);
        }
    }
    InstallUiBackend(std::move(previous));
    return written;
}
