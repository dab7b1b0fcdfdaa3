// Protected values as the login database holds them: the Base64 text of
// CCryptStr widened into a column, and narrowed again to be read. Base64
// is ASCII, so the ANSI code page converts it exactly.
#pragma once

#include <string>

#include "store/crypt_str.h"

namespace login {

// False with crypt.m_strError set and column untouched.
bool ProtectColumn(CCryptStr& crypt, const std::u16string& clear, std::u16string& column);
// False with crypt.m_strError set and clear untouched.
bool UnprotectColumn(CCryptStr& crypt, const std::u16string& column, std::u16string& clear);

}  // namespace login
