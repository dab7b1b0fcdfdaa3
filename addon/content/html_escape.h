// Text put into markup the add-on writes itself.
#pragma once

#include <string>
#include <string_view>

// The text with &, ", < and > written as character references, so that
// it reads the same as text or as a quoted attribute value and can never
// close the attribute or start a tag.
std::u16string EscapeHtml(std::u16string_view text);
