// The login commands' dialogs, linked into the add-on's resource table.
#pragma once

#include "addon/login/login_ids.h"
#include "platform/ui/resource_templates.h"

namespace login_resources {

inline constexpr DWORD kButton = WS_TABSTOP;
inline constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;

inline constexpr DialogControl kGoSitesControls[] = {
    {IDC_GO_SITE_LIST, ControlKind::ListView, u"", 7, 7, 200, 130,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP},
    {IDOK, ControlKind::DefPushButton, u"Login", 214, 7, 50, 14, kButton},
    {IDC_GO_LOGIN, ControlKind::PushButton, u"Go Login", 214, 25, 50, 14, kButton},
    {IDC_GO_REMOVE, ControlKind::PushButton, u"Remove", 214, 43, 50, 14, kButton},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 214, 123, 50, 14, kButton},
};
inline constexpr DialogTemplate kGoSitesDialog =
    Dialog(u"Kestro - Go registered sites", 271, 144, kGoSitesControls);

inline constexpr DialogControl kAskSaveLoginControls[] = {
    {IDC_STATIC, ControlKind::Static,
     u"The login information for this web site has not been saved. Do you want to save it?", 7, 7,
     216, 18},
    {IDC_ASK_DONT_ASK, ControlKind::CheckBox, u"Don't ask me next time", 7, 32, 110, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDOK, ControlKind::DefPushButton, u"Yes", 117, 50, 50, 14, kButton},
    {IDCANCEL, ControlKind::PushButton, u"No", 173, 50, 50, 14, kButton},
};
inline constexpr DialogTemplate kAskSaveLoginDialog =
    Dialog(u"Kestro - Confirm save login ", 230, 71, kAskSaveLoginControls);

inline constexpr DialogControl kSelectLoginControls[] = {
    {IDC_SELECT_ACCOUNTS, ControlKind::ListBox, u"", 7, 7, 146, 80,
     LBS_SORT | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {IDOK, ControlKind::DefPushButton, u"OK", 55, 93, 50, 14, kButton},
};
inline constexpr DialogTemplate kSelectLoginDialog =
    Dialog(u"Kestro - Select login account", 160, 114, kSelectLoginControls);

inline constexpr DialogControl kDomainNameControls[] = {
    {IDC_STATIC, ControlKind::Static, u"Domain Favor Name", 7, 7, 150, 8},
    {IDC_DOMAIN_FAVOR_NAME, ControlKind::Edit, u"", 7, 17, 150, 14, kEdit},
    {IDC_STATIC, ControlKind::Static, u"Domain URL", 7, 37, 150, 8},
    {IDC_DOMAIN_URL, ControlKind::Edit, u"", 7, 47, 150, 14, kEdit | ES_READONLY},
    {IDOK, ControlKind::DefPushButton, u"OK", 165, 7, 50, 14, kButton},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 165, 25, 50, 14, kButton},
};
inline constexpr DialogTemplate kDomainNameDialog =
    Dialog(u"Domain Favor Name Input", 222, 68, kDomainNameControls);

}  // namespace login_resources

// The entries the add-on's resource table takes from here, each followed
// by a comma.
#define FARROW_LOGIN_RESOURCE_ENTRIES                                                          \
    ResourceEntry(RT_DIALOG_ID, IDD_GO_SITES, login_resources::kGoSitesDialog),                \
        ResourceEntry(RT_DIALOG_ID, IDD_ASK_SAVE_LOGIN, login_resources::kAskSaveLoginDialog), \
        ResourceEntry(RT_DIALOG_ID, IDD_SELECT_LOGIN, login_resources::kSelectLoginDialog),    \
        ResourceEntry(RT_DIALOG_ID, IDD_DOMAIN_NAME, login_resources::kDomainNameDialog),
