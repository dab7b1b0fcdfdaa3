// Values of the login database as the tool reads and writes them: every
// column as text, and protected columns turned into clear text and back.
// Protected text is Base64 (ASCII) stored as a wide string; it is narrowed
// and widened with the ANSI code page at this boundary.
#pragma once

#include <string>

#include "platform/ado/ado.h"
#include "store/crypt_str.h"

// The column at a zero-based position of the current row: a string value
// unchanged, any other value changed to a string, NULL as empty text.
// Raises the ADO error of a failed read.
std::u16string ColumnText(Fields* fields, long index);

// plain encrypted for the current user, as column text. False with
// crypt.m_strError set.
bool ProtectText(CCryptStr& crypt, const std::u16string& plain, std::u16string& column);
// The clear value of protected column text. False with crypt.m_strError
// set and plain untouched.
bool UnprotectText(CCryptStr& crypt, const std::u16string& column, std::u16string& plain);

// The title and text of the message for an ADO error met while walking
// rows: the provider's description, or the system's text for its code.
inline constexpr char16_t kDbErrorTitle[] = u"Kestro - DB Error";
std::u16string DbErrorText(const _com_error& error);

// Overwrites a clear value before its memory is given back.
void WipeText(std::u16string& text);
