// The item list of a captured login form (columns ItemNames and, before
// protection, ItemValues): entries joined by one line feed, no separator
// before the first or after the last, no escaping and no count.
#pragma once

#include <string>
#include <vector>

namespace login {

std::u16string JoinItems(const std::vector<std::u16string>& entries);
// The entries between line feeds; empty ones are skipped.
std::vector<std::u16string> SplitItems(const std::u16string& list);
// An entry holding a line feed would split into two and shift every later
// pair, so such an entry never goes into a list.
bool FitsItemList(const std::u16string& entry);

}  // namespace login
