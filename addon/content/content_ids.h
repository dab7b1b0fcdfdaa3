// Ids of the page content commands' dialogs and of the controls they
// address.
#pragma once

// Save text file dialog.
#define IDD_SAVE_TEXT 206
#define IDC_SAVE_PATH 204
#define IDC_SAVE_BROWSE 205
#define IDC_SAVE_CREATE 206
#define IDC_SAVE_APPEND 207
#define IDC_SAVE_UNICODE 208
#define IDC_SAVE_SHOW 209
#define IDC_SAVE_REMOVE_CRLF 210
#define IDC_SAVE_BLANK_LINES 211

// Speech setting dialog.
#define IDD_SPEECH_SETTING 208
#define IDC_SPEECH_VOICE 214
#define IDC_SPEECH_VOLUME 215
#define IDC_SPEECH_RATE 216

// The web search address, with SEARCH_TEXT where the query goes.
#define IDS_SEARCH_URL 113
