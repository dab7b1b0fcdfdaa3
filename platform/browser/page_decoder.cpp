#include "platform/browser/page_decoder.h"

#include <algorithm>

#include "platform/win/codepage.h"
#include "platform/win/text.h"

namespace browser {

namespace {

constexpr std::size_t kPrescanLength = 4096;

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n\f\"'");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n\f\"'");
    return std::string(text.substr(first, last - first + 1));
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int length = c < 0x80                ? 1
                     : c >= 0xC2 && c < 0xE0 ? 2
                     : c >= 0xE0 && c < 0xF0 ? 3
                     : c >= 0xF0 && c < 0xF5 ? 4
                                             : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// The charset a <meta> tag near the start declares, as written.
std::string MetaCharset(std::string_view bytes) {
    std::string head(bytes.substr(0, std::min(bytes.size(), kPrescanLength)));
    std::transform(head.begin(), head.end(), head.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    for (std::size_t at = head.find("<meta"); at != std::string::npos;
         at = head.find("<meta", at + 5)) {
        const std::size_t end = head.find('>', at);
        const std::string_view tag =
            std::string_view(head).substr(at, end == std::string::npos ? head.npos : end - at);
        const std::size_t key = tag.find("charset");
        if (key == std::string_view::npos) continue;
        std::size_t p = tag.find_first_not_of(" \t\r\n\f", key + 7);
        if (p == std::string_view::npos || tag[p] != '=') continue;
        p = tag.find_first_not_of(" \t\r\n\f\"'", p + 1);
        if (p == std::string_view::npos) continue;
        const std::size_t stop = tag.find_first_of(" \t\r\n\f\"';/", p);
        return Trim(tag.substr(p, stop == std::string_view::npos ? tag.npos : stop - p));
    }
    return {};
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    if (bytes.empty()) return {};
    std::u16string wide(bytes.size(), u'\0');
    const int length =
        MultiByteToWideChar(CP_WINDOWS_1252, 0, bytes.data(), static_cast<int>(bytes.size()),
                            wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return Utf16ToUtf8(wide);
}

std::string Utf16ToUtf8Bytes(std::string_view bytes, bool bigEndian) {
    std::u16string wide;
    wide.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        wide.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return Utf16ToUtf8(wide);
}

DecodedPage Decode(std::string_view bytes, const std::u16string& charset) {
    if (charset == u"windows-1252") return {Windows1252ToUtf8(bytes), charset};
    if (charset == u"utf-16le") return {Utf16ToUtf8Bytes(bytes, false), charset};
    if (charset == u"utf-16be") return {Utf16ToUtf8Bytes(bytes, true), charset};
    return {std::string(bytes), u"utf-8"};
}

}  // namespace

std::u16string CanonicalCharset(std::u16string_view label) {
    const std::u16string name = WideLower(label);
    for (std::u16string_view utf8 : {u"utf-8", u"utf8", u"unicode-1-1-utf-8", u"x-unicode20utf8"})
        if (name == utf8) return u"utf-8";
    for (std::u16string_view latin :
         {u"windows-1252", u"cp1252", u"x-cp1252", u"iso-8859-1", u"iso8859-1", u"iso_8859-1",
          u"latin1", u"l1", u"us-ascii", u"ascii", u"ansi_x3.4-1968", u"cp819", u"ibm819"})
        if (name == latin) return u"windows-1252";
    if (name == u"utf-16le" || name == u"utf-16" || name == u"unicode") return u"utf-16le";
    if (name == u"utf-16be" || name == u"unicodefffe") return u"utf-16be";
    return {};
}

DecodedPage DecodePage(std::string_view bytes, std::u16string_view headerCharset) {
    if (std::u16string charset = CanonicalCharset(headerCharset); !charset.empty()) {
        if (charset == u"utf-8" && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return Decode(bytes, charset);
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return Decode(bytes.substr(3), u"utf-8");
    if (bytes.substr(0, 2) == "\xFF\xFE") return Decode(bytes.substr(2), u"utf-16le");
    if (bytes.substr(0, 2) == "\xFE\xFF") return Decode(bytes.substr(2), u"utf-16be");
    const std::string meta = MetaCharset(bytes);
    std::u16string charset = CanonicalCharset(Utf8ToUtf16(meta));
    // A page that is in bytes cannot really be UTF-16, whatever it says.
    if (charset == u"utf-16le" || charset == u"utf-16be") charset = u"utf-8";
    if (!charset.empty()) return Decode(bytes, charset);
    return Decode(bytes, IsValidUtf8(bytes) ? u"utf-8" : u"windows-1252");
}

}  // namespace browser
