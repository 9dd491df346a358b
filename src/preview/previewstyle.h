#pragma once
// How a slip's colour numbers and font names become Qt colours and faces on
// screen.

#include <QColor>
#include <QString>
#include <optional>

namespace lumaris {

// A colour number of the slip: 24-bit RGB with red in the low byte, or, with
// the high bit set (a negative 32-bit number), a system colour by its index.
// Empty for what no colour property accepts: a number outside 32 bits, an
// unknown system colour, a positive number above 24 bits.
std::optional<QColor> slipColor(double number);

// The system colour with this index (8 is the window-text colour).
QColor systemColor(int index);

// "Arial (Arabic)" names the face "Arial" with an Arabic charset: the face
// alone, trimmed.
QString faceName(const QString& fontName);

} // namespace lumaris
