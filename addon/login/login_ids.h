// Ids of the login commands' dialogs and of the controls they address.
#pragma once

// Registered sites.
#define IDD_GO_SITES 214
#define IDC_GO_LOGIN 3
#define IDC_GO_REMOVE 223
#define IDC_GO_SITE_LIST 225

// Save-login prompt.
#define IDD_ASK_SAVE_LOGIN 215
#define IDC_ASK_DONT_ASK 222

// Account selection.
#define IDD_SELECT_LOGIN 216
#define IDC_SELECT_ACCOUNTS 225

// Favor name of a site.
#define IDD_DOMAIN_NAME 217
#define IDC_DOMAIN_FAVOR_NAME 228
#define IDC_DOMAIN_URL 229
