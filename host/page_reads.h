// What checks read from a page, through the same interfaces an add-on
// uses (innerText, value, checked, selected options). Each returns an
// empty text on success, or why the element cannot be read that way.
#pragma once

#include <string>
#include <vector>

#include "platform/browser/browser_window.h"

std::string ReadInnerText(const browser::PageElement& element, std::u16string& text);
// An input's, text area's, list's (first selected option) or option's value.
std::string ReadValue(const browser::PageElement& element, std::u16string& value);
// Check boxes and radio buttons only.
std::string ReadChecked(const browser::PageElement& element, bool& checked);
// The values of a list's selected options, in document order.
std::string ReadSelectedValues(const browser::PageElement& element,
                               std::vector<std::u16string>& values);
