// A lenient, allocation-light UTF-8 to UTF-16 conversion for parser output
// (which is valid UTF-8 already); malformed bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace browser {

void AppendUtf8AsUtf16(std::string_view utf8, std::u16string& out);

}  // namespace browser
