// "Save Text of Selection...": the page's selection as it is now (not the
// one captured when the menu opened), saved like item text.
#include "addon/content/dom_reads.h"
#include "addon/content/selection_text.h"
#include "addon/content/text_output.h"
#include "addon/content/url_footer.h"
#include "addon/edit_html.h"
#include "platform/ui/message_box.h"

void CEditHtml::SaveSelectionText(IDispatch* element) {
    CComQIPtr<IHTMLElement> pointed(element);
    CComPtr<IHTMLDocument2> document = DocumentOf(pointed);
    CComBSTR selection;
    if (!document || FAILED(GetSelectionText(document, &selection))) return;
    std::u16string text = TextOf(selection);
    if (text.empty()) {
        MessageBoxW(m_hDocWnd, u"No selection is in the current page.", u"Kestro - Save selection",
                    MB_OK);
        return;
    }
    if (m_bAppendUrl) {
        std::u16string url;
        if (!ReadPageUrl(document, url)) return;
        text += ItemUrlFooter(url);
    }
    SaveTextToFile(*this, text);
}
