#include "addon/login/item_list.h"

namespace login {

std::u16string JoinItems(const std::vector<std::u16string>& entries) {
    // Sized once, so no clear value is left behind in a grown-out buffer.
    std::size_t size = entries.empty() ? 0 : entries.size() - 1;
    for (const std::u16string& entry : entries) size += entry.size();
    std::u16string list;
    list.reserve(size);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) list += u'\n';
        list += entries[i];
    }
    return list;
}

std::vector<std::u16string> SplitItems(const std::u16string& list) {
    std::vector<std::u16string> entries;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t feed = list.find(u'\n', start);
        const std::size_t end = feed == std::u16string::npos ? list.size() : feed;
        if (end > start) entries.push_back(list.substr(start, end - start));
        if (feed == std::u16string::npos) break;
        start = feed + 1;
    }
    return entries;
}

bool FitsItemList(const std::u16string& entry) {
    return entry.find(u'\n') == std::u16string::npos;
}

}  // namespace login
