#include "store/column_values.h"

#include <sodium.h>

#include "platform/win/codepage.h"

namespace {

std::string Narrow(const std::u16string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

std::u16string Widen(const std::string& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(size > 0 ? size : 0), u'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), size);
    return wide;
}

}  // namespace

std::u16string ColumnText(Fields* fields, long index) {
    const CComVariant value = fields->GetItem(index)->GetValue();
    if (value.vt == VT_NULL || value.vt == VT_EMPTY) return {};
    if (value.vt == VT_BSTR) return std::u16string(value.bstrVal, SysStringLen(value.bstrVal));
    CComVariant text;
    const HRESULT hr = VariantChangeType(&text, &value, 0, VT_BSTR);
    if (FAILED(hr)) _com_issue_error(hr);
    return std::u16string(text.bstrVal, SysStringLen(text.bstrVal));
}

bool ProtectColumn(CCryptStr& crypt, const std::u16string& clear, std::u16string& column) {
    std::string text;
    if (!crypt.EncryptStrW(clear, text)) return false;
    column = Widen(text);
    return true;
}

bool UnprotectColumn(CCryptStr& crypt, const std::u16string& column, std::u16string& clear) {
    return crypt.DecryptStrW(Narrow(column), clear);
}

void WipeText(std::u16string& text) {
    if (!text.empty()) sodium_memzero(text.data(), text.size() * sizeof(char16_t));
    text.clear();
}
