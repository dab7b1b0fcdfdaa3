// GUIDs: interface and class identifiers, their registry text form
// "{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}", and the link from an interface
// type to its identifier.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "platform/com/hresult.h"

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];

    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i]) return false;
        return true;
    }
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPCLSID = CLSID*;

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr const GUID& IID_NULL = GUID_NULL;
inline constexpr const GUID& CLSID_NULL = GUID_NULL;

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}
constexpr bool InlineIsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}
constexpr bool IsEqualIID(REFIID a, REFIID b) {
    return a == b;
}
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) {
    return a == b;
}

namespace guid_detail {

constexpr int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

template <class Char>
constexpr bool ParseHex(std::basic_string_view<Char> text, std::size_t pos, std::size_t count,
                        std::uint32_t& out) {
    out = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Char c = text[pos + i];
        const int d = c < 0x80 ? HexDigit(static_cast<char>(c)) : -1;
        if (d < 0) return false;
        out = out * 16 + static_cast<std::uint32_t>(d);
    }
    return true;
}

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", with or without braces.
template <class Char>
constexpr bool Parse(std::basic_string_view<Char> text, GUID& out) {
    if (text.size() == 38) {
        if (text.front() != '{' || text.back() != '}') return false;
        text = text.substr(1, 36);
    }
    if (text.size() != 36) return false;
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') return false;
    std::uint32_t v = 0;
    if (!ParseHex(text, 0, 8, v)) return false;
    out.Data1 = v;
    if (!ParseHex(text, 9, 4, v)) return false;
    out.Data2 = static_cast<WORD>(v);
    if (!ParseHex(text, 14, 4, v)) return false;
    out.Data3 = static_cast<WORD>(v);
    constexpr std::size_t kBytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (int i = 0; i < 8; ++i) {
        if (!ParseHex(text, kBytePos[i], 2, v)) return false;
        out.Data4[i] = static_cast<BYTE>(v);
    }
    return true;
}

}  // namespace guid_detail

// A GUID from a literal; a malformed literal is a compile-time error when
// used in a constant expression.
consteval GUID MakeGuid(const char* text) {
    GUID g{};
    std::string_view view(text);
    if (!guid_detail::Parse(view, g)) throw "malformed GUID literal";
    return g;
}

// Parses the text form (braces optional); false when malformed.
bool GuidFromString(std::u16string_view text, GUID* out);
// The registry form: upper-case, with braces.
std::u16string GuidToString(REFGUID guid);

// Windows-shaped conversions.
int StringFromGUID2(REFGUID guid, char16_t* buffer, int cchMax);
HRESULT CLSIDFromString(const char16_t* text, CLSID* out);
HRESULT IIDFromString(const char16_t* text, IID* out);

// The identifier of an interface type, found through the declaration that
// KESTRO_DEFINE_IID writes beside the interface (looked up by argument-
// dependent lookup, so interfaces may live in any namespace). The tag has
// no conversions: a derived interface without its own identifier does not
// silently answer with its base's.
template <class I>
struct InterfaceTag {};

template <class I>
constexpr const IID& InterfaceIidOf() {
    return IidOf(InterfaceTag<I>{});
}

// Declares IID_<I> for an already declared interface type and links the
// type to it, so smart pointers and __uuidof can find it.
#define KESTRO_DEFINE_IID(I, text)                   \
    inline constexpr IID IID_##I = ::MakeGuid(text); \
    constexpr const IID& IidOf(::InterfaceTag<I>) {  \
        return IID_##I;                              \
    }

// Links a type to an identifier declared under another name (DIID_...).
#define KESTRO_BIND_IID(I, iid)                     \
    constexpr const IID& IidOf(::InterfaceTag<I>) { \
        return iid;                                 \
    }

#define __uuidof(I) (::InterfaceIidOf<std::remove_cv_t<std::remove_pointer_t<I>>>())
