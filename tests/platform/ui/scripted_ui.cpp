#include "tests/platform/ui/scripted_ui.h"

#include "platform/win/resource.h"

namespace ui_testing {

namespace {

struct Procedures {
    std::function<void(HWND)> init;
    DialogHandler handler;
};

INT_PTR TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* procedures = reinterpret_cast<Procedures*>(lParam);
        if (procedures->init) procedures->init(dialog);
        return TRUE;
    }
    auto* procedures = reinterpret_cast<Procedures*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!procedures || !procedures->handler) return FALSE;
    return procedures->handler(dialog, message, wParam, lParam);
}

}  // namespace

INT_PTR RunDialog(int templateId, HWND owner, std::function<void(HWND)> init,
                  DialogHandler handler) {
    Procedures procedures{std::move(init), std::move(handler)};
    return DialogBoxParamW(nullptr, MAKEINTRESOURCEW(templateId), owner, TestDialogProc,
                           reinterpret_cast<LPARAM>(&procedures));
}

}  // namespace ui_testing
