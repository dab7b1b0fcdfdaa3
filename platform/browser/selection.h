// A document's selection: nothing, a run of text, or one control. A text
// selection is a range of the rendered text (innerText) of a scope element,
// so its text follows the same rules as innerText.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/browser/dom_node.h"

namespace browser {

struct Selection {
    enum class Kind { None, Text, Control };
    Kind kind = Kind::None;
    const Node* node = nullptr;  // the scope of a text selection, or the control
    std::size_t start = 0;       // in the scope's rendered text
    std::size_t end = 0;
};

// The element's whole text, or its characters [from, to) (clamped to the
// text; reversed bounds are swapped). An empty result selects nothing.
Selection SelectElementText(const Node& element, std::optional<std::size_t> from = {},
                            std::optional<std::size_t> to = {});
// The word around character offset of the element's rendered text, as a
// double-click selects it; nothing when no word is there.
Selection SelectWordAt(const Node& element, std::size_t offset);
// An image or form control as a control selection; nothing for others.
Selection SelectControl(const Node& element);
bool IsSelectableControl(const Node& element);

std::u16string SelectedText(const Selection& selection);

}  // namespace browser
