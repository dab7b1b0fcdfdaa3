// BSTR: length-prefixed UTF-16 strings from the system allocator. The
// 32-bit byte length sits just before the characters, which are followed
// by a null character; embedded nulls are allowed. A null BSTR is empty.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/unknown.h"

using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;

BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
BSTR SysAllocStringByteLen(const char* bytes, UINT length);
INT SysReAllocString(BSTR* bstr, const OLECHAR* text);
INT SysReAllocStringLen(BSTR* bstr, const OLECHAR* text, UINT length);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);

// Owns one BSTR.
class CComBSTR {
public:
    CComBSTR() noexcept = default;
    CComBSTR(std::nullptr_t) noexcept {}
    CComBSTR(const OLECHAR* text) : m_str(SysAllocString(text)) {}
    CComBSTR(int length, const OLECHAR* text)
        : m_str(SysAllocStringLen(text, static_cast<UINT>(length))) {}
    CComBSTR(std::u16string_view text)
        : m_str(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    CComBSTR(const CComBSTR& other) : m_str(other.Copy()) {}
    CComBSTR(CComBSTR&& other) noexcept : m_str(other.Detach()) {}
    ~CComBSTR() { SysFreeString(m_str); }

    CComBSTR& operator=(const CComBSTR& other);
    CComBSTR& operator=(CComBSTR&& other) noexcept;
    CComBSTR& operator=(const OLECHAR* text);

    operator BSTR() const noexcept { return m_str; }
    BSTR* operator&() noexcept { return &m_str; }
    bool operator!() const noexcept { return m_str == nullptr; }

    unsigned int Length() const noexcept { return SysStringLen(m_str); }
    void Empty() noexcept;
    BSTR Copy() const;
    HRESULT CopyTo(BSTR* out) const;
    void Attach(BSTR other) noexcept;
    BSTR Detach() noexcept;
    HRESULT Append(const OLECHAR* text, int length);
    HRESULT Append(std::u16string_view text) {
        return Append(text.data(), static_cast<int>(text.size()));
    }
    HRESULT Append(const OLECHAR* text) { return Append(std::u16string_view(text ? text : u"")); }
    CComBSTR& operator+=(std::u16string_view text) {
        Append(text);
        return *this;
    }
    HRESULT ToLower();
    HRESULT ToUpper();
    std::u16string_view View() const noexcept { return {m_str ? m_str : u"", Length()}; }

    BSTR m_str = nullptr;
};

bool operator==(const CComBSTR& a, const CComBSTR& b);
bool operator==(const CComBSTR& a, const OLECHAR* b);
