#pragma once
// A slip's text as the printer's text call lays it out: lines broken at line
// breaks (and, with wrapping, at word boundaries within the width), "&" hiding
// itself and underlining the next letter ("&&" shows one "&"), right-to-left
// reading, alignment in absolute terms.
//
// Lines advance by the line height of the item's own face. Qt would take the
// tallest face on the line instead, and the faces that supply Arabic letters
// here are much taller than the Windows face the slip was designed with: a
// 12 pt Arabic line would take 34 px where the slip planned about 19.

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class QPaintDevice;

namespace lumaris {

enum class SlipAlign { Left, Right, Center };

// The text's extent in device pixels: the widest line by all lines. With
// wrapWidth >= 0 the lines wrap within that width. An empty text takes one line.
QSizeF slipTextSize(const QFont& font, const QPaintDevice* device, const QString& text,
                    SlipAlign align, double wrapWidth = -1);

// Draws the text from the top of the rectangle with the painter's font and pen,
// aligned within the rectangle's width and wrapped there when wrap is set.
void drawSlipText(QPainter& painter, const QRectF& rect, const QString& text, SlipAlign align,
                  bool wrap);

} // namespace lumaris
