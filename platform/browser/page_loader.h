// Fetches the bytes of a page: file paths and file: URLs (no host name or
// "localhost"), about:blank, http: and https: through the network, and
// virtual hosts that serve http(s)://HOST/... from a local folder. A page
// that cannot be had comes back as an error page saying why.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace browser {

struct PageRequest {
    std::u16string url;  // absolute
    bool post = false;
    std::string postData;
    std::u16string headers;  // extra request headers, "Name: value" lines (CR LF)
};

struct LoadedPage {
    bool found = false;  // false: bytes hold an error page
    std::string bytes;
    std::u16string url;      // the final address (after redirects)
    std::u16string charset;  // the charset parameter of the Content-Type header
};

// The folder a host name is served from; empty when it is not a virtual host.
using HostFolderLookup = std::function<std::u16string(std::u16string_view host)>;

LoadedPage LoadPage(const PageRequest& request, const HostFolderLookup& virtualHosts);

// The charset parameter of a Content-Type value ("text/html; charset=utf-8").
std::u16string CharsetOfContentType(std::string_view contentType);

}  // namespace browser
