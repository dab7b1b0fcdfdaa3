// The add-on object built into a test or benchmark program, so that it can
// read a window's add-on members: the objects alive are kept in a list, and
// the program registers itself as the add-on of a program folder the way
// regsvr32 registers the library.
#pragma once

#include <string>
#include <vector>

#include "addon/edit_html.h"
#include "platform/browser/browser_window.h"

namespace built_in_add_on {

// The add-on objects alive now.
std::vector<CEditHtml*>& LiveAddOns();
// The add-on object of a window; null when it has none.
CEditHtml* AddOnOf(browser::BrowserWindow& window);
// Records the program folder (its Farrow.so) as the add-on's, writes the
// library's registration and the browser's version; false when one failed.
bool Register(const std::string& programFolder);

}  // namespace built_in_add_on
