// The printf-style message patterns of the system ("data error 5: %s",
// "Unknown error 0x%0lX"), formatted into UTF-16 text.
//
// Conversions: %s (text; an integer argument prints in decimal), %d %i %u
// %x %X, the length prefixes l, ll, h and I64, the flags '-' and '0', a
// decimal width, and %%. As with the Windows 32-bit "long", an argument of
// 32 bits or less is read as a 32-bit value, so a DWORD 0xFFFFFFFF prints
// as -1 under %d and an HRESULT prints as 8 hex digits under %X; 64-bit
// arguments keep their full width. A missing argument prints as empty text
// or 0; anything the formatter does not understand is copied literally.
#pragma once

#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class FormatArg {
public:
    enum class Kind { Text, Integer };

    FormatArg(std::u16string_view text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(const std::u16string& text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(const char16_t* text)
        : m_kind(Kind::Text), m_text(text ? std::u16string_view(text) : u"(null)") {}
    template <std::integral T>
    FormatArg(T value)
        : m_kind(Kind::Integer),
          m_bits(static_cast<std::uint64_t>(static_cast<std::int64_t>(value))),
          m_wide(sizeof(T) > 4) {}

    Kind kind() const { return m_kind; }
    std::u16string_view text() const { return m_text; }
    // The value as a signed or unsigned number, narrowed to 32 bits unless
    // the argument was 64 bits wide or the pattern asks for 64 bits.
    std::int64_t AsSigned(bool full64) const;
    std::uint64_t AsUnsigned(bool full64) const;

private:
    Kind m_kind;
    std::u16string_view m_text;
    std::uint64_t m_bits = 0;
    bool m_wide = false;
};

std::u16string FormatPatternArgs(std::u16string_view pattern, std::span<const FormatArg> args);

template <typename... Args>
std::u16string FormatPattern(std::u16string_view pattern, const Args&... args) {
    const FormatArg list[sizeof...(Args) + 1] = {FormatArg(args)..., FormatArg(u"")};
    return FormatPatternArgs(pattern, std::span<const FormatArg>(list, sizeof...(Args)));
}
