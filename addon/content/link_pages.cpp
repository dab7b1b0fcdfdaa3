// The second step of "Save Text of Links...": the window showing the
// "Kestro Link Pages" frameset saves the main text of every frame and
// closes itself. It knows its task by the page title alone, so such a
// page is saved whichever way it was opened.
#include "addon/content/article_text.h"
#include "addon/content/dom_reads.h"
#include "addon/content/related_links.h"
#include "addon/content/text_output.h"
#include "addon/edit_html.h"

namespace {

bool IsLinkPagesWindow(IWebBrowser2* browser) {
    CComBSTR title;
    CComBSTR wanted(kLinkPagesTitle);
    return browser && SUCCEEDED(browser->get_LocationName(&title)) &&
           VarBstrCmp(title, wanted, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
}

bool HasFrames(IDispatch* document) {
    CComQIPtr<IHTMLDocument3> page(document);
    CComPtr<IHTMLElementCollection> frames;
    CComBSTR tag(u"FRAME");
    long count = 0;
    return page && SUCCEEDED(page->getElementsByTagName(tag, &frames)) && frames &&
           SUCCEEDED(frames->get_length(&count)) && count > 0;
}

// The main text of each frame's page, in frame order; false when a frame
// holds no HTML document, which cancels the whole save.
bool CollectFrameTexts(IOleContainer* container, bool appendUrl, std::u16string& collected) {
    CComPtr<IEnumUnknown> objects;
    if (FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, &objects)) || !objects) return false;
    for (;;) {
        CComPtr<IUnknown> object;
        if (objects->Next(1, &object, nullptr) != S_OK) return true;
        CComQIPtr<IWebBrowser2> frame(object);
        if (!frame) continue;
        CComPtr<IDispatch> document;
        if (FAILED(frame->get_Document(&document))) return false;
        CComQIPtr<IHTMLDocument2> page(document);
        if (!page) return false;
        std::u16string text;
        if (GetArticleText(page, appendUrl, text)) collected += text;
    }
}

void SaveLinkPagesText(CEditHtml& addOn, IDispatch* document) {
    CComQIPtr<IHTMLDocument2> page(document);
    CComQIPtr<IHTMLDocument3> tree(document);
    CComQIPtr<IOleContainer> container(document);
    std::u16string collected;
    if (!page || !tree || !container ||
        !CollectFrameTexts(container, addOn.m_bAppendUrl != 0, collected))
        return;
    SaveTextToFile(addOn, collected);
}

}  // namespace

void CEditHtml::OnLinkPagesComplete(IDispatch* document) {
    if (!IsLinkPagesWindow(m_spWebBrowser) || !HasFrames(document)) return;
    SaveLinkPagesText(*this, document);
    // Closed whether or not anything was saved, once the save is over.
    m_spWebBrowser->ExecWB(OLECMDID_CLOSE, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}
