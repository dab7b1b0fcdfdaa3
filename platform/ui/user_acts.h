// What a user does to a dialog, turned into the messages its handlers get.
// Both backends use these: the scripted one for answer steps, the on-screen
// one for real input. Each returns an empty text on success, or what made
// the act impossible (no such control, disabled, hidden, wrong kind, a
// value the control cannot take).
#pragma once

#include <string>

#include "platform/ui/ui_types.h"

// Types a text into an edit (replacing it) and notifies EN_CHANGE; into a
// combo box's edit part, notifying CBN_EDITUPDATE and CBN_EDITCHANGE (no
// item stays selected).
std::string TypeText(HWND dialog, int id, const std::u16string& text);
// Ticks or unticks a check box; ticking a radio button unticks the others
// of its group. Notifies BN_CLICKED when the state changes.
std::string TickButton(HWND dialog, int id, bool tick);
// Chooses the item of a combo box or list box with exactly this text; a
// combo box's edit part then shows it.
std::string PickItem(HWND dialog, int id, const std::u16string& text);
// Moves a trackbar and notifies WM_HSCROLL.
std::string SlideTrackbar(HWND dialog, int id, int position);
// Selects row `row` (item index) of a list view or list box.
std::string SelectRow(HWND dialog, int id, int row);
// Double-clicks a row of a list view (NM_DBLCLK) or list box; -1 is a
// double-click below the rows.
std::string DoubleClickRow(HWND dialog, int id, int row);
// Presses a button (BN_CLICKED).
std::string PressButton(HWND dialog, int id);

enum class DialogKey { Enter, Escape };
// Enter presses the default button (IDOK when there is none; a beep when it
// is disabled); Escape sends IDCANCEL whether or not a Cancel button exists.
void PressDialogKey(HWND dialog, DialogKey key);
