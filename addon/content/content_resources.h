// The page content commands' dialogs and strings, linked into the add-on's
// resource table.
#pragma once

#include "addon/content/content_ids.h"
#include "platform/ui/resource_templates.h"

namespace content_resources {

inline constexpr DWORD kButton = WS_TABSTOP;
inline constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
inline constexpr DWORD kRadio = BS_AUTORADIOBUTTON;

inline constexpr DialogControl kSaveTextControls[] = {
    {IDC_STATIC, ControlKind::Static, u"File Path Name:", 7, 7, 120, 8},
    {IDC_SAVE_PATH, ControlKind::Edit, u"", 7, 17, 262, 14,
     ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {IDC_SAVE_BROWSE, ControlKind::PushButton, u"...", 272, 17, 21, 14, kButton},
    {IDC_SAVE_CREATE, ControlKind::RadioButton, u"Create or overwrite existing file", 7, 38, 150,
     10, kRadio | WS_GROUP | WS_TABSTOP},
    {IDC_SAVE_APPEND, ControlKind::RadioButton, u"Append to existing file", 7, 51, 150, 10, kRadio},
    {IDC_SAVE_SHOW, ControlKind::CheckBox, u"Show Saved File", 170, 38, 123, 10,
     kCheckBox | WS_GROUP},
    {IDC_SAVE_UNICODE, ControlKind::CheckBox, u"Save as Unicode", 170, 51, 123, 10, kCheckBox},
    {IDC_SAVE_REMOVE_CRLF, ControlKind::CheckBox, u"Remove improper CRLFs", 7, 68, 150, 10,
     kCheckBox},
    {IDC_SAVE_BLANK_LINES, ControlKind::CheckBox, u"Every text line is separated by a blank line.",
     19, 81, 200, 10, kCheckBox},
    {IDOK, ControlKind::DefPushButton, u"OK", 187, 102, 50, 14, kButton},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 243, 102, 50, 14, kButton},
};
inline constexpr DialogTemplate kSaveTextDialog =
    Dialog(u"Kestro - Save text file", 300, 123, kSaveTextControls);

inline constexpr DialogControl kSpeechControls[] = {
    {IDC_STATIC, ControlKind::Static, u"Voice", 7, 7, 60, 8},
    {IDC_SPEECH_VOICE, ControlKind::ComboBox, u"", 7, 17, 186, 80,
     CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
    {IDC_STATIC, ControlKind::Static, u"Volume", 7, 38, 60, 8},
    {IDC_SPEECH_VOLUME, ControlKind::Trackbar, u"", 7, 48, 186, 15, WS_TABSTOP},
    {IDC_STATIC, ControlKind::Static, u"Rate", 7, 68, 60, 8},
    {IDC_SPEECH_RATE, ControlKind::Trackbar, u"", 7, 78, 186, 15, WS_TABSTOP},
    {IDOK, ControlKind::DefPushButton, u"OK", 87, 100, 50, 14, kButton},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 143, 100, 50, 14, kButton},
};
inline constexpr DialogTemplate kSpeechDialog =
    Dialog(u"Kestro - Speech setting", 200, 121, kSpeechControls);

// Any web search that takes hl, lr and q on "/search"; over https, so a
// selection is never sent in clear.
inline constexpr StringResource kStrings[] = {
    {IDS_SEARCH_URL, u"https://www.google.com/search?hl=en&lr=&q=SEARCH_TEXT"},
};

}  // namespace content_resources

// The entries the add-on's resource table takes from here, each followed
// by a comma.
#define FARROW_CONTENT_RESOURCE_ENTRIES                                                    \
    ResourceEntry(RT_DIALOG_ID, IDD_SAVE_TEXT, content_resources::kSaveTextDialog),        \
        ResourceEntry(RT_DIALOG_ID, IDD_SPEECH_SETTING, content_resources::kSpeechDialog), \
        ResourceEntry(RT_STRING_ID, 3, content_resources::kStrings),
