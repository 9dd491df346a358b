// The zoom list: the fit search, scroll ranges and the page's placement.

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/zoomrules.h"
#include "slipfiles.h"

using lumaris::frmGeneralSlip;
using namespace lumaris::platform;
using namespace lumaris::test;
namespace zoom = lumaris::zoom;

namespace {

enum Item { k50, k75, k100, kFitWidth, kFitHeight };

// Maximum (excess + 1200) / 10, halves to even: 120.5 -> 120, 121.5 -> 122.
// An excess of exactly 0 is not below 0, so it still gets the margin. The
// middle of a range halves to even too: 1 -> 0, 3 -> 2, 5 -> 2.
TEST(ZoomRules, ScrollRanges) {
    const std::tuple<float, float, int> rows[] = {
        {5005, 5000, 120},
        {5015, 5000, 122},
        {5000, 5000, 120},
        {4999, 5000, 0},
        {1e9f, 5000, 32767}}; // as far as a 16-bit bar goes
    for (const auto& [page, viewport, maximum] : rows)
        EXPECT_EQ(zoom::scrollMaximum(page, viewport), maximum) << page << " in " << viewport;
    for (auto [maximum, middle] : {std::pair{1, 0}, {3, 2}, {5, 2}})
        EXPECT_EQ(zoom::scrollMiddle(maximum), middle) << maximum;
}

// The fit is the largest z (up to 2000) whose page is strictly smaller than
// the viewport less 1000: with a 20000 reference z = 1000 gives exactly 10000.
TEST(ZoomRules, FitSearch) {
    // reference width, height, viewport width, height, whole page, z
    const std::tuple<double, double, float, float, bool, int> rows[] = {
        {20000, 20000, 11000, 99999, true, 999},  // exactly the width fails
        {20000, 20000, 11001, 99999, true, 1000}, // one twip more fits
        {20000, 40000, 11001, 11001, true, 500},  // the height decides a whole page
        {1000, 1000, 99999, 99999, true, 2000},   // never above 2000
        {20000, 20000, 1010, 99999, false, 0},    // z = 1 is 10 twips: not below 10
        {20000, 20000, 1011, 99999, false, 1},
    };
    for (const auto& [rw, rh, vw, vh, wholePage, z] : rows)
        EXPECT_EQ(zoom::fitZoom(rw, rh, vw, vh, wholePage), z) << rw << "x" << rh << " in " << vw;
}

// A one-item slip with the zoom reference of an exact A4 page (11907 x 16840
// twips at 6.3 x: 75014.1 x 106092) whatever paper the printer has.
class Zoom : public ::testing::Test {
  protected:
    void TearDown() override {
        frmGeneralSlip::unload();
        flushDeletes();
    }
    static void viewport(frmGeneralSlip& w, float width, float height) {
        setTwipsRect(w.picWorkSpace, 200, twipsTop(w.picWorkSpace), width, height);
    }
    static void choose(frmGeneralSlip& w, int item) {
        w.cmbZoom->setCurrentIndex(item);
        emit w.cmbZoom->activated(item);
    }
    static QPoint maxima(frmGeneralSlip& w) {
        return {w.HScroll1->maximum(), w.VScroll1->maximum()};
    }
    SlipDir dir;
};

// At "100%" the page (18753.5 x 26523) in 15000 x 9000 gives maxima 495.35 ->
// 495 and 1872.3 -> 1872, bars at the middle (247.5 -> 248) and 0, the page
// centred at top 90 with its shadow 100 on, behind it. Fit Height: z < 8000 x
// 2000 / 106092 = 150.8, so 150 and nothing to scroll; Fit Width: z < 14000 x
// 2000 / 75014.1 = 373.3, only the height scrolls. Choosing the item shown
// zooms again for a viewport that changed; one too small for z = 1 gives an
// empty page at top 90, left half the viewport, the items still made.
TEST_F(Zoom, PlacementAndFits) {
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.ShowSlip(dir.write("z.slp", slipHead("2", "1") +
                                      section("CTL_001", textBox("1175", "1185", "2000", "400"))),
               false, true);
    QCoreApplication::processEvents(); // the window's own layout first
    viewport(w, 15000, 9000);
    setTwipsRect(w.picMain, 0, 0, float(11907 * 6.3), float(16840 * 6.3));
    EXPECT_EQ(w.cmbZoom->currentIndex(), k75) << "a preview opens at 75%";
    choose(w, k100);
    ASSERT_NEAR(twipsWidth(w.picPrinter), 18753.525, 0.01);
    EXPECT_EQ(maxima(w), QPoint(495, 1872));
    EXPECT_EQ(QPoint(w.HScroll1->value(), w.VScroll1->value()), QPoint(248, 0));
    EXPECT_NEAR(twipsLeft(w.picPrinter), (15000 - 18753.525) / 2, 0.01);
    EXPECT_FLOAT_EQ(twipsTop(w.picPrinter), 90);
    EXPECT_EQ(w.picWorkSpace->children().indexOf(w.picShadow), 0);
    // A bar's value puts the page's edge at 200 - 10 x value, the shadow's 100 on.
    for (auto [h, v, left, top] :
         {std::tuple{20, 120, 0.f, -1000.f}, {120, 0, -1000.f, 200.f}, {0, 20, 200.f, 0.f}}) {
        w.HScroll1->setValue(h);
        w.VScroll1->setValue(v);
        EXPECT_EQ(twipsRect(w.picPrinter).topLeft(), QPointF(left, top)) << h << ", " << v;
        EXPECT_EQ(twipsRect(w.picShadow).topLeft(), QPointF(left + 100, top + 100));
    }

    choose(w, kFitHeight);
    EXPECT_NEAR(twipsHeight(w.picPrinter), 106092.0 * 150 / 2000, 0.01);
    EXPECT_EQ(maxima(w), QPoint(0, 0));
    choose(w, kFitWidth);
    EXPECT_NEAR(twipsWidth(w.picPrinter), 75014.1 * 373 / 2000, 0.01);
    EXPECT_EQ(maxima(w), QPoint(0, 1199)); // (106092 x 373 / 2000 - 8000 + 1200) / 10
    QCoreApplication::processEvents();     // back in the event loop before the next choice
    viewport(w, 8000, 9000);
    w.cmbZoom->showPopup();
    QTest::keyClick(w.cmbZoom->view(), Qt::Key_Return);
    EXPECT_LT(twipsWidth(w.picPrinter), 7000.0f);

    viewport(w, 1030, 700);
    choose(w, kFitHeight);
    EXPECT_EQ(twipsRect(w.picPrinter), QRectF(515, 90, 0, 0));
    EXPECT_EQ(twipsRect(w.picShadow), QRectF(615, 190, 0, 0));
    EXPECT_EQ(maxima(w), QPoint(0, 0));
    EXPECT_EQ(w.labMaster.size(), 2u);
}

} // namespace
