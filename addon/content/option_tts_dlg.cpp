#include "addon/content/option_tts_dlg.h"

#include "platform/com/class_factory.h"
#include "platform/ui/control_messages.h"
#include "platform/win/module.h"
#include "platform/win/user_locale.h"

namespace {

constexpr LONG kPageSize = 5;

// The interface language, asked of kernel32 by name as older systems
// may lack the call.
LANGID InterfaceLanguage() {
    using LanguageCall = LANGID (*)();
    HMODULE kernel = GetModuleHandleW(u"kernel32.dll");
    auto call =
        kernel ? reinterpret_cast<LanguageCall>(GetProcAddress(kernel, "GetUserDefaultUILanguage"))
               : nullptr;
    return call ? call() : GetUserDefaultLangID();
}

std::u16string HexName(unsigned value) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text;
    do {
        text.insert(text.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value);
    return text;
}

std::u16string TaskText(LPWSTR text) {
    std::u16string copy = text ? text : u"";
    CoTaskMemFree(text);
    return copy;
}

std::u16string TokenId(ISpObjectToken* token) {
    LPWSTR id = nullptr;
    if (!token || FAILED(token->GetId(&id))) return {};
    return TaskText(id);
}

}  // namespace

std::u16string VoiceDescription(ISpObjectToken* token) {
    if (!token) return {};
    LPWSTR text = nullptr;
    const std::u16string language = HexName(InterfaceLanguage());
    HRESULT hr = token->GetStringValue(language.c_str(), &text);
    if (hr == SPERR_NOT_FOUND) hr = token->GetStringValue(nullptr, &text);
    return SUCCEEDED(hr) ? TaskText(text) : std::u16string();
}

LRESULT COptionTtsDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_spVoice) {
        LONG rate = 0;
        USHORT volume = 0;
        m_spVoice->GetRate(&rate);
        m_spVoice->GetVolume(&volume);
        FillVoices();
        SendDlgItemMessage(
            IDC_SPEECH_RATE, TBM_SETRANGE, TRUE,
            MAKELPARAM(static_cast<WORD>(SPMIN_RATE), static_cast<WORD>(SPMAX_RATE)));
        SendDlgItemMessage(IDC_SPEECH_RATE, TBM_SETPOS, TRUE, rate);
        SendDlgItemMessage(IDC_SPEECH_RATE, TBM_SETPAGESIZE, 0, kPageSize);
        SendDlgItemMessage(IDC_SPEECH_VOLUME, TBM_SETRANGE, TRUE, MAKELPARAM(0, SPMAX_VOLUME));
        SendDlgItemMessage(IDC_SPEECH_VOLUME, TBM_SETPOS, TRUE, volume);
        SendDlgItemMessage(IDC_SPEECH_VOLUME, TBM_SETPAGESIZE, 0, kPageSize);
    }
    CenterWindow(GetParent());
    return TRUE;
}

// Every installed voice by its description, the current one selected (no
// item when its description is not among them).
void COptionTtsDlg::FillVoices() {
    CComPtr<ISpObjectTokenCategory> category;
    CComPtr<IEnumSpObjectTokens> tokens;
    if (SUCCEEDED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                   IID_ISpObjectTokenCategory,
                                   reinterpret_cast<void**>(&category))) &&
        SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE)) &&
        SUCCEEDED(category->EnumTokens(nullptr, nullptr, &tokens))) {
        bool first = true;
        for (ISpObjectToken* token = nullptr; tokens->Next(1, &token, nullptr) == S_OK;
             token = nullptr) {
            const std::u16string description = VoiceDescription(token);
            const LRESULT item = SendDlgItemMessage(IDC_SPEECH_VOICE, CB_ADDSTRING, 0,
                                                    reinterpret_cast<LPARAM>(description.c_str()));
            if (item < 0) {
                token->Release();
                continue;
            }
            // The item keeps the token's reference until the dialog goes.
            SendDlgItemMessage(IDC_SPEECH_VOICE, CB_SETITEMDATA, static_cast<WPARAM>(item),
                               reinterpret_cast<LPARAM>(token));
            if (first)
                SendDlgItemMessage(IDC_SPEECH_VOICE, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
            first = false;
        }
    }
    CComPtr<ISpObjectToken> current;
    m_spVoice->GetVoice(&current);
    const std::u16string currentDescription = VoiceDescription(current);
    const LRESULT count = SendDlgItemMessage(IDC_SPEECH_VOICE, CB_GETCOUNT, 0, 0);
    LRESULT chosen = count;
    for (LRESULT i = 0; i < count && chosen == count; ++i) {
        const LRESULT length = SendDlgItemMessage(IDC_SPEECH_VOICE, CB_GETLBTEXTLEN, i, 0);
        std::u16string text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, u'\0');
        SendDlgItemMessage(IDC_SPEECH_VOICE, CB_GETLBTEXT, i,
                           reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
        if (text == currentDescription) chosen = i;
    }
    SendDlgItemMessage(IDC_SPEECH_VOICE, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

ISpObjectToken* COptionTtsDlg::TokenOfItem(LRESULT item) {
    if (item < 0) return nullptr;
    const LRESULT data =
        SendDlgItemMessage(IDC_SPEECH_VOICE, CB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<ISpObjectToken*>(data);
}

LRESULT COptionTtsDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    if (m_spVoice) {
        ISpObjectToken* chosen =
            TokenOfItem(SendDlgItemMessage(IDC_SPEECH_VOICE, CB_GETCURSEL, 0, 0));
        CComPtr<ISpObjectToken> current;
        m_spVoice->GetVoice(&current);
        if (chosen && current && TokenId(chosen) != TokenId(current)) {
            m_spVoice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
            m_spVoice->SetVoice(chosen);
        }
        m_spVoice->SetVolume(
            static_cast<USHORT>(SendDlgItemMessage(IDC_SPEECH_VOLUME, TBM_GETPOS, 0, 0)));
        m_spVoice->SetRate(
            static_cast<LONG>(SendDlgItemMessage(IDC_SPEECH_RATE, TBM_GETPOS, 0, 0)));
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT COptionTtsDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT COptionTtsDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    const LRESULT count = SendDlgItemMessage(IDC_SPEECH_VOICE, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (ISpObjectToken* token = TokenOfItem(i)) {
            SendDlgItemMessage(IDC_SPEECH_VOICE, CB_SETITEMDATA, static_cast<WPARAM>(i), 0);
            token->Release();
        }
    handled = FALSE;
    return 0;
}
