// The page content commands of the add-on object. They do nothing yet.
#include "addon/edit_html.h"

void CEditHtml::ProcessItemText(IDispatch*, const char16_t*, int) {}
void CEditHtml::SaveSelectionText(IDispatch*) {}
void CEditHtml::ShowItemView(IDispatch*, bool) {}
void CEditHtml::ShowTableItems(IDispatch*) {}
void CEditHtml::ShowWithoutStyle(IDispatch*) {}
void CEditHtml::ProcessRelatedLinks(IDispatch*, int) {}
void CEditHtml::OnLinkPagesComplete(IDispatch*) {}
void CEditHtml::SaveFormData(IDispatch*) {}
void CEditHtml::FillFormData(IDispatch*) {}
void CEditHtml::SpeakText(const std::u16string&) {}
void CEditHtml::SpeakPageText(IDispatch*) {}
void CEditHtml::ShowSpeechSettings() {}
void CEditHtml::SearchSelection() {}
