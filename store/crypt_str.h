// Protected text: a value encrypted for the current user and stored as
// Base64 text (standard alphabet, no padding, no line breaks). The Base64
// text is narrow; callers widen and narrow it with the ANSI code page at
// the database boundary. Every holder uses the same entropy and
// description, so each reads what any other wrote.
#pragma once

#include <string>

#include "platform/dpapi/dpapi.h"

class CCryptStr {
public:
    CCryptStr();
    // Copies point their entropy blob at their own bytes.
    CCryptStr(const CCryptStr& other);
    CCryptStr& operator=(const CCryptStr& other);

    // True with text set to the protected form of plain; false with
    // m_strError set and text untouched.
    bool EncryptStrW(const std::u16string& plain, std::string& text);
    // True with plain set to the value (up to its first zero unit); false
    // with m_strError set and plain untouched.
    bool DecryptStrW(const std::string& text, std::u16string& plain);

    // Text of the last failure; never cleared by a success.
    std::u16string m_strError;
    BYTE m_entropyBytes[8];
    DATA_BLOB m_entropy;  // 8 bytes at m_entropyBytes
    LPCWSTR m_szDescription;

private:
    void BuildEntropy();
};
