#include "platform/win/format.h"

#include <optional>

namespace {

// Widths beyond this are treated as a malformed pattern rather than an
// instruction to build a huge string.
constexpr std::size_t kMaxWidth = 1024;

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    bool wide64 = false;  // ll or I64
    char16_t type = 0;
    std::size_t length = 0;  // characters of the pattern consumed, '%' included
};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Parses the conversion that starts at pattern[0] == '%'; nothing when it is
// not one the formatter knows.
std::optional<Conversion> ParseConversion(std::u16string_view pattern) {
    Conversion conv;
    std::size_t i = 1;
    for (; i < pattern.size(); ++i) {
        if (pattern[i] == u'-') {
            conv.leftAlign = true;
        } else if (pattern[i] == u'0') {
            conv.zeroPad = true;
        } else {
            break;
        }
    }
    for (; i < pattern.size() && IsDigit(pattern[i]); ++i) {
        conv.width = conv.width * 10 + (pattern[i] - u'0');
        if (conv.width > kMaxWidth) return std::nullopt;
    }
    if (pattern.substr(i, 3) == u"I64") {
        conv.wide64 = true;
        i += 3;
    } else if (pattern.substr(i, 2) == u"ll") {
        conv.wide64 = true;
        i += 2;
    } else if (i < pattern.size() && (pattern[i] == u'l' || pattern[i] == u'h')) {
        ++i;
    }
    if (i >= pattern.size()) return std::nullopt;
    const char16_t type = pattern[i];
    if (std::u16string_view(u"sdiuxX").find(type) == std::u16string_view::npos) {
        return std::nullopt;
    }
    conv.type = type;
    conv.length = i + 1;
    return conv;
}

std::u16string Digits(std::uint64_t value, unsigned base, bool upper) {
    const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    std::u16string out;
    do {
        out.insert(out.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return out;
}

std::int64_t SignedValue(const FormatArg* arg, bool wide64) {
    if (!arg || arg->kind() != FormatArg::Kind::Integer) return 0;
    return arg->AsSigned(wide64);
}

std::uint64_t UnsignedValue(const FormatArg* arg, bool wide64) {
    if (!arg || arg->kind() != FormatArg::Kind::Integer) return 0;
    return arg->AsUnsigned(wide64);
}

// The text of one argument, before padding; the sign is returned apart so
// zero padding can go between the sign and the digits.
std::u16string ConvertedText(const Conversion& conv, const FormatArg* arg, bool& negative) {
    negative = false;
    switch (conv.type) {
        case u's':
            if (!arg) return {};
            if (arg->kind() == FormatArg::Kind::Text) return std::u16string(arg->text());
            [[fallthrough]];
        case u'd':
        case u'i': {
            const std::int64_t value = SignedValue(arg, conv.wide64);
            negative = value < 0;
            const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value)
                                                     : static_cast<std::uint64_t>(value);
            return Digits(magnitude, 10, false);
        }
        case u'u':
            return Digits(UnsignedValue(arg, conv.wide64), 10, false);
        case u'x':
            return Digits(UnsignedValue(arg, conv.wide64), 16, false);
        default:
            return Digits(UnsignedValue(arg, conv.wide64), 16, true);
    }
}

void AppendPadded(std::u16string& out, const Conversion& conv, const FormatArg* arg) {
    bool negative = false;
    const std::u16string body = ConvertedText(conv, arg, negative);
    const std::size_t used = body.size() + (negative ? 1 : 0);
    const std::size_t pad = conv.width > used ? conv.width - used : 0;
    const bool zeros = conv.zeroPad && !conv.leftAlign && conv.type != u's';
    if (!conv.leftAlign && !zeros) out.append(pad, u' ');
    if (negative) out += u'-';
    if (zeros) out.append(pad, u'0');
    out += body;
    if (conv.leftAlign) out.append(pad, u' ');
}

}  // namespace

std::int64_t FormatArg::AsSigned(bool full64) const {
    if (m_wide || full64) return static_cast<std::int64_t>(m_bits);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(m_bits));
}

std::uint64_t FormatArg::AsUnsigned(bool full64) const {
    if (m_wide || full64) return m_bits;
    return static_cast<std::uint32_t>(m_bits);
}

std::u16string FormatPatternArgs(std::u16string_view pattern, std::span<const FormatArg> args) {
    std::u16string out;
    std::size_t nextArg = 0;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const std::size_t percent = pattern.find(u'%', i);
        out.append(pattern.substr(i, percent - i));
        if (percent == std::u16string_view::npos) break;
        if (pattern.substr(percent, 2) == u"%%") {
            out += u'%';
            i = percent + 2;
            continue;
        }
        const std::optional<Conversion> conv = ParseConversion(pattern.substr(percent));
        if (!conv) {
            out += u'%';
            i = percent + 1;
            continue;
        }
        const FormatArg* arg = nextArg < args.size() ? &args[nextArg] : nullptr;
        ++nextArg;
        AppendPadded(out, *conv, arg);
        i = percent + conv->length;
    }
    return out;
}
