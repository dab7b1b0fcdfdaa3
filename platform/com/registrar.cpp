#include "platform/com/registrar.h"

#include <memory>

#include "platform/com/dispatch.h"
#include "platform/win/module.h"
#include "platform/win/registry.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"

namespace {

// A script error: bad syntax or an unknown replacement.
constexpr HRESULT kScriptError = DISP_E_EXCEPTION;

struct ScriptValue {
    std::u16string name;  // empty: the key's default value
    char16_t type = u's';
    std::u16string data;
};

struct ScriptKey {
    std::u16string name;
    bool noRemove = false;
    bool forceRemove = false;
    bool deleteOnly = false;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> subkeys;
};

struct ScriptRoot {
    HKEY root;
    std::vector<ScriptKey> keys;
};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

using Replacements = std::vector<std::pair<std::u16string, std::u16string>>;

// Splits the script into tokens: quoted strings ('' is a quote inside one)
// and runs of non-blank characters. %NAME% expands inside tokens to the
// replacement's text taken literally, so a replacement holding a quote or
// a blank (a path, say) cannot change the script's structure.
class Lexer {
public:
    Lexer(std::u16string_view text, const Replacements& replacements)
        : m_text(text), m_replacements(replacements) {}

    bool Next(std::u16string& token, bool& quoted) {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) ++m_pos;
        if (m_pos >= m_text.size()) return false;
        token.clear();
        quoted = m_text[m_pos] == u'\'';
        if (!quoted) {
            while (m_pos < m_text.size() && !IsBlank(m_text[m_pos]))
                if (!Append(token)) return false;
            return true;
        }
        ++m_pos;
        while (m_pos < m_text.size()) {
            if (m_text[m_pos] == u'%') {
                if (!Append(token)) return false;
                continue;
            }
            if (m_text[m_pos] == u'\'') {
                if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\'') {
                    token += u'\'';
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                return true;
            }
            token += m_text[m_pos++];
        }
        m_failed = true;  // unterminated string
        return false;
    }
    bool Failed() const { return m_failed; }

private:
    // Appends the character at the position, or the expansion of %NAME%.
    bool Append(std::u16string& token) {
        if (m_text[m_pos] != u'%') {
            token += m_text[m_pos++];
            return true;
        }
        const std::size_t end = m_text.find(u'%', m_pos + 1);
        if (end == std::u16string_view::npos) return Fail();
        const std::u16string_view name = m_text.substr(m_pos + 1, end - m_pos - 1);
        m_pos = end + 1;
        if (name.empty()) {
            token += u'%';
            return true;
        }
        for (const auto& [key, item] : m_replacements) {
            if (WideEqualsNoCase(key, name)) {
                token += item;
                return true;
            }
        }
        return Fail();  // unknown replacement
    }
    bool Fail() {
        m_failed = true;
        return false;
    }

    std::u16string_view m_text;
    const Replacements& m_replacements;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

bool ParseDword(std::u16string_view text, DWORD& out);
bool ParseBinary(std::u16string_view text, std::vector<BYTE>& out);

class Parser {
public:
    Parser(std::u16string_view text, const Replacements& replacements)
        : m_lexer(text, replacements) {
        Advance();
    }

    HRESULT ParseScript(std::vector<ScriptRoot>& roots) {
        while (m_has) {
            ScriptRoot root{RootFor(m_token), {}};
            if (!root.root || m_quoted) return kScriptError;
            Advance();
            if (!Expect(u"{")) return kScriptError;
            while (m_has && !IsToken(u"}")) {
                ScriptKey key;
                if (HRESULT hr = ParseKey(key); FAILED(hr)) return hr;
                root.keys.push_back(std::move(key));
            }
            if (!Expect(u"}")) return kScriptError;
            roots.push_back(std::move(root));
        }
        return m_lexer.Failed() ? kScriptError : S_OK;
    }

private:
    static HKEY RootFor(std::u16string_view name) {
        if (WideEqualsNoCase(name, u"HKCR") || WideEqualsNoCase(name, u"HKEY_CLASSES_ROOT"))
            return HKEY_CLASSES_ROOT;
        if (WideEqualsNoCase(name, u"HKCU") || WideEqualsNoCase(name, u"HKEY_CURRENT_USER"))
            return HKEY_CURRENT_USER;
        if (WideEqualsNoCase(name, u"HKLM") || WideEqualsNoCase(name, u"HKEY_LOCAL_MACHINE"))
            return HKEY_LOCAL_MACHINE;
        return nullptr;
    }

    void Advance() { m_has = m_lexer.Next(m_token, m_quoted); }
    bool IsToken(std::u16string_view t) const { return m_has && !m_quoted && m_token == t; }
    bool IsKeyword(std::u16string_view t) const {
        return m_has && !m_quoted && WideEqualsNoCase(m_token, t);
    }
    bool Expect(std::u16string_view t) {
        if (!IsToken(t)) return false;
        Advance();
        return true;
    }

    // `= TYPE 'data'` after a key or value name.
    HRESULT ParseAssignment(ScriptValue& value) {
        if (!Expect(u"=")) return kScriptError;
        if (!m_has || m_quoted || m_token.size() != 1) return kScriptError;
        value.type = WideToLower(m_token[0]);
        if (value.type != u's' && value.type != u'e' && value.type != u'd' && value.type != u'b')
            return kScriptError;
        Advance();
        if (!m_has) return kScriptError;
        value.data = m_token;
        Advance();
        // Checked before anything is written, so a bad script changes nothing.
        DWORD number;
        std::vector<BYTE> bytes;
        if (value.type == u'd' && !ParseDword(value.data, number)) return kScriptError;
        if (value.type == u'b' && !ParseBinary(value.data, bytes)) return kScriptError;
        return S_OK;
    }

    HRESULT ParseKey(ScriptKey& key) {
        for (;;) {
            if (IsKeyword(u"NoRemove"))
                key.noRemove = true;
            else if (IsKeyword(u"ForceRemove"))
                key.forceRemove = true;
            else if (IsKeyword(u"Delete"))
                key.deleteOnly = true;
            else
                break;
            Advance();
        }
        if (!m_has || IsToken(u"{") || IsToken(u"}") || IsToken(u"=")) return kScriptError;
        key.name = m_token;
        Advance();
        if (IsToken(u"=")) {
            ScriptValue value;
            if (HRESULT hr = ParseAssignment(value); FAILED(hr)) return hr;
            key.values.push_back(std::move(value));
        }
        if (!IsToken(u"{")) return S_OK;
        Advance();
        while (m_has && !IsToken(u"}")) {
            if (IsKeyword(u"val")) {
                Advance();
                if (!m_has || IsToken(u"=")) return kScriptError;
                ScriptValue value;
                value.name = m_token;
                Advance();
                if (HRESULT hr = ParseAssignment(value); FAILED(hr)) return hr;
                key.values.push_back(std::move(value));
                continue;
            }
            ScriptKey sub;
            if (HRESULT hr = ParseKey(sub); FAILED(hr)) return hr;
            key.subkeys.push_back(std::move(sub));
        }
        return Expect(u"}") ? S_OK : kScriptError;
    }

    Lexer m_lexer;
    std::u16string m_token;
    bool m_quoted = false;
    bool m_has = false;
};

HRESULT FromWin32(LONG rc) {
    return HRESULT_FROM_WIN32(static_cast<DWORD>(rc));
}

class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle() {
        if (m_key) RegCloseKey(m_key);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    HKEY* operator&() { return &m_key; }
    operator HKEY() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

bool ParseDword(std::u16string_view text, DWORD& out) {
    const std::string s = Utf16ToUtf8(text);
    if (s.empty()) return false;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(s.c_str(), &end, 0);
    if (*end || v > 0xFFFFFFFFull) return false;
    out = static_cast<DWORD>(v);
    return true;
}

bool ParseBinary(std::u16string_view text, std::vector<BYTE>& out) {
    if (text.size() % 2) return false;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = text[i] < 0x80 ? guid_detail::HexDigit(static_cast<char>(text[i])) : -1;
        const int lo =
            text[i + 1] < 0x80 ? guid_detail::HexDigit(static_cast<char>(text[i + 1])) : -1;
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<BYTE>(hi * 16 + lo));
    }
    return true;
}

HRESULT SetValue(HKEY key, const ScriptValue& value) {
    const char16_t* name = value.name.empty() ? nullptr : value.name.c_str();
    LONG rc;
    if (value.type == u'd') {
        DWORD number;
        if (!ParseDword(value.data, number)) return kScriptError;
        rc = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                            sizeof number);
    } else if (value.type == u'b') {
        std::vector<BYTE> bytes;
        if (!ParseBinary(value.data, bytes)) return kScriptError;
        rc = RegSetValueExW(key, name, 0, REG_BINARY, bytes.data(),
                            static_cast<DWORD>(bytes.size()));
    } else {
        rc = RegSetValueExW(key, name, 0, value.type == u'e' ? REG_EXPAND_SZ : REG_SZ,
                            reinterpret_cast<const BYTE*>(value.data.c_str()),
                            static_cast<DWORD>((value.data.size() + 1) * sizeof(char16_t)));
    }
    return rc == ERROR_SUCCESS ? S_OK : FromWin32(rc);
}

HRESULT RegisterKey(HKEY parent, const ScriptKey& key) {
    if (key.deleteOnly || key.forceRemove) {
        const LONG rc = RegDeleteTreeW(parent, key.name.c_str());
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return FromWin32(rc);
        if (key.deleteOnly) return S_OK;
    }
    KeyHandle handle;
    const LONG rc = RegCreateKeyExW(parent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                    nullptr, &handle, nullptr);
    if (rc != ERROR_SUCCESS) return FromWin32(rc);
    for (const ScriptValue& value : key.values)
        if (HRESULT hr = SetValue(handle, value); FAILED(hr)) return hr;
    for (const ScriptKey& sub : key.subkeys)
        if (HRESULT hr = RegisterKey(handle, sub); FAILED(hr)) return hr;
    return S_OK;
}

bool HasSubkeys(HKEY key) {
    char16_t name[256];
    DWORD length = 256;
    const LONG rc = RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
    return rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA;
}

HRESULT UnregisterKey(HKEY parent, const ScriptKey& key) {
    if (key.deleteOnly) return S_OK;
    if (key.forceRemove && !key.noRemove) {
        const LONG rc = RegDeleteTreeW(parent, key.name.c_str());
        return (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) ? S_OK : FromWin32(rc);
    }
    bool remove = false;
    {
        KeyHandle handle;
        LONG rc = RegOpenKeyExW(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, &handle);
        if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
        if (rc != ERROR_SUCCESS) return FromWin32(rc);
        for (const ScriptKey& sub : key.subkeys)
            if (HRESULT hr = UnregisterKey(handle, sub); FAILED(hr)) return hr;
        if (key.noRemove) {
            for (const ScriptValue& value : key.values) {
                if (value.name.empty()) continue;
                rc = RegDeleteValueW(handle, value.name.c_str());
                if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return FromWin32(rc);
            }
            return S_OK;
        }
        remove = !HasSubkeys(handle);
    }
    if (!remove) return S_OK;
    const LONG rc = RegDeleteTreeW(parent, key.name.c_str());
    return (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) ? S_OK : FromWin32(rc);
}

}  // namespace

HRESULT CRegObject::AddReplacement(std::u16string_view key, std::u16string_view item) {
    if (key.empty()) return E_INVALIDARG;
    for (auto& [k, v] : m_replacements) {
        if (WideEqualsNoCase(k, key)) {
            v = item;
            return S_OK;
        }
    }
    m_replacements.emplace_back(std::u16string(key), std::u16string(item));
    return S_OK;
}

HRESULT CRegObject::ClearReplacements() {
    m_replacements.clear();
    return S_OK;
}

HRESULT CRegObject::StringRegister(std::u16string_view script) {
    return Run(script, true);
}

HRESULT CRegObject::StringUnregister(std::u16string_view script) {
    return Run(script, false);
}

HRESULT CRegObject::ResourceRegister(HMODULE module, UINT id, const char16_t* type) {
    return RunResource(module, id, type, true);
}

HRESULT CRegObject::ResourceUnregister(HMODULE module, UINT id, const char16_t* type) {
    return RunResource(module, id, type, false);
}

HRESULT CRegObject::RunResource(HMODULE module, UINT id, const char16_t* type, bool reg) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!resource) return HRESULT_FROM_WIN32(GetLastError());
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return HRESULT_FROM_WIN32(GetLastError());
    std::string text(static_cast<const char*>(data), SizeofResource(module, resource));
    while (!text.empty() && text.back() == '\0') text.pop_back();  // a C string's terminator
    bool hasModule = false;
    for (const auto& entry : m_replacements)
        hasModule = hasModule || WideEqualsNoCase(entry.first, u"MODULE");
    if (!hasModule) {
        char16_t path[4096];
        const DWORD length = GetModuleFileNameW(module, path, 4096);
        if (length == 0 || length >= 4096) return E_FAIL;
        AddReplacement(u"MODULE", std::u16string_view(path, length));
    }
    return Run(Utf8ToUtf16(text), reg);
}

HRESULT CRegObject::Run(std::u16string_view script, bool reg) {
    std::vector<ScriptRoot> roots;
    if (HRESULT hr = Parser(script, m_replacements).ParseScript(roots); FAILED(hr)) return hr;
    for (const ScriptRoot& root : roots) {
        for (const ScriptKey& key : root.keys) {
            const HRESULT hr = reg ? RegisterKey(root.root, key) : UnregisterKey(root.root, key);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}
