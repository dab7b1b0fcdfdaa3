// Helpers for the system's UTF-16 text and its meeting points with the
// UTF-8 world of the operating system (paths, environment, libraries).
#pragma once

#include <string>
#include <string_view>

#include "platform/win/win_types.h"

// Conversions never fail: ill-formed input is replaced with U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Length of a zero-terminated UTF-16 string; 0 for a null pointer.
std::size_t WideLength(const char16_t* text);

// Simple case mapping, as Windows compares names: ASCII and Latin-1
// letters plus the common BMP ranges that have a one-to-one mapping.
char16_t WideToLower(char16_t c);
char16_t WideToUpper(char16_t c);
std::u16string WideLower(std::u16string_view text);
std::u16string WideUpper(std::u16string_view text);
bool WideEqualsNoCase(std::u16string_view a, std::u16string_view b);
// Compares without regard to case: negative, zero or positive.
int WideCompareNoCase(std::u16string_view a, std::u16string_view b);

// Backslash escapes for one-line text: \\, \t, \n, \r, and \" when
// quotes are escaped too. Journal lines and script quoting share them.
std::u16string EscapeBackslashed(std::u16string_view text, bool escapeQuotes);

// Decimal and hexadecimal text of integers, as the system shows them.
std::u16string WideFromInt(long long value);
std::u16string WideFromUnsigned(unsigned long long value);
