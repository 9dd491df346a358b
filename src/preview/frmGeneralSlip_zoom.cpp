// The zoom list: sizes the page, lays the slip out on it again, sets the
// scroll ranges and centres the page.

#include <QComboBox>
#include <QCoreApplication>
#include <QScrollBar>

#include "core/values.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/zoomrules.h"

namespace lumaris {

using platform::setTwipsRect;
using platform::twipsHeight;
using platform::twipsWidth;

void frmGeneralSlip::cmbZoom_Click() {
    Command1_Click();

    int z = int(roundHalfEven(5 * leadingNumber(cmbZoom->currentText().toStdString())));
    z = std::clamp(z, 0, zoom::kMaxZoom);
    const int fitCode = cmbZoom->currentData().toInt();
    if (fitCode == -1 || fitCode == -2)
        z = zoom::fitZoom(twipsWidth(picMain), twipsHeight(picMain), twipsWidth(picWorkSpace),
                          twipsHeight(picWorkSpace), fitCode == -1);

    picPrinter->hide();
    picShadow->hide();
    QCoreApplication::processEvents();

    // The window may have been closed while events ran.
    if (!isLoaded())
        return;
    const float pageWidth = float(zoom::pageExtent(twipsWidth(picMain), z));
    const float pageHeight = float(zoom::pageExtent(twipsHeight(picMain), z));
    setTwipsRect(picPrinter, platform::twipsLeft(picPrinter), platform::twipsTop(picPrinter),
                 pageWidth, pageHeight);

    RenderPreviewControls();

    const float viewportWidth = twipsWidth(picWorkSpace);
    const float viewportHeight = twipsHeight(picWorkSpace);
    VScroll1->setMaximum(zoom::scrollMaximum(twipsHeight(picPrinter), viewportHeight));
    VScroll1->setPageStep(zoom::kLargeChange);
    HScroll1->setMaximum(zoom::scrollMaximum(twipsWidth(picPrinter), viewportWidth));
    HScroll1->setPageStep(zoom::kLargeChange);

    // Each change of value moves the page through the bar's change handler;
    // the placement below then overrides it.
    HScroll1->setValue(0);
    VScroll1->setValue(0);
    HScroll1->setValue(zoom::scrollMiddle(HScroll1->maximum()));

    const float left = (viewportWidth - twipsWidth(picPrinter)) / 2;
    setTwipsRect(picPrinter, left, zoom::kPageTop, twipsWidth(picPrinter), twipsHeight(picPrinter));
    setTwipsRect(picShadow, left + zoom::kShadowOffset, zoom::kPageTop + zoom::kShadowOffset,
                 twipsWidth(picPrinter), twipsHeight(picPrinter));
    picShadow->lower();
    picShadow->show();
    picPrinter->show();
}

} // namespace lumaris
