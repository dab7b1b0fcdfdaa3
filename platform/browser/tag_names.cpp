#include "platform/browser/tag_names.h"

#include "platform/win/text.h"

namespace browser {

TagId TagFromName(std::u16string_view name) {
    std::string narrow;
    narrow.reserve(name.size());
    for (char16_t c : name) {
        if (c >= 0x80) return kUnknownTag;
        narrow.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
    }
    const GumboTag tag = gumbo_tag_enum(narrow.c_str());
    return tag == GUMBO_TAG_LAST ? kUnknownTag : static_cast<TagId>(tag);
}

std::u16string LocalName(const Node& element) {
    if (element.foreign || element.tag == kUnknownTag) return element.data;
    const char* name = gumbo_normalized_tagname(static_cast<GumboTag>(element.tag));
    return std::u16string(name, name + std::char_traits<char>::length(name));
}

std::u16string TagNameOf(const Node& element) {
    if (element.foreign) return element.data;
    return WideUpper(LocalName(element));
}

bool IsVoidElement(const Node& element) {
    if (element.foreign) return false;
    switch (element.tag) {
        case GUMBO_TAG_AREA:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_BASEFONT:
        case GUMBO_TAG_BGSOUND:
        case GUMBO_TAG_BR:
        case GUMBO_TAG_COL:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_FRAME:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_KEYGEN:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_META:
        case GUMBO_TAG_PARAM:
        case GUMBO_TAG_SOURCE:
        case GUMBO_TAG_TRACK:
        case GUMBO_TAG_WBR:
            return true;
        default:
            return false;
    }
}

}  // namespace browser
