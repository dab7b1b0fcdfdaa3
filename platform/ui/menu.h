// Menus: loaded from menu resources or built in code, changed by position
// or by command (a command is looked for in nested popups too, as Windows
// does), and shown as popups at a screen point.
#pragma once

#include <vector>

#include "platform/ui/resource_templates.h"
#include "platform/ui/ui_backend.h"

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_FTYPE = 0x0100;
constexpr UINT MFT_STRING = 0x0000;
constexpr UINT MFT_SEPARATOR = 0x0800;
constexpr UINT MFS_ENABLED = 0x0000;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = 0x0008;

constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

struct MENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    void* hbmpChecked;
    void* hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
    void* hbmpItem;
};
using LPMENUITEMINFOW = MENUITEMINFOW*;
using LPCMENUITEMINFOW = const MENUITEMINFOW*;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and the popups it holds.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// A menu resource of the module; null with the resource error.
HMENU LoadMenuW(HINSTANCE module, LPCWSTR name);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
// The command of the item at a position; (UINT)-1 for a popup or no item.
UINT GetMenuItemID(HMENU menu, int position);
// MF_BYCOMMAND inserts before the item with that command; by position,
// (UINT)-1 appends. With MF_POPUP the id is the popup's handle.
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
// The previous state (MF_GRAYED, MF_DISABLED bits), or (UINT)-1 without
// such an item.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Removes an item; DeleteMenu also destroys its popup.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// Replaces an item's label, command or popup.
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text);

// The chosen command with TPM_RETURNCMD (0 when dismissed); without it
// the command is sent to the owner as WM_COMMAND and the result is
// whether one was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect);

// Sends WM_INITMENUPOPUP for the popup to the owner's current procedure.
void SendInitMenuPopup(HWND owner, HMENU popup, UINT position);
// The menu as a user opening every popup sees it: WM_INITMENUPOPUP for the
// menu and for each popup before its items are read.
std::vector<MenuItemSnapshot> SnapshotMenuAsShown(HMENU menu, HWND owner);
