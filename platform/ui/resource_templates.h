// The structured data behind a module's UI resources, written as constant
// C++ tables next to KESTRO_MODULE_RESOURCES:
//
//     constexpr StringResource kStrings[] = {{101, u"Kestro"}, {114, u"Stop Speaking"}};
//     constexpr MenuTemplateItem kMenu212[] = {
//         MenuItem(32807, u"Save Text of Links..."), MenuSeparator(), ...};
//     constexpr DialogControl kAboutControls[] = {
//         {IDOK, ControlKind::DefPushButton, u"OK", 24, 128, 50, 14}, ...};
//     constexpr DialogTemplate kAbout = Dialog(u"About Kestro", 162, 162, kAboutControls);
//
//     ResourceEntry(RT_STRING_ID, 1, kStrings)      // any name: all string tables are searched
//     ResourceEntry(RT_MENU_ID, 212, kMenu212)      // a menu is its array of items
//     ResourceEntry(RT_DIALOG_ID, 100, kAbout)
//     ResourceEntry(RT_GROUP_ICON_ID, 128, kIcon)
#pragma once

#include <cstddef>

#include "platform/ui/control_messages.h"
#include "platform/win/resource.h"

struct StringResource {
    UINT id;
    const char16_t* text;
};

// Menu item flags as InsertMenuW takes them.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;

struct MenuTemplateItem {
    UINT id;
    const char16_t* text;
    UINT flags;  // MF_SEPARATOR, MF_POPUP, MF_GRAYED, MF_CHECKED...
    const MenuTemplateItem* popup;
    std::size_t popupCount;
};

constexpr MenuTemplateItem MenuItem(UINT id, const char16_t* text, UINT flags = MF_STRING) {
    return {id, text, flags, nullptr, 0};
}
constexpr MenuTemplateItem MenuSeparator() {
    return {0, nullptr, MF_SEPARATOR, nullptr, 0};
}
template <std::size_t N>
constexpr MenuTemplateItem MenuPopup(const char16_t* text, const MenuTemplateItem (&items)[N]) {
    return {0, text, MF_POPUP, items, N};
}

// What a dialog control is; its styles (ES_NUMBER, CBS_SORT, BS_MULTILINE,
// WS_GROUP, WS_DISABLED...) refine it as on Windows.
enum class ControlKind {
    Window,  // not a control: a top-level window or a dialog
    Static,
    GroupBox,
    Icon,  // the text names the icon resource ("#128")
    PushButton,
    DefPushButton,
    CheckBox,
    RadioButton,
    Edit,
    ComboBox,  // drop-down list, or with an edit part (CBS_DROPDOWN)
    ListBox,
    Trackbar,
    ListView,  // report view
};

struct DialogControl {
    int id;
    ControlKind kind;
    const char16_t* text;
    short x, y, cx, cy;  // dialog units
    DWORD style = 0;
};

struct DialogTemplate {
    const char16_t* title;
    short cx, cy;  // dialog units
    const DialogControl* controls;
    std::size_t controlCount;
    const char16_t* font = u"MS Shell Dlg";
    WORD pointSize = 8;
    DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = 0;
};

template <std::size_t N>
constexpr DialogTemplate Dialog(const char16_t* title, short cx, short cy,
                                const DialogControl (&controls)[N]) {
    return {title, cx, cy, controls, N};
}

// An icon: an image file's bytes (PNG), shown by the on-screen backend.
struct IconTemplate {
    const unsigned char* image;
    std::size_t imageSize;
};
