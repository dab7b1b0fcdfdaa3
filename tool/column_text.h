// What the tool adds to the login database's values: the message of a
// failed read.
#pragma once

#include <string>

#include "platform/ado/ado.h"
#include "store/column_values.h"

// The title and text of the message for an ADO error met while walking
// rows: the provider's description, or the system's text for its code.
inline constexpr char16_t kDbErrorTitle[] = u"Kestro - DB Error";
std::u16string DbErrorText(const _com_error& error);
