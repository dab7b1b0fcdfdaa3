// The font a dialog template names, and the dialog base units it gives.
#pragma once

#include <QFont>
#include <string>

#include "platform/ui/ui_types.h"

// The Windows dialog fonts ("MS Shell Dlg", "MS Sans Serif"...) become the
// desktop's sans-serif font; points become pixels at 96 dots per inch, as
// on a Windows desktop, so layouts look the same on every screen.
QFont DialogFont(const std::u16string& face, WORD pointSize);
// Pixels per 4 horizontal and per 8 vertical dialog units: the average
// width of the Latin letters and the line height of the font.
SIZE DialogBaseUnitsOf(const QFont& font);
