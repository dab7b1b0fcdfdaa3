#include "platform/browser/http_fetch.h"

#include <curl/curl.h>

#include <mutex>

namespace browser {

namespace {

constexpr long kMaxRedirects = 10;
constexpr long kTimeoutSeconds = 60;

size_t AppendBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

struct CurlHandle {
    CURL* handle = curl_easy_init();
    curl_slist* headers = nullptr;
    ~CurlHandle() {
        curl_slist_free_all(headers);
        if (handle) curl_easy_cleanup(handle);
    }
};

}  // namespace

HttpResponse HttpFetch(const HttpRequest& request) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    HttpResponse response;
    CurlHandle curl;
    if (!curl.handle) {
        response.error = "the network library could not start";
        return response;
    }
    CURL* h = curl.handle;
    curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    // Local addresses never go through a proxy.
    curl_easy_setopt(h, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Mozilla/4.0 (compatible; MSIE 7.0; Kestro)");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    for (const std::string& header : request.headers)
        curl.headers = curl_slist_append(curl.headers, header.c_str());
    if (curl.headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, curl.headers);
    if (request.post) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, static_cast<long>(request.body.size()));
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
    }

    const CURLcode result = curl_easy_perform(h);
    if (result != CURLE_OK) {
        response.error = curl_easy_strerror(result);
        response.body.clear();
        return response;
    }
    response.transferred = true;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    if (char* type = nullptr;
        curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type)
        response.contentType = type;
    if (char* url = nullptr; curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
        response.finalUrl = url;
    else
        response.finalUrl = request.url;
    return response;
}

}  // namespace browser
