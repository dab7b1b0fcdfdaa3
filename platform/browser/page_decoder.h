// Turns a page's bytes into the UTF-8 text the parser reads, choosing the
// character set in the order a browser does: the HTTP header's charset
// parameter, a byte order mark, a <meta charset> or http-equiv declaration
// near the start, and last a guess (UTF-8 when the bytes are valid UTF-8,
// else Windows-1252).
#pragma once

#include <string>
#include <string_view>

namespace browser {

struct DecodedPage {
    std::string utf8;
    std::u16string charset;  // canonical lower-case name: "utf-8", "windows-1252", "utf-16le"...
};

// headerCharset: the charset parameter of the Content-Type header, or empty.
DecodedPage DecodePage(std::string_view bytes, std::u16string_view headerCharset = {});

// The canonical name of a charset label, or empty when not supported.
std::u16string CanonicalCharset(std::u16string_view label);

}  // namespace browser
