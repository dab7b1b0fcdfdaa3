// The Speech setting dialog: the voice, volume and rate of one window's
// voice object, for as long as that window lives.
#pragma once

#include <string>

#include "addon/content/content_ids.h"
#include "platform/sapi/sapi.h"
#include "platform/ui/atl_dialog.h"

class COptionTtsDlg : public CDialogImpl<COptionTtsDlg> {
public:
    enum { IDD = IDD_SPEECH_SETTING };

    explicit COptionTtsDlg(ISpVoice* voice) : m_spVoice(voice) {}

    BEGIN_MSG_MAP(COptionTtsDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

    CComPtr<ISpVoice> m_spVoice;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    void FillVoices();
    ISpObjectToken* TokenOfItem(LRESULT item);
};

// A voice's description in the user's interface language (the token's
// value named by the language id in upper-case hexadecimal, "409"), or its
// default description.
std::u16string VoiceDescription(ISpObjectToken* token);
