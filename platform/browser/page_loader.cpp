#include "platform/browser/page_loader.h"

#include <sys/stat.h>
#include <fstream>
#include <sstream>

#include "platform/browser/http_fetch.h"
#include "platform/browser/url.h"
#include "platform/win/effects_journal.h"
#include "platform/win/text.h"

namespace browser {

namespace {

int HexValue(char16_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A URL path with its %XX escapes decoded as UTF-8.
std::string DecodedPath(std::u16string_view path) {
    std::string out;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size()) {
            const int high = HexValue(path[i + 1]), low = HexValue(path[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out += Utf16ToUtf8(path.substr(i, 1));
    }
    return out;
}

std::string EscapeHtml(std::u16string_view text) {
    std::string out;
    for (char c : Utf16ToUtf8(text)) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else
            out.push_back(c);
    }
    return out;
}

LoadedPage ErrorPage(std::u16string_view url, std::string_view reason) {
    LoadedPage page;
    page.url = url;
    page.charset = u"utf-8";
    page.bytes =
        "<html><head><title>The page cannot be displayed</title></head><body>"
        "<h1>The page cannot be displayed</h1><p>" +
        EscapeHtml(url) + "</p><p>" + EscapeHtml(Utf8ToUtf16(reason)) + "</p></body></html>";
    return page;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    bytes = content.str();
    return true;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

LoadedPage LoadFile(std::u16string_view url, const std::string& path) {
    LoadedPage page;
    page.url = url;
    if (!ReadWholeFile(path, page.bytes)) return ErrorPage(url, "The file cannot be found.");
    page.found = true;
    return page;
}

// Paths of a virtual host stay inside its folder.
bool EscapesFolder(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        if (path.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

LoadedPage LoadFromFolder(const PageRequest& request, const Url& url,
                          const std::u16string& folder) {
    if (request.post) JournalEffect(u"post", request.url + u" " + Utf8ToUtf16(request.postData));
    const std::string path = DecodedPath(url.path.empty() ? u"/" : url.path);
    if (EscapesFolder(path) || path.find('\0') != std::string::npos)
        return ErrorPage(request.url, "The address is outside the site.");
    std::string file = Utf16ToUtf8(folder) + path;
    if (IsDirectory(file)) file += (file.back() == '/' ? "" : "/") + std::string("index.html");
    return LoadFile(request.url, file);
}

LoadedPage LoadHttp(const PageRequest& request) {
    HttpRequest http;
    http.url = Utf16ToUtf8(request.url);
    http.post = request.post;
    http.body = request.postData;
    std::u16string_view headers = request.headers;
    while (!headers.empty()) {
        std::size_t end = headers.find(u"\r\n");
        if (end == std::u16string_view::npos) end = headers.size();
        if (end > 0) http.headers.push_back(Utf16ToUtf8(headers.substr(0, end)));
        headers.remove_prefix(std::min(headers.size(), end + 2));
    }
    HttpResponse response = HttpFetch(http);
    if (!response.transferred) return ErrorPage(request.url, response.error);
    LoadedPage page;
    page.found = response.status < 400;
    page.bytes = std::move(response.body);
    page.url = Utf8ToUtf16(response.finalUrl);
    page.charset = CharsetOfContentType(response.contentType);
    return page;
}

}  // namespace

std::u16string CharsetOfContentType(std::string_view contentType) {
    std::string lower;
    for (char c : contentType) lower.push_back(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    std::size_t at = lower.find("charset=");
    if (at == std::string::npos) return {};
    at += 8;
    std::size_t end = at;
    while (end < lower.size() && lower[end] != ';' && lower[end] != ' ') ++end;
    std::string value(lower.substr(at, end - at));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
    return Utf8ToUtf16(value);
}

LoadedPage LoadPage(const PageRequest& request, const HostFolderLookup& virtualHosts) {
    const Url url = ParseUrl(request.url);
    if (url.scheme == u"about") {
        LoadedPage page;
        page.found = true;
        page.url = request.url;
        return page;
    }
    if (url.scheme == u"file") {
        const std::u16string host = url.HostName();
        if (!host.empty() && host != u"localhost")
            return ErrorPage(request.url, "Files on other machines cannot be opened.");
        return LoadFile(url.ToString(), DecodedPath(url.path));
    }
    if (url.scheme == u"http" || url.scheme == u"https") {
        if (virtualHosts) {
            const std::u16string folder = virtualHosts(url.HostName());
            if (!folder.empty()) return LoadFromFolder(request, url, folder);
        }
        return LoadHttp(request);
    }
    return ErrorPage(request.url, "The address is not supported.");
}

}  // namespace browser
