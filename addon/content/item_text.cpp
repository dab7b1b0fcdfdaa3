// The item and table text commands: the text of the cell or table around
// the element under the mouse, saved, shown or spoken. Spoken text never
// carries the page address.
#include "addon/content/dom_reads.h"
#include "addon/content/enclosing_element.h"
#include "addon/content/text_output.h"
#include "addon/content/url_footer.h"
#include "addon/edit_html.h"

namespace {

enum ItemTextMode { kSaveText = 0, kShowText = 1, kSpeakText = 2 };

}  // namespace

void CEditHtml::ProcessItemText(IDispatch* element, const char16_t* tagName, int mode) {
    CComQIPtr<IHTMLElement> pointed(element);
    CComPtr<IHTMLElement> item;
    if (!pointed || FAILED(FindEnclosingElement(pointed, tagName, &item)) || !item) return;
    CComBSTR inner;
    if (FAILED(item->get_innerText(&inner))) return;
    std::u16string text = TextOf(inner);
    if (m_bAppendUrl && mode != kSpeakText) {
        std::u16string url;
        // Without its address the text is not given out at all.
        if (!ReadPageUrl(DocumentOf(pointed), url)) return;
        text += ItemUrlFooter(url);
    }
    switch (mode) {
        case kSaveText:
            SaveTextToFile(*this, text);
            break;
        case kShowText:
            ShowTextInNotepad(*this, text);
            break;
        case kSpeakText:
            SpeakText(text);
            break;
        default:
            break;
    }
}
