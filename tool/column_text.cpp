#include "tool/column_text.h"

#include "platform/win/format.h"

std::u16string DbErrorText(const _com_error& error) {
    return FormatPattern(u"ado error: %s",
                         error.Description().empty() ? error.ErrorMessage() : error.Description());
}
