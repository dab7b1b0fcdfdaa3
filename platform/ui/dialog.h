// The dialog manager: modal dialogs built from dialog templates, owned by a
// window, with their controls addressed by id.
#pragma once

#include "platform/ui/resource_templates.h"
#include "platform/ui/ui_types.h"

// Creates the dialog and its controls, sends WM_INITDIALOG (lParam = init),
// lets the backend run it until EndDialog, sends WM_DESTROY and returns the
// EndDialog result. -1 when the template is missing or the dialog could
// not be run to its end. The owner is disabled while the dialog runs.
INT_PTR DialogBoxParamW(HINSTANCE module, LPCWSTR templateName, HWND owner, DLGPROC proc,
                        LPARAM init);
INT_PTR DialogBoxIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM init);
// The dialog's template in a module, or null with the resource error.
const DialogTemplate* LoadDialogTemplate(HINSTANCE module, LPCWSTR templateName);

BOOL EndDialog(HWND dialog, INT_PTR result);
// Whether EndDialog was called on a dialog that is still running.
bool IsDialogEnded(HWND dialog);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// Blanks around the number are allowed; anything else, or a value out of
// range, gives 0 with *translated FALSE.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
// The radio button after `button` in its group (a group starts at a
// control with WS_GROUP), or null.
HWND NextRadioInGroup(HWND dialog, HWND button);
// Dialog units to pixels with the dialog's font.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
