// The login commands of the add-on object. They do nothing yet: the menus
// offer them, and CheckLoginForm reports no login form, so the login items
// stay disabled.
#include "addon/edit_html.h"

void CEditHtml::SaveLoginData(IDispatch*) {}
void CEditHtml::FillLoginData(IDispatch*) {}
void CEditHtml::DeleteLoginData(IDispatch*) {}
void CEditHtml::GoRegisteredSites() {}
void CEditHtml::AutoLogin(IHTMLDocument2*) {}
void CEditHtml::AskSaveLogin(IHTMLElement*) {}

bool CEditHtml::CheckLoginForm(IDispatch*) {
    return false;
}
