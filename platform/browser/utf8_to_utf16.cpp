#include "platform/browser/utf8_to_utf16.h"

namespace browser {

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

void AppendUtf8AsUtf16(std::string_view utf8, std::u16string& out) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    out.reserve(out.size() + utf8.size());
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            out.push_back(c);
            ++p;
            continue;
        }
        int length = c >= 0xF0 && c < 0xF5 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
        if (c >= 0xF5) length = 0;
        bool ok = length > 0 && end - p >= length;
        for (int i = 1; ok && i < length; ++i) ok = IsContinuation(p[i]);
        if (!ok) {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        char32_t code = length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        for (int i = 1; i < length; ++i) code = (code << 6) | (p[i] & 0x3F);
        p += length;
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (length == 4 && (code < 0x10000 || code > 0x10FFFF))) {
            out.push_back(0xFFFD);
        } else if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
}

}  // namespace browser
