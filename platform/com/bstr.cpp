#include "platform/com/bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/win/text.h"

namespace {

// The prefix is kept in front of the characters and keeps them aligned.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);

BSTR AllocateBytes(const void* data, std::size_t byteLength) {
    if (byteLength > std::numeric_limits<std::uint32_t>::max() - 16) return nullptr;
    auto* block = static_cast<char*>(std::malloc(kPrefix + byteLength + sizeof(OLECHAR) + 1));
    if (!block) return nullptr;
    const auto length = static_cast<std::uint32_t>(byteLength);
    std::memcpy(block, &length, kPrefix);
    if (data) {
        std::memcpy(block + kPrefix, data, byteLength);
    } else {
        std::memset(block + kPrefix, 0, byteLength);
    }
    // Two null bytes after the data (three for odd byte lengths) terminate it.
    std::memset(block + kPrefix + byteLength, 0, sizeof(OLECHAR) + 1);
    return reinterpret_cast<BSTR>(block + kPrefix);
}

char* BlockOf(BSTR bstr) {
    return reinterpret_cast<char*>(bstr) - kPrefix;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
    if (!text) return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(WideLength(text)));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > (std::numeric_limits<std::uint32_t>::max() - 16) / sizeof(OLECHAR)) return nullptr;
    return AllocateBytes(text, std::size_t{length} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char* bytes, UINT length) {
    return AllocateBytes(bytes, length);
}

INT SysReAllocString(BSTR* bstr, const OLECHAR* text) {
    return SysReAllocStringLen(bstr, text, static_cast<UINT>(WideLength(text)));
}

INT SysReAllocStringLen(BSTR* bstr, const OLECHAR* text, UINT length) {
    if (!bstr) return FALSE;
    BSTR fresh = SysAllocStringLen(text, length);
    if (!fresh) return FALSE;
    SysFreeString(*bstr);
    *bstr = fresh;
    return TRUE;
}

void SysFreeString(BSTR bstr) {
    if (bstr) std::free(BlockOf(bstr));
}

UINT SysStringByteLen(BSTR bstr) {
    if (!bstr) return 0;
    std::uint32_t length;
    std::memcpy(&length, BlockOf(bstr), kPrefix);
    return length;
}

UINT SysStringLen(BSTR bstr) {
    return SysStringByteLen(bstr) / sizeof(OLECHAR);
}

CComBSTR& CComBSTR::operator=(const CComBSTR& other) {
    if (this != std::addressof(other)) Attach(other.Copy());
    return *this;
}

CComBSTR& CComBSTR::operator=(CComBSTR&& other) noexcept {
    if (this != std::addressof(other)) Attach(other.Detach());
    return *this;
}

CComBSTR& CComBSTR::operator=(const OLECHAR* text) {
    if (text != m_str) Attach(SysAllocString(text));
    return *this;
}

void CComBSTR::Empty() noexcept {
    SysFreeString(m_str);
    m_str = nullptr;
}

BSTR CComBSTR::Copy() const {
    if (!m_str) return nullptr;
    return SysAllocStringByteLen(reinterpret_cast<const char*>(m_str), SysStringByteLen(m_str));
}

HRESULT CComBSTR::CopyTo(BSTR* out) const {
    if (!out) return E_POINTER;
    *out = Copy();
    return (m_str && !*out) ? E_OUTOFMEMORY : S_OK;
}

void CComBSTR::Attach(BSTR other) noexcept {
    if (m_str != other) SysFreeString(m_str);
    m_str = other;
}

BSTR CComBSTR::Detach() noexcept {
    BSTR s = m_str;
    m_str = nullptr;
    return s;
}

HRESULT CComBSTR::Append(const OLECHAR* text, int length) {
    if (length < 0 || (length > 0 && !text)) return E_INVALIDARG;
    const UINT old = Length();
    std::u16string joined;
    joined.reserve(old + static_cast<std::size_t>(length));
    joined.append(m_str ? m_str : u"", old);
    joined.append(text ? text : u"", static_cast<std::size_t>(length));
    BSTR fresh = SysAllocStringLen(joined.data(), static_cast<UINT>(joined.size()));
    if (!fresh) return E_OUTOFMEMORY;
    Attach(fresh);
    return S_OK;
}

HRESULT CComBSTR::ToLower() {
    for (UINT i = 0; i < Length(); ++i) m_str[i] = WideToLower(m_str[i]);
    return S_OK;
}

HRESULT CComBSTR::ToUpper() {
    for (UINT i = 0; i < Length(); ++i) m_str[i] = WideToUpper(m_str[i]);
    return S_OK;
}

bool operator==(const CComBSTR& a, const CComBSTR& b) {
    return a.View() == b.View();
}

bool operator==(const CComBSTR& a, const OLECHAR* b) {
    return a.View() == std::u16string_view(b ? b : u"");
}
