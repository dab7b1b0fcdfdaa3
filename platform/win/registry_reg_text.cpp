#include "platform/win/registry_reg_text.h"

#include "platform/win/registry.h"
#include "platform/win/text.h"

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHeaderVersion5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kHexLineWidth = 76;

// ---- writing ---------------------------------------------------------------

std::u16string CharactersOf(const std::vector<BYTE>& data) {
    std::u16string chars(data.size() / 2, u'\0');
    for (std::size_t i = 0; i < chars.size(); ++i) {
        chars[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    return chars;
}

// The text of a REG_SZ that can be written in quotes and read back to the
// same bytes: whole characters, one terminating null and nothing after it.
std::optional<std::u16string> CleanStringText(const RegistryValue& value) {
    if (value.type != REG_SZ || value.data.size() < 2 || value.data.size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string chars = CharactersOf(value.data);
    if (chars.back() != u'\0') return std::nullopt;
    chars.pop_back();
    if (!IsStorableRegName(chars)) return std::nullopt;
    return chars;
}

std::string Quoted(std::u16string_view text) {
    std::string out = "\"";
    for (const char c : Utf16ToUtf8(text)) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

void AppendHexBytes(std::string& out, const std::vector<BYTE>& data, std::size_t lineLength) {
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < data.size(); ++i) {
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 0xF];
        lineLength += 2;
        if (i + 1 == data.size()) break;
        out += ',';
        ++lineLength;
        if (lineLength >= kHexLineWidth) {
            out += "\\\n  ";
            lineLength = 2;
        }
    }
}

std::string HexNumber(DWORD number, int minimumDigits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[number & 0xF]);
        number >>= 4;
    } while (number != 0);
    while (static_cast<int>(digits.size()) < minimumDigits) digits.insert(digits.begin(), '0');
    return digits;
}

std::string FormatValue(const RegistryValue& value) {
    std::string line = value.name.empty() ? "@" : Quoted(value.name);
    line += '=';
    if (const auto text = CleanStringText(value)) {
        return line + Quoted(*text) + '\n';
    }
    if (value.type == REG_DWORD && value.data.size() == 4) {
        const DWORD number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                             (static_cast<DWORD>(value.data[3]) << 24);
        return line + "dword:" + HexNumber(number, 8) + '\n';
    }
    line += value.type == REG_BINARY ? "hex:" : "hex(" + HexNumber(value.type, 1) + "):";
    AppendHexBytes(line, value.data, line.size());
    return line + '\n';
}

void FormatKey(std::string& out, const RegistryTreeKey& key, const std::u16string& path) {
    out += '[' + Utf16ToUtf8(path) + "]\n";
    for (const auto& value : key.values()) out += FormatValue(value);
    out += '\n';
    for (std::size_t i = 0; i < key.SubkeyCount(); ++i) {
        const RegistryTreeKey& subkey = key.SubkeyAt(i);
        FormatKey(out, subkey, path + u'\\' + subkey.name());
    }
}

// ---- reading ---------------------------------------------------------------

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<DWORD> ParseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    DWORD number = 0;
    for (const char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        number = (number << 4) | static_cast<DWORD>(digit);
    }
    return number;
}

// Comma-separated bytes; a trailing comma is tolerated.
std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view text) {
    std::vector<BYTE> bytes;
    text = TrimBlanks(text);
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view token = TrimBlanks(text.substr(0, comma));
        if (token.size() > 2) return std::nullopt;
        const auto number = ParseHexNumber(token);
        if (!number) return std::nullopt;
        bytes.push_back(static_cast<BYTE>(*number));
        if (comma == std::string_view::npos) break;
        text = TrimBlanks(text.substr(comma + 1));
    }
    return bytes;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends past the
// closing quote. \\ and \" are escapes; any other backslash is literal.
std::optional<std::u16string> ReadQuoted(std::string_view text, std::size_t& pos) {
    std::string bytes;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return Utf8ToUtf16(bytes);
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"')) {
            ++pos;
        }
        bytes += text[pos];
    }
    return std::nullopt;
}

std::vector<BYTE> BytesOfText(std::u16string_view text) {
    std::vector<BYTE> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const char16_t c : text) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

class RegTextParser {
public:
    RegTextParser(std::string_view text, std::u16string_view rootName)
        : m_text(text), m_rootName(rootName) {}

    std::optional<RegistryTreeKey> Parse() {
        if (m_text.substr(0, kUtf8Bom.size()) == kUtf8Bom) m_text.remove_prefix(kUtf8Bom.size());
        if (m_text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
            return RegistryTreeKey();
        }
        std::string_view line;
        if (!NextLine(line)) return std::nullopt;
        line = TrimBlanks(line);
        if (line != kHeader && line != kHeaderVersion5) return std::nullopt;
        while (NextLine(line)) {
            if (!ParseLine(line)) return std::nullopt;
        }
        return std::move(m_root);
    }

private:
    bool NextLine(std::string_view& line) {
        if (m_pos >= m_text.size()) return false;
        std::size_t end = m_text.find('\n', m_pos);
        if (end == std::string_view::npos) end = m_text.size();
        line = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        return true;
    }

    bool ParseLine(std::string_view line) {
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';') return true;
        if (line.front() == '[') return ParseSection(line);
        if (line.front() == '"' || line.front() == '@') return ParseValue(line);
        return false;
    }

    bool ParseSection(std::string_view line) {
        if (line.size() < 2 || line.back() != ']') return false;
        const std::u16string path = Utf8ToUtf16(line.substr(1, line.size() - 2));
        std::size_t start = 0;
        RegistryTreeKey* key = nullptr;
        while (true) {
            const std::size_t end = path.find(u'\\', start);
            const std::u16string name = path.substr(start, end - start);
            if (name.empty()) return false;
            if (!key) {
                if (!WideEqualsNoCase(name, m_rootName)) return false;
                key = &m_root;
            } else {
                key = &key->CreateSubkey(name);
            }
            if (end == std::u16string::npos) break;
            start = end + 1;
        }
        m_current = key;
        return true;
    }

    bool ParseValue(std::string_view line) {
        if (!m_current) return false;
        std::u16string name;
        std::size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else {
            auto quoted = ReadQuoted(line, pos);
            if (!quoted || quoted->empty()) return false;
            name = std::move(*quoted);
        }
        const std::string_view rest = TrimBlanks(line.substr(pos));
        if (rest.empty() || rest.front() != '=') return false;
        return ParseData(name, TrimBlanks(rest.substr(1)));
    }

    bool ParseData(const std::u16string& name, std::string_view data) {
        if (!data.empty() && data.front() == '"') {
            std::size_t pos = 0;
            const auto text = ReadQuoted(data, pos);
            if (!text || pos != data.size()) return false;
            m_current->SetValue(name, REG_SZ, BytesOfText(*text));
            return true;
        }
        if (data.substr(0, 6) == "dword:") {
            const auto number = ParseHexNumber(data.substr(6));
            if (!number) return false;
            std::vector<BYTE> bytes(4);
            for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(*number >> (8 * i));
            m_current->SetValue(name, REG_DWORD, std::move(bytes));
            return true;
        }
        return ParseHexData(name, data);
    }

    bool ParseHexData(const std::u16string& name, std::string_view data) {
        DWORD type = REG_BINARY;
        if (data.substr(0, 4) == "hex:") {
            data.remove_prefix(4);
        } else if (data.substr(0, 4) == "hex(") {
            const std::size_t close = data.find("):");
            if (close == std::string_view::npos) return false;
            const auto number = ParseHexNumber(data.substr(4, close - 4));
            if (!number) return false;
            type = *number;
            data.remove_prefix(close + 2);
        } else {
            return false;
        }
        std::string joined(data);
        while (!joined.empty() && joined.back() == '\\') {
            joined.pop_back();
            std::string_view next;
            if (!NextLine(next)) return false;
            joined += TrimBlanks(next);
        }
        auto bytes = ParseHexBytes(joined);
        if (!bytes) return false;
        m_current->SetValue(name, type, std::move(*bytes));
        return true;
    }

    std::string_view m_text;
    std::u16string_view m_rootName;
    std::size_t m_pos = 0;
    RegistryTreeKey m_root;
    RegistryTreeKey* m_current = nullptr;
};

}  // namespace

bool IsStorableRegName(std::u16string_view name) {
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c < 0x20 || c == 0x7F) return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

std::optional<RegistryTreeKey> ParseRegText(std::string_view text, std::u16string_view rootName) {
    return RegTextParser(text, rootName).Parse();
}

std::string FormatRegText(const RegistryTreeKey& root, std::u16string_view rootName) {
    std::string out = std::string(kHeader) + "\n\n";
    const std::u16string rootPath(rootName);
    if (!root.values().empty()) {
        out += '[' + Utf16ToUtf8(rootPath) + "]\n";
        for (const auto& value : root.values()) out += FormatValue(value);
        out += '\n';
    }
    for (std::size_t i = 0; i < root.SubkeyCount(); ++i) {
        const RegistryTreeKey& subkey = root.SubkeyAt(i);
        FormatKey(out, subkey, rootPath + u'\\' + subkey.name());
    }
    return out;
}
