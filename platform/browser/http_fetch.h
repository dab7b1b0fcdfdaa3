// HTTP and HTTPS requests through libcurl: redirects followed (to http and
// https only), the final address and the Content-Type reported.
#pragma once

#include <string>
#include <vector>

namespace browser {

struct HttpRequest {
    std::string url;
    bool post = false;
    std::string body;
    std::vector<std::string> headers;  // "Name: value"
};

struct HttpResponse {
    bool transferred = false;  // false: no answer at all (error says why)
    long status = 0;
    std::string body;
    std::string contentType;
    std::string finalUrl;
    std::string error;
};

HttpResponse HttpFetch(const HttpRequest& request);

}  // namespace browser
