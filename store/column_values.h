// Values of the login database as the add-on and the tool read and write
// them: every column as text, and protected columns turned into clear text
// and back. Protected text is Base64 (ASCII) stored as a wide string; it is
// narrowed and widened with the ANSI code page at this boundary, which
// converts ASCII exactly.
#pragma once

#include <string>

#include "platform/ado/ado.h"
#include "store/crypt_str.h"

// The column at a zero-based position of the current row: a string value
// unchanged, any other value changed to a string, NULL as empty text.
// Raises the ADO error of a failed read.
std::u16string ColumnText(Fields* fields, long index);

// clear protected for the current user, as column text. False with
// crypt.m_strError set and column untouched.
bool ProtectColumn(CCryptStr& crypt, const std::u16string& clear, std::u16string& column);
// The clear value of protected column text. False with crypt.m_strError
// set and clear untouched.
bool UnprotectColumn(CCryptStr& crypt, const std::u16string& column, std::u16string& clear);

// Overwrites and empties a clear value before its memory is given back.
void WipeText(std::u16string& text);
