// Text helpers of the login commands: BSTRs to strings, and clear values
// (login names, passwords, form values) wiped from the buffers this code
// owns before their memory goes back.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/com/bstr.h"
#include "store/column_values.h"

namespace login {

std::u16string BstrText(BSTR text);
inline std::u16string BstrText(const CComBSTR& text) {
    return BstrText(text.m_str);
}

// Overwrites and empties.
void WipeBstr(CComBSTR& text);

// Clear texts wiped when the holder goes, on every path out of a command.
class ClearTexts {
public:
    ClearTexts() = default;
    ~ClearTexts();
    ClearTexts(const ClearTexts&) = delete;
    ClearTexts& operator=(const ClearTexts&) = delete;

    std::u16string& Add() { return m_texts.emplace_back(); }
    void Wipe();

private:
    // A deque keeps every text at its place while more are added.
    std::deque<std::u16string> m_texts;
};

void WipeTexts(std::vector<std::u16string>& texts);
void WipeTexts(std::map<std::u16string, std::u16string>& texts);

}  // namespace login
