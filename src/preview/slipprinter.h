#pragma once
// The printer renderer on any paint device: PrintSlipPage draws with it on the
// current printer, and it can draw on a PDF file or an image as well.

class QFont;
class QPainter;

namespace lumaris {

class frmGeneralSlip;

// Draws the slip the window shows (frmGeneralSlip::mSlipFile) with an active
// painter whose device has the given twips per pixel. font is the device's
// current font: items take it up where their own font setting is refused, and
// it holds the last item's font afterwards.
void drawSlipPage(const frmGeneralSlip& w, QPainter& painter, double twipsPerPixelX,
                  double twipsPerPixelY, QFont& font);

} // namespace lumaris
