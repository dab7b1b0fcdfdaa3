#include "tests/platform/ui/test_resources.h"

#include "platform/ui/resource_templates.h"

namespace {

using ui_testing::kAddonMenu;
using ui_testing::kContextMenu;
using ui_testing::kControlsDialog;
using ui_testing::kPlainDialog;

constexpr StringResource kStrings[] = {
    {ui_testing::kProductName, u"Kestro"},
    {ui_testing::kLongString, u"Speak Text of Selection"},
    {114, u"Stop Speaking"},
};

constexpr DialogControl kControls[] = {
    {IDOK, ControlKind::DefPushButton, u"OK", 228, 8, 48, 14},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 228, 28, 48, 14},
    {IDC_STATIC, ControlKind::GroupBox, u"Options", 8, 4, 208, 108},
    {IDC_STATIC, ControlKind::Icon, u"#128", 68, 20, 20, 20},
    {201, ControlKind::CheckBox, u"Append URL\nto saved content", 16, 16, 111, 16, BS_MULTILINE},
    {206, ControlKind::RadioButton, u"Create or overwrite existing file", 16, 36, 120, 10,
     WS_GROUP},
    {207, ControlKind::RadioButton, u"Append to existing file", 16, 48, 120, 10},
    {208, ControlKind::CheckBox, u"Save as Unicode", 16, 60, 120, 10, WS_GROUP},
    {IDC_STATIC, ControlKind::Static, u"Folder:", 8, 120, 124, 8},
    {217, ControlKind::Edit, u"", 8, 128, 188, 14, ES_AUTOHSCROLL},
    {218, ControlKind::PushButton, u"...", 196, 128, 20, 14},
    {220, ControlKind::Edit, u"", 192, 152, 24, 14, ES_NUMBER},
    {221, ControlKind::Edit, u"read only", 8, 170, 60, 14, ES_READONLY},
    {214, ControlKind::ComboBox, u"", 8, 190, 100, 60, CBS_DROPDOWNLIST | CBS_SORT},
    {240, ControlKind::ComboBox, u"", 228, 190, 52, 60, CBS_DROPDOWN | CBS_SORT},
    {225, ControlKind::ListBox, u"", 120, 190, 100, 60, LBS_SORT | LBS_NOTIFY},
    {215, ControlKind::Trackbar, u"", 8, 260, 100, 14},
    {230, ControlKind::ListView, u"", 8, 280, 200, 80,
     LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING},
    {231, ControlKind::ListView, u"", 8, 370, 200, 80, LVS_REPORT | LVS_SINGLESEL},
    {232, ControlKind::PushButton, u"Disabled", 228, 48, 48, 14, WS_DISABLED},
    {233, ControlKind::PushButton, u"Import Login Data...", 228, 68, 48, 18, BS_MULTILINE},
};
constexpr DialogTemplate kControlsTemplate = Dialog(u"Kestro - Test controls", 287, 460, kControls);

constexpr DialogControl kPlainControls[] = {
    {IDOK, ControlKind::DefPushButton, u"OK", 24, 128, 50, 14},
    {IDC_STATIC, ControlKind::Static, u"Kestro Version 1.0", 16, 40, 132, 28},
};
constexpr DialogTemplate kPlainTemplate = Dialog(u"About Kestro", 162, 162, kPlainControls);

constexpr MenuTemplateItem kEncoding[] = {
    MenuItem(2293, u"Western European"),
    MenuItem(2294, u"Unicode (UTF-8)", MF_CHECKED),
};
constexpr MenuTemplateItem kLinkMenu[] = {
    MenuItem(2130, u"Open Link"),
    MenuItem(2137, u"Open in New Window"),
    MenuSeparator(),
    MenuPopup(u"Encoding", kEncoding),
    MenuItem(2292, u"More"),
};
constexpr MenuTemplateItem kDefaultMenu[] = {
    MenuItem(2261, u"Back"),
    MenuItem(2262, u"Forward", MF_GRAYED),
};
constexpr MenuTemplateItem kContextMenuItems[] = {
    MenuPopup(u"Default", kDefaultMenu),
    MenuPopup(u"Link", kLinkMenu),
};

constexpr MenuTemplateItem kAddonMenuItems[] = {
    MenuItem(32770, u"Save Text of Selection..."),
    MenuItem(32810, u"Speak Control"),
    MenuSeparator(),
    MenuItem(32775, u"Options..."),
};

constexpr unsigned char kIconImage[] = {0x89, 'P', 'N', 'G'};
constexpr IconTemplate kIcon{kIconImage, sizeof kIconImage};

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(RT_STRING_ID, 1, kStrings),
    ResourceEntry(RT_DIALOG_ID, kControlsDialog, kControlsTemplate),
    ResourceEntry(RT_DIALOG_ID, kPlainDialog, kPlainTemplate),
    ResourceEntry(RT_MENU_ID, kContextMenu, kContextMenuItems),
    ResourceEntry(RT_MENU_ID, kAddonMenu, kAddonMenuItems),
    ResourceEntry(RT_GROUP_ICON_ID, 128, kIcon),
};

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)
