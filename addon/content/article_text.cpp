#include "addon/content/article_text.h"

#include <vector>

#include "addon/content/dom_reads.h"
#include "addon/content/url_footer.h"

namespace {

long TextLength(IHTMLDOMNode* node) {
    long type = 0;
    if (FAILED(node->get_nodeType(&type)) || type != kNodeTypeText) return 0;
    CComQIPtr<IHTMLDOMTextNode> text(node);
    long length = 0;
    return text && SUCCEEDED(text->get_length(&length)) ? length : 0;
}

bool IsBlockName(IHTMLDOMNode* node) {
    CComBSTR name;
    if (FAILED(node->get_nodeName(&name))) return false;
    const std::u16string text = TextOf(name);
    return text == u"TD" || text == u"BODY";
}

// Up from the node to the nearest "TD" or "BODY"; the top node when there
// is neither.
CComPtr<IHTMLDOMNode> ClimbToBlock(CComPtr<IHTMLDOMNode> node) {
    while (!IsBlockName(node)) {
        CComPtr<IHTMLDOMNode> parent;
        if (FAILED(node->get_parentNode(&parent)) || !parent) break;
        node = parent;
    }
    return node;
}

}  // namespace

bool FindLongestTextNode(IHTMLDOMNode* root, CComPtr<IHTMLDOMNode>& parent) {
    if (!root) return false;
    std::vector<CComPtr<IHTMLDOMNode>> pending{CComPtr<IHTMLDOMNode>(root)};
    CComPtr<IHTMLDOMNode> best;
    long bestLength = 0;
    while (!pending.empty()) {
        CComPtr<IHTMLDOMNode> node = std::move(pending.back());
        pending.pop_back();
        if (const long length = TextLength(node); length > bestLength) {
            best = node;
            bestLength = length;
        }
        CComPtr<IHTMLDOMNode> next, child;
        if (SUCCEEDED(node->get_nextSibling(&next)) && next) pending.push_back(std::move(next));
        if (SUCCEEDED(node->get_firstChild(&child)) && child) pending.push_back(std::move(child));
    }
    parent.Release();
    return best && SUCCEEDED(best->get_parentNode(&parent)) && parent;
}

bool GetArticleText(IHTMLDocument2* document, bool appendUrl, std::u16string& text) {
    CComPtr<IHTMLElement> body;
    if (!document || FAILED(document->get_body(&body)) || !body) return false;
    CComQIPtr<IHTMLDOMNode> bodyNode(body);
    CComPtr<IHTMLDOMNode> parent;
    if (!bodyNode || !FindLongestTextNode(bodyNode, parent)) return false;
    CComQIPtr<IHTMLElement> block(ClimbToBlock(parent));
    CComBSTR inner;
    if (!block || FAILED(block->get_innerText(&inner))) return false;
    text = TextOf(inner);
    if (!appendUrl) return true;
    std::u16string url;
    if (!ReadPageUrl(document, url)) return false;
    text += LinkPageUrlFooter(url);
    return true;
}
