#include "platform/win/codepage.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "platform/win/last_error.h"

namespace {

// Windows-1252 bytes 0x80-0x9F. The five bytes the code page leaves
// undefined map to the C1 control of the same value, as Windows maps them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr DWORD kMbFlags1252 = 0x0F;  // precomposed, composite, glyph chars, invalid chars
constexpr DWORD kWcFlags1252 =
    0x670;  // composite check, discard, sep chars, default char, no best fit

char16_t Cp1252ToWide(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
    return byte;
}

// The byte of a character, or -1 when the code page has none.
int WideToCp1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c) return 0x80 + i;
    }
    return -1;
}

// Writes into the caller's buffer while it has room and counts every unit,
// so the same pass answers size queries and detects a short buffer.
template <typename Unit>
class Output {
public:
    Output(Unit* dst, int capacity) : m_dst(dst), m_capacity(capacity) {}
    void Put(Unit unit) {
        if (m_count < m_capacity) m_dst[m_count] = unit;
        ++m_count;
    }
    // Where the next n units go when the buffer has room for all of them;
    // null otherwise (a size query, or a buffer too small).
    Unit* Room(std::size_t n) const {
        return m_dst &&
                       static_cast<std::size_t>(m_count) + n <= static_cast<std::size_t>(m_capacity)
                   ? m_dst + m_count
                   : nullptr;
    }
    void Advance(std::size_t n) { m_count += static_cast<int>(n); }
    // The result of the conversion as Windows returns it.
    int Finish() const {
        if (m_capacity > 0 && m_count > m_capacity) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        return m_count;
    }

private:
    Unit* m_dst;
    int m_capacity;
    int m_count = 0;
};

// Most text is made of characters a code page keeps as the same number in
// one unit (ASCII everywhere, and Latin-1 letters in Windows-1252). Runs of
// them are taken in fixed blocks, which the compiler turns into vector code.
constexpr std::size_t kBlock = 64;

struct SameInUtf8 {
    template <typename Unit>
    bool operator()(Unit unit) const {
        return unit < 0x80;
    }
};

// Windows-1252 differs from Unicode only in 0x80-0x9F.
struct SameIn1252 {
    template <typename Unit>
    bool operator()(Unit unit) const {
        return unit <= 0xFF && (unit & 0xE0) != 0x80;
    }
};

// Puts the leading units that convert to themselves, whole blocks first,
// and returns how many there were. What the buffer has no room for is only
// counted: the conversion fails anyway.
template <typename Same, typename From, typename To>
std::size_t TakeUnchanged(const From* src, std::size_t n, Output<To>& out) {
    const Same same;
    using Unit = std::make_unsigned_t<From>;
    // Text in another script goes one character at a time at once.
    if (n == 0 || !same(static_cast<Unit>(src[0]))) return 0;
    std::size_t i = 0;
    for (; i + kBlock <= n; i += kBlock) {
        Unit changed = 0;
        for (std::size_t k = 0; k < kBlock; ++k)
            changed |= static_cast<Unit>(!same(static_cast<Unit>(src[i + k])));
        if (changed) break;
        if (To* dst = out.Room(kBlock)) {
            // Through a local block, which cannot overlap the source.
            To block[kBlock];
            for (std::size_t k = 0; k < kBlock; ++k)
                block[k] = static_cast<To>(static_cast<Unit>(src[i + k]));
            std::memcpy(dst, block, sizeof block);
        }
        out.Advance(kBlock);
    }
    const std::size_t blocks = i;
    while (i < n && same(static_cast<Unit>(src[i]))) ++i;
    if (To* dst = out.Room(i - blocks))
        for (std::size_t k = blocks; k < i; ++k)
            *dst++ = static_cast<To>(static_cast<Unit>(src[k]));
    out.Advance(i - blocks);
    return i;
}

bool ResolveCodePage(UINT& codePage) {
    if (codePage == CP_ACP) codePage = GetACP();
    return codePage == CP_UTF8 || codePage == CP_WINDOWS_1252;
}

int Fail(DWORD code) {
    SetLastError(code);
    return 0;
}

// Length of the continuation run a UTF-8 lead byte announces and the range
// its second byte must fall in (which rules out overlongs and surrogates).
struct Utf8Lead {
    int continuation;
    std::uint32_t initial;
    unsigned char secondMin;
    unsigned char secondMax;
};

bool ClassifyLead(unsigned char b, Utf8Lead& lead) {
    if (b >= 0xC2 && b <= 0xDF)
        lead = {1, b & 0x1Fu, 0x80, 0xBF};
    else if (b == 0xE0)
        lead = {2, b & 0x0Fu, 0xA0, 0xBF};
    else if (b == 0xED)
        lead = {2, b & 0x0Fu, 0x80, 0x9F};
    else if (b >= 0xE1 && b <= 0xEF)
        lead = {2, b & 0x0Fu, 0x80, 0xBF};
    else if (b == 0xF0)
        lead = {3, b & 0x07u, 0x90, 0xBF};
    else if (b >= 0xF1 && b <= 0xF3)
        lead = {3, b & 0x07u, 0x80, 0xBF};
    else if (b == 0xF4)
        lead = {3, b & 0x07u, 0x80, 0x8F};
    else
        return false;
    return true;
}

// Decodes one character at text[i]; an ill-formed sequence consumes its
// longest valid prefix (at least one byte) and yields U+FFFD with ok false.
std::uint32_t DecodeUtf8(std::string_view text, std::size_t& i, bool& ok) {
    const unsigned char b = static_cast<unsigned char>(text[i++]);
    ok = true;
    if (b < 0x80) return b;
    Utf8Lead lead;
    ok = ClassifyLead(b, lead);
    if (!ok) return 0xFFFD;
    std::uint32_t cp = lead.initial;
    for (int k = 0; k < lead.continuation; ++k) {
        const unsigned char lo = k == 0 ? lead.secondMin : 0x80;
        const unsigned char hi = k == 0 ? lead.secondMax : 0xBF;
        if (i >= text.size()) return ok = false, 0xFFFD;
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < lo || c > hi) return ok = false, 0xFFFD;
        cp = (cp << 6) | (c & 0x3Fu);
        ++i;
    }
    return cp;
}

int Utf8ToWide(DWORD flags, std::string_view src, Output<char16_t>& out) {
    std::size_t i = 0;
    while (i < src.size()) {
        i += TakeUnchanged<SameInUtf8>(src.data() + i, src.size() - i, out);
        if (i == src.size()) break;
        bool ok = true;
        const std::uint32_t cp = DecodeUtf8(src, i, ok);
        if (!ok && (flags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
        if (cp >= 0x10000) {
            out.Put(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.Put(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.Put(static_cast<char16_t>(cp));
        }
    }
    return out.Finish();
}

void PutUtf8(std::uint32_t cp, Output<char>& out) {
    if (cp < 0x80) {
        out.Put(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.Put(static_cast<char>(0xC0 | (cp >> 6)));
        out.Put(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.Put(static_cast<char>(0xE0 | (cp >> 12)));
        out.Put(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.Put(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.Put(static_cast<char>(0xF0 | (cp >> 18)));
        out.Put(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.Put(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.Put(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

int WideToUtf8(DWORD flags, std::u16string_view src, Output<char>& out) {
    for (std::size_t i = 0; i < src.size(); ++i) {
        i += TakeUnchanged<SameInUtf8>(src.data() + i, src.size() - i, out);
        if (i == src.size()) break;
        std::uint32_t cp = src[i];
        const bool high = cp >= 0xD800 && cp <= 0xDBFF;
        if (high && i + 1 < src.size() && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (src[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (flags & WC_ERR_INVALID_CHARS) return Fail(ERROR_NO_UNICODE_TRANSLATION);
            cp = 0xFFFD;
        }
        PutUtf8(cp, out);
    }
    return out.Finish();
}

int WideTo1252(std::u16string_view src, Output<char>& out, LPCSTR defaultChar,
               BOOL* usedDefaultChar) {
    const char replacement = defaultChar ? defaultChar[0] : '?';
    for (std::size_t i = 0; i < src.size(); ++i) {
        i += TakeUnchanged<SameIn1252>(src.data() + i, src.size() - i, out);
        if (i == src.size()) break;
        const char16_t c = src[i];
        const int byte = WideToCp1252(c);
        if (byte < 0 && usedDefaultChar) *usedDefaultChar = TRUE;
        out.Put(byte < 0 ? replacement : static_cast<char>(byte));
    }
    return out.Finish();
}

}  // namespace

UINT GetACP() {
    const char* value = std::getenv("KESTRO_ACP");
    if (value && std::strcmp(value, "65001") == 0) return CP_UTF8;
    return CP_WINDOWS_1252;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbSrc, LPWSTR dst, int cchDst) {
    if (!src || cbSrc == 0 || cchDst < 0 || (!dst && cchDst > 0)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (!ResolveCodePage(codePage)) return Fail(ERROR_INVALID_PARAMETER);
    const DWORD allowed = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : kMbFlags1252;
    if (flags & ~allowed) return Fail(ERROR_INVALID_FLAGS);
    const std::string_view text(src, cbSrc < 0 ? std::strlen(src) + 1 : std::size_t(cbSrc));
    Output<char16_t> out(dst, cchDst);
    if (codePage == CP_UTF8) return Utf8ToWide(flags, text, out);
    for (std::size_t i = 0; i < text.size(); ++i) {
        i += TakeUnchanged<SameIn1252>(text.data() + i, text.size() - i, out);
        if (i == text.size()) break;
        out.Put(Cp1252ToWide(static_cast<unsigned char>(text[i])));
    }
    return out.Finish();
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int cchSrc, LPSTR dst, int cbDst,
                        LPCSTR defaultChar, BOOL* usedDefaultChar) {
    if (!src || cchSrc == 0 || cbDst < 0 || (!dst && cbDst > 0)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (!ResolveCodePage(codePage)) return Fail(ERROR_INVALID_PARAMETER);
    if (codePage == CP_UTF8 && (defaultChar || usedDefaultChar)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const DWORD allowed = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : kWcFlags1252;
    if (flags & ~allowed) return Fail(ERROR_INVALID_FLAGS);
    const std::u16string_view text(
        src, cchSrc < 0 ? std::char_traits<char16_t>::length(src) + 1 : std::size_t(cchSrc));
    if (usedDefaultChar) *usedDefaultChar = FALSE;
    Output<char> out(dst, cbDst);
    if (codePage == CP_UTF8) return WideToUtf8(flags, text, out);
    return WideTo1252(text, out, defaultChar, usedDefaultChar);
}
