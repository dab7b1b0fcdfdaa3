// The two line-break clean-ups the save dialog offers. Both take a text and
// give a new one; line breaks are the CR LF pairs the browser puts into
// element text.
#pragma once

#include <string>
#include <string_view>

// "Every text line is separated by a blank line.": each CR LF CR LF becomes
// one CR LF, scanning left to right without overlapping matches.
std::u16string CollapseBlankLines(std::u16string_view text);

// "Remove improper CRLFs": joins lines broken inside a sentence (with one
// blank when insertSpace, directly otherwise), keeps breaks after a
// sentence end and turns any run of blank lines into one blank line.
std::u16string RemoveImproperLineBreaks(std::u16string_view text, bool insertSpace);
