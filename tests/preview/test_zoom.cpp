// The zoom list: zoom values, the fit search, scroll ranges and the page's
// placement after a zoom.

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "preview/zoomrules.h"
#include "test_render_slips.h"

using lumaris::frmGeneralSlip;
using namespace lumaris::platform;
namespace rt = lumaris::rendertest;
namespace zoom = lumaris::zoom;

namespace {

enum Item { k50, k75, k100, kFitWidth, kFitHeight };

// Halves go to the even neighbour: (5 + 1200) / 10 = 120.5 gives 120,
// (15 + 1200) / 10 = 121.5 gives 122. A page exactly as large as the viewport
// has excess 0, which is not below 0, so it still gets the 1200 margin.
TEST(ZoomRules, ScrollMaximum) {
    struct Row {
        float page, viewport;
        int maximum;
    } rows[] = {{5005, 5000, 120},  {5015, 5000, 122},   {5000, 5000, 120}, {4999, 5000, 0},
                {0, 5000, 0},       {15000, 5000, 1120}, {5025, 5000, 122}, {5035, 5000, 124},
                {1e9f, 5000, 32767}}; // beyond a 16-bit bar: as far as it goes
    for (const Row& r : rows)
        EXPECT_EQ(zoom::scrollMaximum(r.page, r.viewport), r.maximum)
            << r.page << " in " << r.viewport;
}

// The middle of a range, halves to even: 5 gives 2, 7 gives 4.
TEST(ZoomRules, ScrollMiddle) {
    const std::pair<int, int> rows[] = {{0, 0}, {1, 0}, {3, 2}, {5, 2}, {7, 4}, {120, 60}};
    for (auto [maximum, middle] : rows)
        EXPECT_EQ(zoom::scrollMiddle(maximum), middle) << maximum;
}

// The fit is the largest z whose page is strictly smaller than the viewport
// less 1000 twips: with a reference of 20000 twips, z = 1000 makes a page of
// exactly 10000, which fails against a viewport of 11000.
TEST(ZoomRules, FitSearch) {
    struct Row {
        double refWidth, refHeight;
        float viewWidth, viewHeight;
        bool wholePage;
        int z;
    } rows[] = {
        {20000, 20000, 11000, 99999, true, 999},   // exact width fails, one less passes
        {20000, 20000, 11001, 99999, true, 1000},  // one twip more room: it fits
        {20000, 40000, 11001, 11001, true, 500},   // the height decides a whole-page fit
        {20000, 40000, 11001, 11001, false, 1000}, // and is ignored for a width fit
        {1000, 1000, 99999, 99999, true, 2000},    // never above 2000
        {20000, 20000, 1000, 99999, false, 0},     // not even z = 1 fits
        {20000, 20000, 1010, 99999, false, 0},     // z = 1 is 10 twips: not below 10
        {20000, 20000, 1011, 99999, false, 1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(zoom::fitZoom(r.refWidth, r.refHeight, r.viewWidth, r.viewHeight, r.wholePage),
                  r.z)
            << r.refWidth << "x" << r.refHeight << " in " << r.viewWidth << "x" << r.viewHeight;
}

class Zoom : public ::testing::Test {
  protected:
    // An A4 slip with one text item, and a viewport of the given size in place
    // of the screen's.
    frmGeneralSlip& open(float viewWidth, float viewHeight) {
        const QString file =
            dir.write(QStringLiteral("z.slp"),
                      rt::head("1", 210, 297) +
                          rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400")));
        frmGeneralSlip& w = frmGeneralSlip::instance();
        w.ShowSlip(file, false, true);
        QCoreApplication::processEvents(); // the window's own layout first
        setTwipsRect(w.picWorkSpace, 200, twipsTop(w.picWorkSpace), viewWidth, viewHeight);
        return w;
    }
    // The same with the reference of an exact 11907 x 16840 twips page (A4 at
    // 56.7 twips a millimetre), whatever paper the printer really gives.
    frmGeneralSlip& openA4(float viewWidth, float viewHeight) {
        frmGeneralSlip& w = open(viewWidth, viewHeight);
        setTwipsRect(w.picMain, 0, 0, float(11907 * 6.3), float(16840 * 6.3));
        return w;
    }
    void choose(frmGeneralSlip& w, int item) {
        if (w.cmbZoom->currentIndex() == item)
            w.cmbZoom_Click();
        else
            w.cmbZoom->setCurrentIndex(item);
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        rt::flushDeletes();
    }
    rt::Dir dir;
};

// The page is the printer page at 6.3 x z / 2000: 0.7875 for "50%",
// 1.18125 for "75%" (the zoom a preview opens with), 1.575 for "100%".
TEST_F(Zoom, FixedZoomsScaleThePrinterPage) {
    frmGeneralSlip& w = open(15000, 9000);
    const double pw = Printer::current().width(), ph = Printer::current().height();
    ASSERT_GT(pw, 0);
    EXPECT_EQ(w.cmbZoom->currentIndex(), k75);
    const std::pair<int, double> rows[] = {{k50, 0.7875}, {k100, 1.575}, {k75, 1.18125}};
    for (auto [item, factor] : rows) {
        choose(w, item);
        EXPECT_NEAR(twipsWidth(w.picPrinter), pw * factor, 0.01) << item;
        EXPECT_NEAR(twipsHeight(w.picPrinter), ph * factor, 0.01) << item;
        EXPECT_TRUE(rt::followsTwips(w.picPrinter));
        EXPECT_TRUE(w.picPrinter->isVisible());
        // The label scale follows the page: the box is Width x factor wide.
        EXPECT_NEAR(twipsWidth(w.ShapeMaster.at(1)), 2000 * factor, 0.01) << item;
    }
}

// "100%" on a 15000 x 9000 viewport: the A4 page (18753.5 x 26523 twips) is
// larger both ways. Maxima: (3753.5 + 1200) / 10 = 495.35 -> 495 and
// (17523 + 1200) / 10 = 1872.3 -> 1872; the horizontal bar goes to the middle
// (247.5, which goes to the even 248) and the vertical to 0,
// yet the page stands centred at top 90 with its shadow 100 right and below.
TEST_F(Zoom, PlacementAfterAZoom) {
    frmGeneralSlip& w = openA4(15000, 9000);
    choose(w, k100);
    ASSERT_NEAR(twipsWidth(w.picPrinter), 18753.525, 0.01);
    EXPECT_EQ(w.HScroll1->maximum(), 495);
    EXPECT_EQ(w.VScroll1->maximum(), 1872);
    EXPECT_EQ(w.HScroll1->pageStep(), 100);
    EXPECT_EQ(w.VScroll1->pageStep(), 100);
    EXPECT_EQ(w.HScroll1->value(), 248);
    EXPECT_EQ(w.VScroll1->value(), 0);
    EXPECT_NEAR(twipsLeft(w.picPrinter), (15000 - 18753.525) / 2, 0.01);
    EXPECT_FLOAT_EQ(twipsTop(w.picPrinter), 90);
    EXPECT_FLOAT_EQ(twipsLeft(w.picShadow), twipsLeft(w.picPrinter) + 100);
    EXPECT_FLOAT_EQ(twipsTop(w.picShadow), 190);
    EXPECT_FLOAT_EQ(twipsWidth(w.picShadow), twipsWidth(w.picPrinter));
    EXPECT_FLOAT_EQ(twipsHeight(w.picShadow), twipsHeight(w.picPrinter));
    EXPECT_TRUE(rt::followsTwips(w.picShadow));
    // The shadow is at the back of the viewport, the page in front of it.
    const QObjectList order = w.picWorkSpace->children();
    EXPECT_EQ(order.indexOf(w.picShadow), 0);
    EXPECT_GT(order.indexOf(w.picPrinter), 0);
    EXPECT_TRUE(w.picShadow->isVisible());

    // The first change of a bar moves the page to 200 - 10 x value.
    w.VScroll1->setValue(20);
    EXPECT_FLOAT_EQ(twipsTop(w.picPrinter), 0);
}

// A whole-page fit leaves nothing to scroll; a width fit only the height's
// excess. A4 at 6.3 x: 75014.1 x 106092 twips of reference. In 15000 x 9000
// the width allows z < 14000 x 2000 / 75014.1 = 373.26, the height
// z < 8000 x 2000 / 106092 = 150.8.
TEST_F(Zoom, FitWidthAndFitHeight) {
    frmGeneralSlip& w = openA4(15000, 9000);
    choose(w, kFitHeight);
    EXPECT_NEAR(twipsWidth(w.picPrinter), 75014.1 * 150 / 2000, 0.01);
    EXPECT_NEAR(twipsHeight(w.picPrinter), 106092.0 * 150 / 2000, 0.01);
    EXPECT_EQ(w.HScroll1->maximum(), 0);
    EXPECT_EQ(w.VScroll1->maximum(), 0);
    EXPECT_EQ(w.HScroll1->value(), 0);
    EXPECT_NEAR(twipsLeft(w.picPrinter), (15000 - 75014.1 * 150 / 2000) / 2, 0.01);

    choose(w, kFitWidth);
    const double height = 106092.0 * 373 / 2000; // 19786.158
    EXPECT_NEAR(twipsWidth(w.picPrinter), 75014.1 * 373 / 2000, 0.01);
    EXPECT_NEAR(twipsHeight(w.picPrinter), height, 0.01);
    EXPECT_EQ(w.HScroll1->maximum(), 0);
    EXPECT_EQ(w.VScroll1->maximum(), 1199); // (10786.158 + 1200) / 10 = 1198.6
}

// A viewport too small for z = 1 gives z = 0: an empty page at top 90 and
// left half the viewport's width, nothing to scroll, the shadow still offset.
TEST_F(Zoom, ViewportTooSmallGivesZoomZero) {
    frmGeneralSlip& w = openA4(1030, 700);
    choose(w, kFitHeight);
    EXPECT_FLOAT_EQ(twipsWidth(w.picPrinter), 0);
    EXPECT_FLOAT_EQ(twipsHeight(w.picPrinter), 0);
    EXPECT_EQ(w.HScroll1->maximum(), 0);
    EXPECT_EQ(w.VScroll1->maximum(), 0);
    EXPECT_FLOAT_EQ(twipsLeft(w.picPrinter), 515);
    EXPECT_FLOAT_EQ(twipsTop(w.picPrinter), 90);
    EXPECT_FLOAT_EQ(twipsLeft(w.picShadow), 615);
    EXPECT_FLOAT_EQ(twipsTop(w.picShadow), 190);
    // At scale 0 the items are still made, without crashing on the empty page.
    EXPECT_EQ(w.labMaster.size(), 2u);
}

// A page exactly as high as the viewport still scrolls by the margin:
// excess 0 gives a maximum of 120.
TEST_F(Zoom, PageAsHighAsTheViewport) {
    frmGeneralSlip& w = open(15000, 9000);
    choose(w, k100);
    const float pageHeight = twipsHeight(w.picPrinter);
    setTwipsRect(w.picWorkSpace, 200, twipsTop(w.picWorkSpace), 30000, pageHeight);
    choose(w, k100);
    EXPECT_EQ(w.VScroll1->maximum(), 120);
    EXPECT_EQ(w.HScroll1->maximum(), 0);
}

// Counts the widgets put on the page: a render of the one-item slip adds its
// label and its box.
class ChildCounter : public QObject {
  public:
    int added = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ChildAdded)
            ++added;
        return false;
    }
};

// Picking an item from the list zooms once; picking the item already shown
// zooms again, so a fit follows a viewport that changed since.
TEST_F(Zoom, ChoosingFromTheList) {
    frmGeneralSlip& w = open(15000, 9000);
    ChildCounter counter;
    w.picPrinter->installEventFilter(&counter);
    auto pick = [&](int item) {
        counter.added = 0;
        w.cmbZoom->showPopup();
        QAbstractItemView* view = w.cmbZoom->view();
        const QRect r = view->visualRect(view->model()->index(item, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
        QCoreApplication::processEvents();
        return counter.added / 2;
    };
    EXPECT_EQ(pick(kFitWidth), 1) << "a new choice zooms once";
    ASSERT_EQ(w.cmbZoom->currentIndex(), kFitWidth);
    const float width = twipsWidth(w.picPrinter);

    setTwipsRect(w.picWorkSpace, 200, twipsTop(w.picWorkSpace), 8000, 9000);
    EXPECT_EQ(pick(kFitWidth), 1) << "the same choice zooms again";
    EXPECT_LT(twipsWidth(w.picPrinter), width);
    EXPECT_LT(twipsWidth(w.picPrinter), 7000);

    EXPECT_EQ(pick(k50), 1);
    w.picPrinter->removeEventFilter(&counter);
}

} // namespace
