#include "platform/browser/selection.h"

#include <algorithm>

#include "platform/browser/rendered_text.h"
#include "platform/browser/tag_names.h"

namespace browser {

namespace {

bool IsWordCharacter(char16_t c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
    if (c == '_' || c == '\'') return true;
    if (c < 0xC0) return false;
    // General punctuation, CJK punctuation and full-width punctuation end words.
    if ((c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x303F)) return false;
    if (c >= 0xFF00 && c <= 0xFF0F) return false;
    return true;
}

}  // namespace

Selection SelectElementText(const Node& element, std::optional<std::size_t> from,
                            std::optional<std::size_t> to) {
    const std::size_t length = RenderedText(element).size();
    std::size_t start = std::min(from.value_or(0), length);
    std::size_t end = std::min(to.value_or(length), length);
    if (start > end) std::swap(start, end);
    if (start == end) return {};
    return Selection{Selection::Kind::Text, &element, start, end};
}

Selection SelectWordAt(const Node& element, std::size_t offset) {
    const std::u16string text = RenderedText(element);
    if (offset >= text.size() || !IsWordCharacter(text[offset])) return {};
    std::size_t start = offset, end = offset;
    while (start > 0 && IsWordCharacter(text[start - 1])) --start;
    while (end < text.size() && IsWordCharacter(text[end])) ++end;
    return Selection{Selection::Kind::Text, &element, start, end};
}

bool IsSelectableControl(const Node& element) {
    if (!element.IsElement() || element.foreign) return false;
    switch (element.tag) {
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_TEXTAREA:
        case GUMBO_TAG_BUTTON:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_IFRAME:
            return true;
        default:
            return false;
    }
}

Selection SelectControl(const Node& element) {
    if (!IsSelectableControl(element)) return {};
    return Selection{Selection::Kind::Control, &element, 0, 0};
}

std::u16string SelectedText(const Selection& selection) {
    if (selection.kind != Selection::Kind::Text || !selection.node) return {};
    const std::u16string text = RenderedText(*selection.node);
    const std::size_t start = std::min(selection.start, text.size());
    const std::size_t end = std::min(selection.end, text.size());
    return text.substr(start, end - start);
}

}  // namespace browser
