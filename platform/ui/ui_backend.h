// The seam between the UI model and what puts it in front of a user. The
// model (windows, controls, menus) is the truth; a backend shows it, runs
// the modal loops and turns the user's acts into the messages a handler
// would get. Two backends: scripted (answers from a script, nothing on
// screen) and on screen. One is chosen at start: scripted when
// KESTRO_UI_SCRIPT names an answer file, otherwise the on-screen backend
// registered by the program (SetOnScreenBackendFactory); with neither the
// program says so and exits with status 2.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/resource_templates.h"
#include "platform/ui/ui_types.h"

// What a control shows at one moment.
struct ControlSnapshot {
    HWND handle = nullptr;
    int id = 0;
    ControlKind kind = ControlKind::Window;
    std::u16string text;
    DWORD style = 0;
    RECT dialogUnits{};  // x, y, width, height
    bool enabled = true;
    bool visible = true;
    int check = 0;                      // buttons: BST_*
    std::vector<std::u16string> items;  // combo box, list box
    int selected = -1;                  // combo box, list box, list view (first selected row)
    int rangeMin = 0, rangeMax = 0, position = 0, pageSize = 0;  // trackbar
    std::vector<std::u16string> columns;                         // list view
    std::vector<int> columnWidths;                               // list view, pixels
    std::vector<std::vector<std::u16string>> rows;               // list view: item, sub-items
};

struct DialogSnapshot {
    HWND handle = nullptr;
    std::u16string title;
    SIZE dialogUnits{};
    std::u16string font;
    WORD pointSize = 0;
    bool centred = false;  // CenterWindow was called, or the template has DS_CENTER
    const DialogTemplate* source = nullptr;  // the template it was built from
    std::vector<ControlSnapshot> controls;
};

struct MenuItemSnapshot {
    UINT id = 0;
    std::u16string label;
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    bool popup = false;
    std::vector<MenuItemSnapshot> submenu;
};

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::u16string title;
    std::u16string text;
    UINT type = 0;  // MB_ buttons | MB_ icon
};

struct FileChooserRequest {
    HWND owner = nullptr;
    bool save = true;
    std::u16string title;
    std::vector<std::pair<std::u16string, std::u16string>> filters;  // name, pattern
    int filterIndex = 1;                                             // 1-based
    std::u16string initialPath;
    std::u16string defaultExtension;
    DWORD flags = 0;
};

struct FolderChooserRequest {
    HWND owner = nullptr;
    std::u16string title;
    UINT flags = 0;
};

class UiBackend {
public:
    virtual ~UiBackend() = default;

    // Shows a dialog that WM_INITDIALOG has set up and returns once
    // EndDialog was called on it (the model's ended flag).
    virtual void RunModalDialog(HWND dialog) = 0;
    // Shows a popup menu at a screen point; WM_INITMENUPOPUP goes to the
    // owner's current procedure for each popup before it is shown
    // (SendInitMenuPopup). The chosen command id, or 0 when dismissed.
    virtual UINT TrackPopupMenu(HMENU menu, HWND owner, POINT point) = 0;
    // IDOK, IDYES, IDNO or IDCANCEL; 0 when it could not be shown.
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // False when cancelled or failed.
    virtual bool ChooseFile(const FileChooserRequest& request, std::u16string& path) = 0;
    virtual bool ChooseFolder(const FolderChooserRequest& request, std::u16string& path) = 0;
    // A print dialog for a document; true to print.
    virtual bool ConfirmPrint(const std::u16string& documentTitle) = 0;
    virtual void Beep() {}

    // Pixels per 4 horizontal and per 8 vertical dialog units for a font.
    virtual SIZE DialogBaseUnits(const std::u16string& /*font*/, WORD /*pointSize*/) {
        return {6, 13};
    }
    // A window's text, state, items, enabled or visible flag changed.
    virtual void WindowChanged(HWND /*window*/) {}
    // A window is being destroyed.
    virtual void WindowDestroyed(HWND /*window*/) {}
};

// The backend chosen at start (chosen on first use).
UiBackend& CurrentUiBackend();
// The chosen backend, or null when none has been chosen yet.
UiBackend* ChosenUiBackend();
// Replaces the backend (tests; the host when it runs a scenario). Returns
// the previous one.
std::unique_ptr<UiBackend> InstallUiBackend(std::unique_ptr<UiBackend> backend);

using OnScreenBackendFactory = std::unique_ptr<UiBackend> (*)();
// Called by a program before any UI is shown; used when no script is set.
void SetOnScreenBackendFactory(OnScreenBackendFactory factory);

// Snapshots the model for a backend.
DialogSnapshot SnapshotDialog(HWND dialog);
ControlSnapshot SnapshotControl(HWND control);
// Describes a menu as it is now (no WM_INITMENUPOPUP).
std::vector<MenuItemSnapshot> SnapshotMenu(HMENU menu);
