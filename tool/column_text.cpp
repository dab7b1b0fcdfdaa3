#include "tool/column_text.h"

#include <sodium.h>

#include "platform/win/format.h"

std::u16string DbErrorText(const _com_error& error) {
    return FormatPattern(u"ado error: %s",
                         error.Description().empty() ? error.ErrorMessage() : error.Description());
}

void WipeText(std::u16string& text) {
    if (!text.empty()) sodium_memzero(text.data(), text.size() * sizeof(char16_t));
    text.clear();
}
