// The save-login prompt: a submitted login form whose login is not stored
// yet is offered for saving; No holds for the rest of the page.
#include "addon/edit_html.h"
#include "addon/login/ask_save_login_dlg.h"

void CEditHtml::AskSaveLogin(IHTMLElement* element) {
    if (!m_bAskSaveLogin || m_bPromptDeclined) return;
    if (!EnsureDbOpen()) return;
    if (!CheckLoginForm(element) || !m_bPasswordHasValue || m_bLoginSaved) return;

    CAskSaveLogin dialog;
    const INT_PTR answer = dialog.DoModal(GetActiveWindow());
    if (answer == IDNO) {
        m_bPromptDeclined = 1;
        return;
    }
    if (answer != IDYES) return;
    if (dialog.m_bDontAskAgain) ChangeSettings([this] { m_bAskSaveLogin = 0; });
    SaveLoginData(element);
}
