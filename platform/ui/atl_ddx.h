// WTL-style data exchange between a dialog's controls and its members:
//
//     BEGIN_DDX_MAP(COptionDlg)
//         DDX_CHECK(201, m_bAppendUrl)
//         DDX_TEXT(217, m_strDefaultSaveFolder)
//         DDX_INT(220, m_nMaxLinks)
//         DDX_RADIO(206, m_nChoice)
//     END_DDX_MAP()
//
// DoDataExchange(FALSE) loads the controls; DoDataExchange(TRUE) saves them
// into the members and stops at the first control whose text is not a
// number, after OnDataExchangeError (a beep and the focus on it).
#pragma once

#include <string>

#include "platform/ui/atl_window.h"
#include "platform/ui/dialog.h"

#define BEGIN_DDX_MAP(thisClass)                                                 \
    BOOL DoDataExchange(BOOL bSaveAndValidate = FALSE, UINT nCtlID = (UINT)-1) { \
        (void)nCtlID;

#define DDX_TEXT(nID, var) \
    if (!this->DDX_Text(nID, var, bSaveAndValidate)) return FALSE;
#define DDX_INT(nID, var) \
    if (!this->DDX_Int(nID, var, TRUE, bSaveAndValidate)) return FALSE;
#define DDX_UINT(nID, var) \
    if (!this->DDX_Int(nID, var, FALSE, bSaveAndValidate)) return FALSE;
#define DDX_CHECK(nID, var) this->DDX_Check(nID, var, bSaveAndValidate);
#define DDX_RADIO(nID, var) this->DDX_Radio(nID, var, bSaveAndValidate);

#define END_DDX_MAP() \
    return TRUE;      \
    }

template <class T>
class CWinDataExchange {
public:
    BOOL DDX_Text(UINT id, std::u16string& value, BOOL save) {
        const HWND control = ::GetDlgItem(Window(), static_cast<int>(id));
        if (!save) {
            ::SetWindowTextW(control, value.c_str());
            return TRUE;
        }
        value.assign(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, u'\0');
        value.resize(static_cast<std::size_t>(
            ::GetWindowTextW(control, value.data(), static_cast<int>(value.size()))));
        return TRUE;
    }

    template <typename Integer>
    BOOL DDX_Int(UINT id, Integer& value, BOOL isSigned, BOOL save) {
        if (!save) {
            ::SetDlgItemInt(Window(), static_cast<int>(id), static_cast<UINT>(value), isSigned);
            return TRUE;
        }
        BOOL translated = FALSE;
        const UINT read = ::GetDlgItemInt(Window(), static_cast<int>(id), &translated, isSigned);
        if (!translated) {
            static_cast<T*>(this)->OnDataExchangeError(id, save);
            return FALSE;
        }
        value = static_cast<Integer>(isSigned ? static_cast<Integer>(static_cast<INT>(read))
                                              : static_cast<Integer>(read));
        return TRUE;
    }

    template <typename Flag>
    void DDX_Check(UINT id, Flag& value, BOOL save) {
        const HWND control = ::GetDlgItem(Window(), static_cast<int>(id));
        if (save) {
            value = static_cast<Flag>(::SendMessageW(control, BM_GETCHECK, 0, 0));
        } else {
            ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
        }
    }

    // The radio group that starts at `id`: the index of the checked button,
    // -1 when none is.
    void DDX_Radio(UINT id, int& value, BOOL save) {
        const HWND dialog = Window();
        const HWND first = ::GetDlgItem(dialog, static_cast<int>(id));
        if (!first) return;
        int index = 0;
        if (save) value = -1;
        for (HWND button = first; button; button = NextInGroup(dialog, button), ++index) {
            if (save) {
                if (::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageW(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED,
                               0);
            }
        }
    }

    void OnDataExchangeError(UINT id, BOOL /*save*/) {
        ::MessageBeep(static_cast<UINT>(-1));
        ::SetFocus(::GetDlgItem(Window(), static_cast<int>(id)));
    }

private:
    HWND Window() { return static_cast<T*>(this)->m_hWnd; }

    // The next radio button of the same group in control order.
    static HWND NextInGroup(HWND dialog, HWND button) { return NextRadioInGroup(dialog, button); }
};
