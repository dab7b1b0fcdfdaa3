// The page address the "Append URL" setting adds to saved text and to
// views.
#pragma once

#include <string>
#include <string_view>

// After item, table and selection text: CR LF CR LF, the URL, CR LF.
std::u16string ItemUrlFooter(std::u16string_view url);
// After the text of a linked page: CR LF, the URL, CR LF.
std::u16string LinkPageUrlFooter(std::u16string_view url);
// After the markup of an item or table view: a paragraph holding a link to
// the page whose text is its address.
std::u16string ViewUrlFooter(std::u16string_view url);
