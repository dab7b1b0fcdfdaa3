// Ids of the test program's UI resources.
#pragma once

namespace ui_testing {

constexpr int kControlsDialog = 300;  // every control kind and style
constexpr int kPlainDialog = 301;     // OK only, no Cancel button
constexpr int kContextMenu = 400;     // a popup with nested popups
constexpr int kAddonMenu = 401;       // a flat menu
constexpr int kProductName = 101;     // string "Kestro"
constexpr int kLongString = 102;

}  // namespace ui_testing
