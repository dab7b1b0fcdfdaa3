// Page addresses: splitting, resolving a reference against a base, and
// the parts a location reports.
#pragma once

#include <string>
#include <string_view>

namespace browser {

struct Url {
    std::u16string scheme;      // lower case, without ':'
    bool hasAuthority = false;  // "//" present
    std::u16string authority;   // user info, host and port as written
    std::u16string path;
    bool hasQuery = false;
    std::u16string query;  // without '?'
    bool hasFragment = false;
    std::u16string fragment;  // without '#'

    std::u16string ToString() const;
    std::u16string Host() const;      // host and port ("example.com:8080")
    std::u16string HostName() const;  // host without port, lower case
    std::u16string Port() const;
};

// Parses an absolute address; a bare file path ("/tmp/a.html") becomes a
// file: URL. Host names are lower-cased, back slashes of hierarchical
// schemes become slashes.
Url ParseUrl(std::u16string_view text);
// Resolves a reference (absolute or relative) against a base address.
std::u16string ResolveUrl(std::u16string_view base, std::u16string_view reference);
// A "javascript:" address (any case, leading blanks ignored): never loaded.
bool IsScriptUrl(std::u16string_view text);

}  // namespace browser
