// The program's resources: the login input and transfer dialogs, the icon,
// the usage text and the version data. Linked into the program image itself
// (never into a library), so FindResourceW(nullptr, ...) finds them.
#include "platform/ui/resource_templates.h"
#include "platform/win/version_resource.h"
#include "tool/resources/resource_ids.h"

namespace {

constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kButtonStyle = WS_TABSTOP;
constexpr DWORD kCentredLabel = SS_CENTER;

constexpr DialogControl kLoginInputControls[] = {
    {IDC_DOMAIN, ControlKind::Edit, u"", 52, 8, 180, 14, kEditStyle},
    {IDC_LOGIN_NAME, ControlKind::Edit, u"", 52, 60, 136, 14, kEditStyle},
    // Not a password edit: the typed password stays visible.
    {IDC_PASSWORD, ControlKind::Edit, u"", 52, 84, 136, 14, kEditStyle},
    {IDOK, ControlKind::DefPushButton, u"Add Login", 252, 8, 50, 16, kButtonStyle},
    {IDC_DELETE_LOGIN, ControlKind::PushButton, u"Delete Login", 252, 36, 50, 16, kButtonStyle},
    {IDCANCEL, ControlKind::PushButton, u"Close", 252, 60, 50, 16, kButtonStyle},
    {IDC_STATIC, ControlKind::Static, u"Domain Name", 4, 12, 47, 8, kCentredLabel},
    {IDC_STATIC, ControlKind::Static, u"Login Name", 8, 64, 39, 8, kCentredLabel},
    {IDC_STATIC, ControlKind::Static, u"Password", 8, 88, 32, 8, kCentredLabel},
    {IDC_STATIC, ControlKind::Static,
     u"A domain name is a full domain (www.example.com) or the core name of a domain "
     u"(example, for example.com, example.de, ...). A core name must identify its domain.",
     52, 24, 180, 32},
    {IDC_STATIC, ControlKind::Static, u"All Login Information", 8, 108, 68, 8},
    {IDC_LOGIN_LIST, ControlKind::ListView, u"", 8, 120, 292, 96,
     LVS_REPORT | LVS_SINGLESEL | LVS_SORTASCENDING | WS_BORDER | WS_TABSTOP},
};

constexpr DialogTemplate kLoginInputDialog = {
    u"Kestro Input Login Information ",
    311,
    230,
    kLoginInputControls,
    std::size(kLoginInputControls),
    u"MS Shell Dlg",
    8,
    DS_MODALFRAME | DS_SHELLFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    WS_EX_APPWINDOW,
};

constexpr DialogControl kTransferControls[] = {
    {IDC_STATIC, ControlKind::Static, u"Specify the full file path", 8, 8, 68, 8},
    {IDC_TRANS_PATH, ControlKind::Edit, u"", 8, 20, 116, 14, kEditStyle},
    {IDC_BROWSE, ControlKind::PushButton, u"...", 124, 20, 20, 14, kButtonStyle},
    {IDOK, ControlKind::DefPushButton, u"OK", 152, 8, 32, 16, kButtonStyle},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 152, 32, 32, 16, kButtonStyle},
    {IDC_IMPORT_NOTE, ControlKind::Static,
     u"The import function allows you importing an unencrypted login data file into the "
     u"current login data file of Kestro on this computer. The unencrypted login data might be "
     u"exported from another computer or this computer as a backup.",
     8, 44, 136, 52},
    {IDC_EXPORT_NOTE, ControlKind::Static,
     u"The export function allows you saving the login data that is encrypted on this computer "
     u"to another storage or computer in unencrypted format. Later you can import the saved "
     u"login data to this computer again or to another computer for transfering.",
     8, 40, 136, 52},
};

constexpr DialogTemplate kTransferDialog = {
    u"Kestro Login Data Transfer",
    190,
    98,
    kTransferControls,
    std::size(kTransferControls),
    u"MS Sans Serif",
    8,
    DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
    0,
};

constexpr StringResource kStrings[] = {
    {IDS_USAGE,
     u"Command line parameter: \n/import - import an unencrypted login data file to the current "
     u"Kestro login data file that is encrypted. \n/export - export the current encrypted login "
     u"data file of Kestro to an unencrypted login data file that can be copied to another "
     u"computer."},
};

constexpr unsigned char kIconImage[] = {
#include "tool/resources/app_icon.inc"
};
constexpr IconTemplate kIcon{kIconImage, sizeof kIconImage};

constexpr VersionString kVersionStrings[] = {
    {u"FileDescription", u"Quillet"},  {u"ProductName", u"Quillet"},
    {u"FileVersion", u"1.0.0.1"},      {u"ProductVersion", u"1.0.0.1"},
    {u"InternalName", u"Quillet.exe"}, {u"OriginalFilename", u"Quillet.exe"},
};
constexpr VersionResource kVersion = Version({1, 0, 0, 1}, {1, 0, 0, 1}, kVersionStrings);

constexpr KestroResourceEntry kResources[] = {
    ResourceEntry(RT_DIALOG_ID, IDD_QUILLET_DIALOG, kLoginInputDialog),
    ResourceEntry(RT_DIALOG_ID, IDD_TRANS_LOGIN, kTransferDialog),
    ResourceEntry(RT_GROUP_ICON_ID, IDR_MAINFRAME, kIcon),
    ResourceEntry(RT_STRING_ID, 1, kStrings),
    ResourceEntry(RT_VERSION_ID, 1, kVersion),
};

}  // namespace

KESTRO_MODULE_RESOURCES(kResources)
