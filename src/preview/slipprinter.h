#pragma once
// The printer renderer on any paint device: PrintSlipPage draws with it on the
// current printer, and it can draw on a PDF file or an image as well.

#include <QRect>

class QFont;
class QPainter;
class QPaintDevice;
class QString;

namespace lumaris {

class frmGeneralSlip;
struct TextItemRects;
enum class SlipAlign;
enum class SlipAmpersand;

// The rectangle a text item's text is drawn in on paper, which also clips it:
// the drawing rectangle aligned vertically (0 top, 1 middle, 2 bottom) by the
// height of the text laid out in the outer width.
QRect printedTextRect(const QFont& font, const QPaintDevice* device, const TextItemRects& rects,
                      const QString& text, SlipAlign align, double vAlignment,
                      SlipAmpersand ampersand);

// Draws the slip the window shows (frmGeneralSlip::mSlipFile) with an active
// painter whose device has the given twips per pixel. font is the device's
// current font: items take it up where their own font setting is refused, and
// it holds the last item's font afterwards.
void drawSlipPage(const frmGeneralSlip& w, QPainter& painter, double twipsPerPixelX,
                  double twipsPerPixelY, QFont& font);

} // namespace lumaris
