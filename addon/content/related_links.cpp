#include "addon/content/related_links.h"

#include <unordered_set>

#include "addon/content/dom_reads.h"
#include "addon/content/html_escape.h"
#include "addon/content/html_window.h"
#include "addon/content/popup_blocker.h"
#include "addon/edit_html.h"
#include "platform/win/format.h"

namespace {

bool TagEquals(IHTMLElement* element, const char16_t* name) {
    CComBSTR tag;
    CComBSTR wanted(name);
    return SUCCEEDED(element->get_tagName(&tag)) &&
           VarBstrCmp(tag, wanted, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
}

bool ReadHref(IDispatch* object, std::u16string& url) {
    CComQIPtr<IHTMLAnchorElement> anchor(object);
    CComBSTR href;
    if (!anchor || FAILED(anchor->get_href(&href))) return false;
    url = TextOf(href);
    return true;
}

// A new browser is newest-first before version 7, so its windows are
// opened from the last link to the first to end up in link order.
void OpenEachLink(IHTMLDocument2* document, const std::vector<std::u16string>& urls,
                  bool lastFirst) {
    for (std::size_t i = 0; i < urls.size(); ++i) {
        const std::u16string& url = urls[lastFirst ? urls.size() - 1 - i : i];
        if (!OpenNewWindow(document, url)) return;
    }
}

void OpenLinkPages(IHTMLDocument2* document, const std::vector<std::u16string>& urls) {
    const CComPtr<IHTMLDocument2> page = DocumentOfWindow(OpenNewWindow(document, u"about:blank"));
    if (page) WriteAndClose(page, LinkPagesDocument(urls));
}

}  // namespace

std::u16string LinkPrefix(const std::u16string& url) {
    const std::size_t slash = url.rfind(u'/');
    return slash == std::u16string::npos ? std::u16string() : url.substr(0, slash);
}

CComPtr<IHTMLElement> LinkContainer(IHTMLElement* link) {
    CComPtr<IHTMLElement> current;
    if (!link || FAILED(link->get_parentElement(&current)) || !current) return nullptr;
    for (;;) {
        CComBSTR tag;
        if (FAILED(current->get_tagName(&tag))) return current;
        const std::u16string name = TextOf(tag);
        if (name == u"BODY" || name == u"TABLE") return current;
        CComPtr<IHTMLElement> parent;
        if (FAILED(current->get_parentElement(&parent)) || !parent) return current;
        current = parent;
    }
}

std::vector<std::u16string> RelatedLinks(IHTMLElement* container, const std::u16string& prefix,
                                         std::size_t maxLinks) {
    std::vector<std::u16string> links;
    CComQIPtr<IHTMLElement2> scope(container);
    CComPtr<IHTMLElementCollection> anchors;
    CComBSTR tag(u"A");
    long count = 0;
    if (!scope || FAILED(scope->getElementsByTagName(tag, &anchors)) || !anchors ||
        FAILED(anchors->get_length(&count)))
        return links;
    std::unordered_set<std::u16string> taken;
    for (long i = 0; i < count; ++i) {
        CComVariant index(static_cast<int>(i));
        CComPtr<IDispatch> item;
        std::u16string url;
        if (FAILED(anchors->item(index, index, &item)) || !item || !ReadHref(item, url)) continue;
        if (url.compare(0, prefix.size(), prefix) != 0) continue;
        if (taken.insert(url).second) links.push_back(url);
        if (links.size() >= maxLinks) break;
    }
    return links;
}

std::u16string FrameColumnWidths(std::size_t n) {
    if (n <= 1) return u"100%";
    const long others = static_cast<long>(n - 1);
    const long each = 20 / others;
    const long last = 20 - others * each + each;
    std::u16string widths = FormatPattern(u"%d%%", 80);
    for (long i = 0; i < others - 1; ++i) widths += FormatPattern(u", %d%%", each);
    return widths + FormatPattern(u", %d%%", last);
}

std::u16string LinkPagesDocument(const std::vector<std::u16string>& urls) {
    std::u16string page = u"<HTML><HEAD><TITLE>";
    page += kLinkPagesTitle;
    page += u"</TITLE></HEAD><FRAMESET cols=\"" + FrameColumnWidths(urls.size()) + u"\">";
    for (const std::u16string& url : urls) page += u"<FRAME src=\"" + EscapeHtml(url) + u"\">";
    return page + u"</FRAMESET></HTML>";
}

void CEditHtml::ProcessRelatedLinks(IDispatch* element, int mode) {
    CComQIPtr<IHTMLElement> link(element);
    CComPtr<IHTMLDocument2> document = DocumentOf(link);
    std::u16string href;
    if (!document || !TagEquals(link, u"A") || !ReadHref(link, href)) return;
    CComPtr<IHTMLElement> container = LinkContainer(link);
    if (!container) return;
    const std::vector<std::u16string> urls =
        RelatedLinks(container, LinkPrefix(href), static_cast<std::size_t>(m_nMaxLinks));
    if (urls.empty()) return;
    PopupBlockerSwitch blocker;
    if (mode == 0)
        OpenEachLink(document, urls, m_nIEVersion < 7);
    else if (mode == 1)
        OpenLinkPages(document, urls);
}
