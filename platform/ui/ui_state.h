// The UI is process-wide state: the window and menu tables, the active
// window and focus, and the backend. It lives in one object, reached only
// through TheUiState(), so that a library loaded into a program uses the
// program's copy.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui_backend.h"
#include "platform/ui/window_record.h"

struct MenuItemRecord {
    UINT id = 0;
    std::u16string text;
    UINT flags = 0;  // MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED
    HMENU popup = nullptr;
};

struct MenuRecord {
    std::vector<MenuItemRecord> items;
};

struct UiState {
    std::map<ULONG_PTR, std::unique_ptr<WindowRecord>> windows;
    ULONG_PTR nextWindow = 0x10000;
    std::map<ULONG_PTR, std::unique_ptr<MenuRecord>> menus;
    ULONG_PTR nextMenu = 0x20000;
    HWND activeWindow = nullptr;
    HWND focus = nullptr;
    std::unique_ptr<UiBackend> backend;
    OnScreenBackendFactory onScreenFactory = nullptr;
};

UiState& TheUiState();

// The backend the environment asks for (defined with the scripted backend).
std::unique_ptr<UiBackend> CreateStartBackend(OnScreenBackendFactory onScreenFactory);
