#include "platform/ui/menu.h"

#include "platform/ui/ui_state.h"
#include "platform/ui/window.h"
#include "platform/win/last_error.h"

namespace {

constexpr UINT kNoItem = static_cast<UINT>(-1);
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED;

MenuRecord* FindMenu(HMENU menu) {
    UiState& state = TheUiState();
    auto found = state.menus.find(reinterpret_cast<ULONG_PTR>(menu));
    if (found == state.menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return found->second.get();
}

HMENU NewMenu() {
    UiState& state = TheUiState();
    const ULONG_PTR number = state.nextMenu;
    state.nextMenu += 4;  // handles are never reused
    state.menus.emplace(number, std::make_unique<MenuRecord>());
    return reinterpret_cast<HMENU>(number);
}

// An item by position, or by command searching nested popups first (an item
// that carries a popup is found by its own command only when its popup has
// none). Sets `owner` to the menu that holds it.
MenuItemRecord* FindItem(HMENU& owner, UINT item, UINT flags) {
    MenuRecord* menu = FindMenu(owner);
    if (!menu) return nullptr;
    if (flags & MF_BYPOSITION) {
        return item < menu->items.size() ? &menu->items[item] : nullptr;
    }
    MenuItemRecord* fallback = nullptr;
    HMENU fallbackOwner = nullptr;
    for (MenuItemRecord& entry : menu->items) {
        if (entry.popup) {
            HMENU popup = entry.popup;
            if (MenuItemRecord* found = FindItem(popup, item, flags)) {
                owner = popup;
                return found;
            }
            if (entry.id == item && !fallback) {
                fallback = &entry;
                fallbackOwner = owner;
            }
        } else if (entry.id == item && !(entry.flags & MF_SEPARATOR)) {
            return &entry;
        }
    }
    if (fallback) owner = fallbackOwner;
    return fallback;
}

std::size_t IndexOf(const MenuRecord& menu, const MenuItemRecord* item) {
    return static_cast<std::size_t>(item - menu.items.data());
}

MenuItemRecord MakeItem(UINT flags, UINT_PTR id, LPCWSTR text) {
    MenuItemRecord item;
    item.flags = flags & (kStateFlags | MF_SEPARATOR);
    if (flags & MF_POPUP) {
        item.popup = reinterpret_cast<HMENU>(id);
        item.id = static_cast<UINT>(id);
    } else {
        item.id = static_cast<UINT>(id);
    }
    if (!(flags & MF_SEPARATOR) && text) item.text = text;
    return item;
}

BOOL InsertItem(HMENU menu, UINT position, UINT flags, MenuItemRecord item) {
    if ((item.popup && !FindMenu(item.popup)) || !FindMenu(menu)) return FALSE;
    HMENU holder = menu;
    std::size_t at = 0;
    if (flags & MF_BYPOSITION) {
        MenuRecord* record = FindMenu(menu);
        at = position == kNoItem ? record->items.size()
                                 : std::min<std::size_t>(position, record->items.size());
    } else {
        const MenuItemRecord* before = FindItem(holder, position, flags);
        if (!before) {  // Windows appends when the command is not found
            holder = menu;
            at = FindMenu(menu)->items.size();
        } else {
            at = IndexOf(*FindMenu(holder), before);
        }
    }
    MenuRecord* target = FindMenu(holder);
    target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    return TRUE;
}

HMENU BuildMenu(const MenuTemplateItem* items, std::size_t count, HMENU menu) {
    for (std::size_t i = 0; i < count; ++i) {
        const MenuTemplateItem& entry = items[i];
        if (entry.flags & MF_POPUP) {
            const HMENU popup = BuildMenu(entry.popup, entry.popupCount, CreatePopupMenu());
            AppendMenuW(menu, entry.flags, reinterpret_cast<UINT_PTR>(popup), entry.text);
        } else {
            AppendMenuW(menu, entry.flags, entry.id, entry.text);
        }
    }
    return menu;
}

MenuItemSnapshot SnapshotItem(const MenuItemRecord& item) {
    MenuItemSnapshot snapshot;
    snapshot.id = item.popup ? 0 : item.id;
    snapshot.label = item.text;
    snapshot.separator = (item.flags & MF_SEPARATOR) != 0;
    snapshot.enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
    snapshot.checked = (item.flags & MF_CHECKED) != 0;
    snapshot.popup = item.popup != nullptr;
    return snapshot;
}

std::vector<MenuItemSnapshot> Snapshot(HMENU menu, HWND owner, bool init, UINT position) {
    if (init) SendInitMenuPopup(owner, menu, position);
    std::vector<MenuItemSnapshot> items;
    const MenuRecord* record = FindMenu(menu);
    if (!record) return items;
    const std::vector<MenuItemRecord> entries = record->items;  // a handler may change the menu
    for (std::size_t i = 0; i < entries.size(); ++i) {
        MenuItemSnapshot item = SnapshotItem(entries[i]);
        if (entries[i].popup)
            item.submenu = Snapshot(entries[i].popup, owner, init, static_cast<UINT>(i));
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

HMENU CreateMenu() {
    return NewMenu();
}

HMENU CreatePopupMenu() {
    return NewMenu();
}

BOOL DestroyMenu(HMENU menu) {
    MenuRecord* record = FindMenu(menu);
    if (!record) return FALSE;
    const std::vector<MenuItemRecord> items = std::move(record->items);
    TheUiState().menus.erase(reinterpret_cast<ULONG_PTR>(menu));
    for (const MenuItemRecord& item : items) {
        if (item.popup && IsMenu(item.popup)) DestroyMenu(item.popup);
    }
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return TheUiState().menus.count(reinterpret_cast<ULONG_PTR>(menu)) ? TRUE : FALSE;
}

HMENU LoadMenuW(HINSTANCE module, LPCWSTR name) {
    HRSRC found = FindResourceW(module, name, RT_MENU);
    if (!found) return nullptr;
    const auto* items =
        static_cast<const MenuTemplateItem*>(LockResource(LoadResource(module, found)));
    return BuildMenu(items, SizeofResource(module, found) / sizeof(MenuTemplateItem), CreateMenu());
}

HMENU GetSubMenu(HMENU menu, int position) {
    const MenuRecord* record = FindMenu(menu);
    if (!record || position < 0 || position >= static_cast<int>(record->items.size()))
        return nullptr;
    return record->items[position].popup;
}

int GetMenuItemCount(HMENU menu) {
    const MenuRecord* record = FindMenu(menu);
    return record ? static_cast<int>(record->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    const MenuRecord* record = FindMenu(menu);
    if (!record || position < 0 || position >= static_cast<int>(record->items.size()))
        return kNoItem;
    const MenuItemRecord& item = record->items[position];
    return item.popup ? kNoItem : item.id;
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text) {
    return InsertItem(menu, position, flags, MakeItem(flags, id, text));
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
    return InsertMenuW(menu, kNoItem, flags | MF_BYPOSITION, id, text);
}

BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    if (!info) return FALSE;
    MenuItemRecord entry;
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) entry.flags |= info->fType & MFT_SEPARATOR;
    if (info->fMask & MIIM_STATE) entry.flags |= info->fState & kStateFlags;
    if (info->fMask & MIIM_ID) entry.id = info->wID;
    if (info->fMask & MIIM_SUBMENU) entry.popup = info->hSubMenu;
    if ((info->fMask & (MIIM_STRING | MIIM_TYPE)) && info->dwTypeData &&
        !(entry.flags & MF_SEPARATOR)) {
        entry.text = info->dwTypeData;
    }
    return InsertItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, std::move(entry));
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    HMENU holder = menu;
    MenuItemRecord* entry = info ? FindItem(holder, item, byPosition ? MF_BYPOSITION : 0) : nullptr;
    if (!entry) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && !IsMenu(info->hSubMenu)) return FALSE;
    if (info->fMask & MIIM_SUBMENU) entry->popup = info->hSubMenu;
    if (info->fMask & MIIM_ID) entry->id = info->wID;
    if (info->fMask & MIIM_STATE)
        entry->flags = (entry->flags & ~kStateFlags) | (info->fState & kStateFlags);
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) {
        entry->flags = (entry->flags & ~MF_SEPARATOR) | (info->fType & MFT_SEPARATOR);
    }
    if ((info->fMask & (MIIM_STRING | MIIM_TYPE)) && info->dwTypeData)
        entry->text = info->dwTypeData;
    return TRUE;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    HMENU holder = menu;
    MenuItemRecord* entry = FindItem(holder, item, flags);
    if (!entry) return kNoItem;
    const UINT previous = entry->flags & (MF_GRAYED | MF_DISABLED);
    entry->flags =
        (entry->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    HMENU holder = menu;
    MenuItemRecord* entry = FindItem(holder, item, flags);
    if (!entry) return static_cast<DWORD>(-1);
    const DWORD previous = entry->flags & MF_CHECKED;
    entry->flags = (entry->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    HMENU holder = menu;
    const MenuItemRecord* entry = FindItem(holder, item, flags);
    if (!entry) return kNoItem;
    if (entry->popup)
        return (entry->flags | MF_POPUP) | (static_cast<UINT>(GetMenuItemCount(entry->popup)) << 8);
    return entry->flags;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    HMENU holder = menu;
    const MenuItemRecord* entry = FindItem(holder, position, flags);
    if (!entry) return FALSE;
    MenuRecord* record = FindMenu(holder);
    record->items.erase(record->items.begin() +
                        static_cast<std::ptrdiff_t>(IndexOf(*record, entry)));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    HMENU holder = menu;
    const MenuItemRecord* entry = FindItem(holder, position, flags);
    if (!entry) return FALSE;
    const HMENU popup = entry->popup;
    RemoveMenu(holder, static_cast<UINT>(IndexOf(*FindMenu(holder), entry)), MF_BYPOSITION);
    if (popup && IsMenu(popup)) DestroyMenu(popup);
    return TRUE;
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text) {
    HMENU holder = menu;
    MenuItemRecord* entry = FindItem(holder, position, flags);
    if (!entry) return FALSE;
    if ((flags & MF_POPUP) && !IsMenu(reinterpret_cast<HMENU>(id))) return FALSE;
    const HMENU oldPopup = entry->popup;
    *entry = MakeItem(flags, id, text);
    if (oldPopup && oldPopup != entry->popup && IsMenu(oldPopup)) DestroyMenu(oldPopup);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int /*reserved*/, HWND owner,
                    const RECT* /*rect*/) {
    if (!IsMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const UINT chosen = CurrentUiBackend().TrackPopupMenu(menu, owner, POINT{x, y});
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && !(flags & TPM_NONOTIFY)) {
        SendMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    }
    return chosen ? TRUE : FALSE;
}

void SendInitMenuPopup(HWND owner, HMENU popup, UINT position) {
    SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                 MAKELPARAM(static_cast<WORD>(position), FALSE));
}

std::vector<MenuItemSnapshot> SnapshotMenuAsShown(HMENU menu, HWND owner) {
    return Snapshot(menu, owner, true, 0);
}

std::vector<MenuItemSnapshot> SnapshotMenu(HMENU menu) {
    return Snapshot(menu, nullptr, false, 0);
}
