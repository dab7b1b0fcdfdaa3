// The Jet connection string: "Key=Value" pairs separated by ";".
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of "Data Source" (keys compared without regard to case, blanks
// around keys and values dropped, one pair of surrounding quotes removed);
// nothing when the key is missing or empty.
std::optional<std::u16string> DataSourceOf(std::u16string_view connectionString);
