// The one place where a command id becomes a call into a feature.
#include "addon/edit_html.h"
#include "addon/farrow_module.h"
#include "addon/resources/resource_ids.h"
#include "platform/ui/shell_execute.h"

bool CEditHtml::DispatchCommand(UINT id, IDispatch* element) {
    CEditHtmlHold hold(this);
    switch (id) {
        case ID_OPEN_IN_NEW_TAB:
            OpenInNewTab(element);
            break;
        case ID_SPEAK_PAGE:
            SpeakPageText(element);
            break;
        case ID_SAVE_SELECTION:
            SaveSelectionText(element);
            break;
        case ID_OPTIONS:
            ShowOptions();
            break;
        case ID_PRINT_ITEM:
            ShowItemView(element, true);
            break;
        case ID_ABOUT:
            ShowAbout();
            break;
        case ID_SAVE_TABLE_TEXT:
            ProcessItemText(element, u"TABLE", 0);
            break;
        case ID_SHOW_TABLE_ITEMS:
            ShowTableItems(element);
            break;
        case ID_SHOW_ITEM:
            ShowItemView(element, false);
            break;
        case ID_SHOW_TABLE_TEXT:
            ProcessItemText(element, u"TABLE", 1);
            break;
        case ID_SHOW_ITEM_TEXT:
            ProcessItemText(element, u"TD", 1);
            break;
        case ID_SPEAK_ITEM:
            ProcessItemText(element, u"TD", 2);
            break;
        case ID_SPEECH_SETTING:
            ShowSpeechSettings();
            break;
        case ID_SPEAK_SELECTION:
            SpeakText(m_bstrSelection.m_str
                          ? std::u16string(m_bstrSelection.m_str, m_bstrSelection.Length())
                          : std::u16string());
            break;
        case ID_SEARCH_SELECTION:
            SearchSelection();
            break;
        case ID_SHOW_WITHOUT_STYLE:
            ShowWithoutStyle(element);
            break;
        case ID_SHOW_OTHER_LINKS:
            ProcessRelatedLinks(element, 0);
            break;
        case ID_SAVE_LINKS_TEXT:
            ProcessRelatedLinks(element, 1);
            break;
        case ID_SPEAK_CONTROL:
            SpeakControl();
            break;
        case ID_SAVE_ITEM_TEXT:
            ProcessItemText(element, u"TD", 0);
            break;
        case ID_SAVE_LOGIN:
            SaveLoginData(element);
            break;
        case ID_FILL_LOGIN:
            FillLoginData(element);
            break;
        case ID_DELETE_LOGIN:
            DeleteLoginData(element);
            break;
        case ID_INPUT_LOGIN:
            StartLoginTool();
            break;
        case ID_GO_SITES:
            GoRegisteredSites();
            break;
        case ID_SAVE_FORM:
            SaveFormData(element);
            break;
        case ID_FILL_FORM:
            FillFormData(element);
            break;
        default:
            return false;
    }
    return true;
}

void CEditHtml::OpenInNewTab(IDispatch* element) {
    CComQIPtr<IHTMLElement> html(element);
    CComPtr<IDispatch> document;
    if (!html || FAILED(html->get_document(&document)) || !CComQIPtr<IHTMLDocument2>(document))
        return;
    CComQIPtr<IHTMLAnchorElement> anchor(element);
    CComBSTR href;
    if (!anchor || FAILED(anchor->get_href(&href)) || !m_spWebBrowser) return;
    CComVariant flags(static_cast<int>(navOpenInNewTab));
    CComVariant none1, none2, none3;
    m_spWebBrowser->Navigate(href, &flags, &none1, &none2, &none3);
}

void CEditHtml::SpeakControl() {
    SPVOICESTATUS status{};
    if (!m_spVoice || FAILED(m_spVoice->GetStatus(&status, nullptr))) return;
    if (status.dwRunningState == SPRS_IS_SPEAKING)
        m_spVoice->Pause();
    else if (status.dwRunningState != SPRS_DONE)
        m_spVoice->Resume();
}

void CEditHtml::StartLoginTool() {
    ShellExecuteW(nullptr, nullptr, _AtlModule.m_strToolPath.c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}
