// The browser's pop-up blocker switched off while the add-on opens its own
// windows, and back on afterwards.
#pragma once

#include "platform/win/win_types.h"

// Made: writes 0 to the user's "PopupMgr" value when it exists as a
// REG_DWORD (nothing else is ever created or changed). Restore, or the
// end of the guard, writes the old value back, but only while the value
// still reads the 0 written here: another window may have switched it
// meanwhile, and that choice stays.
class PopupBlockerSwitch {
public:
    PopupBlockerSwitch();
    ~PopupBlockerSwitch() { Restore(); }
    PopupBlockerSwitch(const PopupBlockerSwitch&) = delete;
    PopupBlockerSwitch& operator=(const PopupBlockerSwitch&) = delete;

    void Restore();

private:
    DWORD m_dwSaved = 0;
    bool m_bRestore = false;
};
