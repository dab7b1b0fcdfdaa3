#include "addon/login/login_text.h"

#include <sodium.h>

namespace login {

std::u16string BstrText(BSTR text) {
    return text ? std::u16string(text, SysStringLen(text)) : std::u16string();
}

void WipeBstr(CComBSTR& text) {
    if (text.m_str) sodium_memzero(text.m_str, SysStringLen(text.m_str) * sizeof(OLECHAR));
    text.Empty();
}

ClearTexts::~ClearTexts() {
    Wipe();
}

void ClearTexts::Wipe() {
    for (std::u16string& text : m_texts) WipeText(text);
}

void WipeTexts(std::vector<std::u16string>& texts) {
    for (std::u16string& text : texts) WipeText(text);
    texts.clear();
}

void WipeTexts(std::map<std::u16string, std::u16string>& texts) {
    for (auto& entry : texts) WipeText(entry.second);
    texts.clear();
}

}  // namespace login
