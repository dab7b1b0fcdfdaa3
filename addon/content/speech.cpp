// Reading text aloud with the window's voice. A new text always interrupts
// the old one, and a voice left paused starts on the new text at once.
#include "addon/content/dom_reads.h"
#include "addon/content/option_tts_dlg.h"
#include "addon/edit_html.h"

void CEditHtml::SpeakText(const std::u16string& text) {
    if (!m_spVoice) return;
    m_spVoice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    m_spVoice->Speak(text.c_str(), SPF_ASYNC, nullptr);
    m_spVoice->Resume();
}

void CEditHtml::SpeakPageText(IDispatch* element) {
    CEditHtmlHold hold(this);
    CComQIPtr<IHTMLElement> html(element);
    CComPtr<IHTMLDocument2> document = html ? DocumentOf(html) : nullptr;
    CComPtr<IHTMLElement> body;
    CComBSTR text;
    if (!document || FAILED(document->get_body(&body)) || !body ||
        FAILED(body->get_innerText(&text)))
        return;
    SpeakText(TextOf(text));
}

void CEditHtml::ShowSpeechSettings() {
    CEditHtmlHold hold(this);
    COptionTtsDlg dialog(m_spVoice);
    dialog.DoModal(GetActiveWindow());
}
