#include "addon/login/site_key.h"

#include <vector>

#include "addon/login/login_text.h"

using namespace login;

namespace {

// Labels as a tokenizer splits them: leading, trailing and doubled dots
// give no empty labels.
std::vector<std::u16string> Labels(const std::u16string& host) {
    std::vector<std::u16string> labels;
    std::size_t start = 0;
    while (start <= host.size()) {
        const std::size_t dot = host.find(u'.', start);
        const std::size_t end = dot == std::u16string::npos ? host.size() : dot;
        if (end > start) labels.push_back(host.substr(start, end - start));
        if (dot == std::u16string::npos) break;
        start = dot + 1;
    }
    return labels;
}

// The length of the text after the last dot (the whole text without one).
std::size_t LastPartLength(const std::u16string& text) {
    const std::size_t dot = text.rfind(u'.');
    return dot == std::u16string::npos ? text.size() : text.size() - dot - 1;
}

// The text before the last dot; empty without one.
std::u16string BeforeLastDot(const std::u16string& text) {
    const std::size_t dot = text.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string() : text.substr(0, dot);
}

}  // namespace

std::u16string GetLocationHostName(IHTMLDocument2* document, std::u16string* url) {
    CComPtr<IHTMLLocation> location;
    CComBSTR host;
    if (!document || FAILED(document->get_location(&location)) || !location ||
        FAILED(location->get_hostname(&host)))
        return {};
    std::u16string name = BstrText(host);
    if (name.empty()) return {};
    CComBSTR href;
    if (url && SUCCEEDED(location->get_href(&href))) *url = BstrText(href);
    return name;
}

std::u16string GetDocumentDomain(IDispatch* element, std::u16string* url) {
    CComQIPtr<IHTMLElement> html(element);
    CComPtr<IDispatch> document;
    if (!html || FAILED(html->get_document(&document)) || !document) return {};
    CComQIPtr<IHTMLDocument2> page(document);
    return GetLocationHostName(page, url);
}

std::u16string GetCoreDomainName(const std::u16string& host) {
    const std::vector<std::u16string> labels = Labels(host);
    if (labels.empty()) return {};
    long position = static_cast<long>(labels.size()) - 1;
    if (labels[position].size() == 2) --position;
    if (position < 0) return host;
    if (position > 0) --position;
    return labels[position];
}

std::u16string GetSiteDisplayName(const std::u16string& host) {
    std::u16string name = host;
    if (name.compare(0, 3, u"www") == 0) {
        const std::size_t dot = name.find(u'.');
        if (dot != std::u16string::npos) name.erase(0, dot + 1);
    }
    if (LastPartLength(name) == 2) name = BeforeLastDot(name);
    if (LastPartLength(name) <= 3) name = BeforeLastDot(name);
    const std::size_t first = name.find(u'.');
    if (!name.empty() && first != std::u16string::npos && first > 0) name.erase(0, first + 1);
    return name;
}
