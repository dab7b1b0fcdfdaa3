// The texts of a dialog on screen that do not fit: a label whose wrapped
// lines need more height than it has, or with a word wider than it; a
// button, check box or radio button whose label is wider than the room its
// frame or box leaves; and a text that runs into another visible control.
// A hidden control is neither checked nor in the way.
#pragma once

#include <string>
#include <vector>

class DialogView;

// One line per finding, naming the control by id and text.
std::vector<std::string> TextThatDoesNotFit(const DialogView& view);
// Whether every text has the room it needs in its own control.
bool EveryTextHasRoom(const DialogView& view);
