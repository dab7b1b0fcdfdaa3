// Ids of the tool's resources and of the controls its dialogs address.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_QUILLET_DIALOG 102
#define IDD_TRANS_LOGIN 103
#define IDS_USAGE 101

// Login input dialog.
#define IDC_LOGIN_NAME 1000
#define IDC_DOMAIN 1001
#define IDC_PASSWORD 1002
#define IDC_LOGIN_LIST 1003
#define IDC_DELETE_LOGIN 3

// Transfer dialog.
#define IDC_TRANS_PATH 1004
#define IDC_BROWSE 1006
#define IDC_IMPORT_NOTE 1007
#define IDC_EXPORT_NOTE 1008
