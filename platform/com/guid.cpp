#include "platform/com/guid.h"

bool GuidFromString(std::u16string_view text, GUID* out) {
    if (!out) return false;
    GUID g{};
    if (!guid_detail::Parse(text, g)) return false;
    *out = g;
    return true;
}

std::u16string GuidToString(REFGUID g) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string s = u"{";
    auto put = [&](std::uint32_t v, int digits) {
        for (int i = digits - 1; i >= 0; --i) s += kHex[(v >> (4 * i)) & 0xF];
    };
    put(g.Data1, 8);
    s += u'-';
    put(g.Data2, 4);
    s += u'-';
    put(g.Data3, 4);
    s += u'-';
    put(g.Data4[0], 2);
    put(g.Data4[1], 2);
    s += u'-';
    for (int i = 2; i < 8; ++i) put(g.Data4[i], 2);
    s += u'}';
    return s;
}

int StringFromGUID2(REFGUID guid, char16_t* buffer, int cchMax) {
    const std::u16string s = GuidToString(guid);
    if (!buffer || cchMax < static_cast<int>(s.size()) + 1) return 0;
    s.copy(buffer, s.size());
    buffer[s.size()] = 0;
    return static_cast<int>(s.size()) + 1;
}

HRESULT CLSIDFromString(const char16_t* text, CLSID* out) {
    if (!out) return E_INVALIDARG;
    if (!text) {
        *out = GUID_NULL;
        return S_OK;
    }
    std::u16string_view view(text);
    if (view.size() != 38 || !GuidFromString(view, out)) return MakeHresult(0x800401F3u);
    return S_OK;
}

HRESULT IIDFromString(const char16_t* text, IID* out) {
    if (!out) return E_INVALIDARG;
    if (!text) {
        *out = GUID_NULL;
        return S_OK;
    }
    std::u16string_view view(text);
    if (view.size() != 38 || !GuidFromString(view, out)) return E_INVALIDARG;
    return S_OK;
}
