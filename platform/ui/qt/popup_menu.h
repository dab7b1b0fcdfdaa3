// A menu of the model shown as a QMenu at a screen point.
#pragma once

#include "platform/ui/ui_types.h"

// Each popup's WM_INITMENUPOPUP goes to the owner's current procedure just
// before Qt shows it, and its items are read from the model after that.
// The chosen command id, or 0 when the menu was dismissed.
UINT RunPopupMenu(HMENU menu, HWND owner, POINT point);
