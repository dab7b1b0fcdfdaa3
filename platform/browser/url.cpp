#include "platform/browser/url.h"

#include <vector>

#include "platform/win/text.h"

namespace browser {

namespace {

bool IsSchemeChar(char16_t c, bool first) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    return !first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.');
}

// Length of the scheme at the start of text (0 when there is none).
std::size_t SchemeLength(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ':') return i > 1 ? i : 0;  // "c:" is a drive letter, not a scheme
        if (!IsSchemeChar(text[i], i == 0)) return 0;
    }
    return 0;
}

std::u16string Trimmed(std::u16string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && text[first] <= ' ') ++first;
    while (last > first && text[last - 1] <= ' ') --last;
    std::u16string out;
    for (char16_t c : text.substr(first, last - first))
        if (c != '\t' && c != '\n' && c != '\r') out.push_back(c);
    return out;
}

bool IsHierarchical(std::u16string_view scheme) {
    return scheme == u"http" || scheme == u"https" || scheme == u"file" || scheme == u"ftp";
}

std::u16string LowerHost(std::u16string_view authority) {
    const std::size_t at = authority.rfind('@');
    const std::size_t hostStart = at == std::u16string_view::npos ? 0 : at + 1;
    std::u16string out(authority.substr(0, hostStart));
    out += WideLower(authority.substr(hostStart));
    return out;
}

// Splits "?query#fragment" off the end of rest into url.
void SplitQueryAndFragment(std::u16string_view& rest, Url& url) {
    if (const std::size_t hash = rest.find('#'); hash != std::u16string_view::npos) {
        url.hasFragment = true;
        url.fragment = std::u16string(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    if (const std::size_t mark = rest.find('?'); mark != std::u16string_view::npos) {
        url.hasQuery = true;
        url.query = std::u16string(rest.substr(mark + 1));
        rest = rest.substr(0, mark);
    }
}

std::u16string RemoveDotSegments(std::u16string_view path) {
    std::vector<std::u16string_view> segments;
    const bool absolute = !path.empty() && path.front() == '/';
    std::size_t pos = absolute ? 1 : 0;
    bool trailingSlash = false;
    while (pos <= path.size()) {
        const std::size_t slash = path.find('/', pos);
        const std::u16string_view segment =
            path.substr(pos, slash == std::u16string_view::npos ? path.npos : slash - pos);
        trailingSlash = false;
        if (segment == u"..") {
            if (!segments.empty()) segments.pop_back();
            trailingSlash = true;
        } else if (segment == u".") {
            trailingSlash = true;
        } else {
            segments.push_back(segment);
        }
        if (slash == std::u16string_view::npos) break;
        pos = slash + 1;
    }
    std::u16string out = absolute ? u"/" : u"";
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i) out.push_back('/');
        out += segments[i];
    }
    if (trailingSlash && !segments.empty()) out.push_back('/');
    return out;
}

std::u16string MergePaths(const Url& base, std::u16string_view reference) {
    if (base.hasAuthority && base.path.empty()) return u"/" + std::u16string(reference);
    const std::size_t slash = base.path.rfind('/');
    if (slash == std::u16string::npos) return std::u16string(reference);
    return base.path.substr(0, slash + 1) + std::u16string(reference);
}

}  // namespace

Url ParseUrl(std::u16string_view input) {
    std::u16string text = Trimmed(input);
    Url url;
    const std::size_t schemeLength = SchemeLength(text);
    if (schemeLength == 0) {
        // A local path: "/tmp/a.html" or "C:\dir\a.html".
        for (char16_t& c : text)
            if (c == '\\') c = '/';
        url.scheme = u"file";
        url.hasAuthority = true;
        url.path = text.empty() || text.front() == '/' ? text : u"/" + text;
        return url;
    }
    url.scheme = WideLower(std::u16string_view(text).substr(0, schemeLength));
    std::u16string rest16 = text.substr(schemeLength + 1);
    if (IsHierarchical(url.scheme))
        for (char16_t& c : rest16)
            if (c == '\\') c = '/';
    std::u16string_view rest = rest16;
    if (!IsHierarchical(url.scheme) && rest.substr(0, 2) != u"//") {
        url.path = std::u16string(rest);  // "javascript:...", "about:blank", "mailto:..."
        return url;
    }
    SplitQueryAndFragment(rest, url);
    if (rest.substr(0, 2) == u"//") {
        url.hasAuthority = true;
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        url.authority = LowerHost(rest.substr(0, slash));
        rest = slash == std::u16string_view::npos ? std::u16string_view() : rest.substr(slash);
    }
    url.path = RemoveDotSegments(rest);
    if (url.hasAuthority && url.path.empty() && url.scheme != u"file") url.path = u"/";
    return url;
}

std::u16string Url::ToString() const {
    std::u16string out = scheme + u":";
    if (hasAuthority) out += u"//" + authority;
    out += path;
    if (hasQuery) out += u"?" + query;
    if (hasFragment) out += u"#" + fragment;
    return out;
}

std::u16string Url::Host() const {
    const std::size_t at = authority.rfind('@');
    return at == std::u16string::npos ? authority : authority.substr(at + 1);
}

std::u16string Url::HostName() const {
    const std::u16string host = Host();
    if (!host.empty() && host.front() == '[') {
        const std::size_t close = host.find(']');
        return close == std::u16string::npos ? host : host.substr(0, close + 1);
    }
    return host.substr(0, host.find(':'));
}

std::u16string Url::Port() const {
    const std::u16string host = Host();
    const std::size_t close = host.rfind(']');
    const std::size_t colon = host.find(':', close == std::u16string::npos ? 0 : close);
    return colon == std::u16string::npos ? std::u16string() : host.substr(colon + 1);
}

std::u16string ResolveUrl(std::u16string_view baseText, std::u16string_view referenceText) {
    const std::u16string reference = Trimmed(referenceText);
    if (SchemeLength(reference) > 0) {
        const Url absolute = ParseUrl(reference);
        // "http:page.html" in an http page is relative, as browsers read it.
        const Url base = ParseUrl(baseText);
        if (!(absolute.scheme == base.scheme && IsHierarchical(base.scheme) &&
              reference.find(u"//") != SchemeLength(reference) + 1))
            return absolute.ToString();
    }
    const Url base = ParseUrl(baseText);
    if (!IsHierarchical(base.scheme) && !base.hasAuthority) return reference;
    std::u16string ref = reference;
    if (SchemeLength(ref) > 0) ref = ref.substr(SchemeLength(ref) + 1);
    for (char16_t& c : ref)
        if (c == '\\') c = '/';
    Url target;
    target.scheme = base.scheme;
    std::u16string_view rest = ref;
    Url parts;
    SplitQueryAndFragment(rest, parts);
    if (rest.substr(0, 2) == u"//") {
        return ParseUrl(base.scheme + u":" + ref).ToString();
    }
    target.hasAuthority = base.hasAuthority;
    target.authority = base.authority;
    if (rest.empty()) {
        target.path = base.path;
        target.hasQuery = parts.hasQuery || base.hasQuery;
        target.query = parts.hasQuery ? parts.query : base.query;
    } else {
        target.path = rest.front() == '/' ? RemoveDotSegments(rest)
                                          : RemoveDotSegments(MergePaths(base, rest));
        target.hasQuery = parts.hasQuery;
        target.query = parts.query;
    }
    target.hasFragment = parts.hasFragment;
    target.fragment = parts.fragment;
    return target.ToString();
}

bool IsScriptUrl(std::u16string_view text) {
    std::size_t start = 0;
    while (start < text.size() && text[start] <= ' ') ++start;
    return WideLower(text.substr(start, 11)) == u"javascript:";
}

}  // namespace browser
