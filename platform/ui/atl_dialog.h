// ATL's modal dialog class: CDialogImpl<T> runs dialog resource T::IDD of
// the image that holds T's code, and routes messages to T's message map.
#pragma once

#include "platform/ui/atl_window.h"
#include "platform/win/module.h"
#include "platform/win/resource.h"

// The image whose code calls this: hidden, so each image has its own copy
// and finds its own resources.
__attribute__((visibility("hidden"))) inline HINSTANCE AtlResourceInstanceOfImage() {
    return ModuleFromAddress(reinterpret_cast<const void*>(&AtlResourceInstanceOfImage));
}

template <class T>
class CDialogImpl : public CWindow {
public:
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM init = 0) {
        StartData start{this, init};
        m_hWnd = nullptr;
        const INT_PTR result =
            ::DialogBoxParamW(AtlResourceInstanceOfImage(), MAKEINTRESOURCEW(T::IDD), owner,
                              StartDialogProc, reinterpret_cast<LPARAM>(&start));
        m_hWnd = nullptr;
        return result;
    }

    BOOL EndDialog(INT_PTR result) { return ::EndDialog(m_hWnd, result); }

private:
    struct StartData {
        CDialogImpl* dialog;
        LPARAM init;
    };

    // The first message binds the window to the object (kept in DWLP_USER)
    // and hands the caller's init value on.
    static INT_PTR StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            const auto* start = reinterpret_cast<const StartData*>(lParam);
            start->dialog->m_hWnd = window;
            ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(start->dialog));
            ::SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&DialogProc));
            lParam = start->init;
        }
        return DialogProc(window, message, wParam, lParam);
    }

    static INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CDialogImpl*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (!self) return FALSE;
        LRESULT result = 0;
        if (!static_cast<T*>(self)->ProcessWindowMessage(window, message, wParam, lParam, result)) {
            return FALSE;
        }
        if (message == WM_INITDIALOG) return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
};
