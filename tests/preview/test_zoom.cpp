#include "slipfiles.h"

namespace {

enum Item { k50, k75, k100, kFitWidth, kFitHeight };
struct Zoom : WindowTest {};

// Maximum (excess + 1200) / 10 halved to even, also at an excess of 0; 16 bits at most. Fit:
// the largest z up to 2000 whose page is below the viewport less 1000. A4 reference 75014.1 x
// 106092: at "100%" the page (18753.5 x 26523) in 15000 x 9000 scrolls 495 and 1872, centred at
// top 90; Fit Height z < 150.8, Fit Width z < 373.3. Too small a viewport for z = 1: no page.
TEST_F(Zoom, RulesPlacementAndFits) {
    // clang-format off
    const std::tuple<float, float, int> rows[] = {
        {5005, 5000, 120}, {5015, 5000, 122}, {5000, 5000, 120}, {4999, 5000, 0}, {1e9f, 5000, 32767}};
    // clang-format on
    for (const auto& [page, viewport, maximum] : rows)
        EXPECT_EQ(zoom::scrollMaximum(page, viewport), maximum) << page << " in " << viewport;
    for (auto [maximum, middle] : {std::pair{1, 0}, {3, 2}, {5, 2}})
        EXPECT_EQ(zoom::scrollMiddle(maximum), middle) << maximum;
    // reference width, height, viewport width, height, whole page, z
    const std::tuple<double, double, float, float, bool, int> fits[] = {
        {20000, 20000, 11000, 99999, true, 999},  // exactly the width fails
        {20000, 20000, 11001, 99999, true, 1000}, // one twip more fits
        {20000, 40000, 11001, 11001, true, 500},  // the height decides a whole page
        {1000, 1000, 99999, 99999, true, 2000},   // never above 2000
        {20000, 20000, 1010, 99999, false, 0},    // z = 1 is 10 twips: not below 10
        {20000, 20000, 1011, 99999, false, 1},
    };
    for (const auto& [rw, rh, vw, vh, wholePage, z] : fits)
        EXPECT_EQ(zoom::fitZoom(rw, rh, vw, vh, wholePage), z) << rw << "x" << rh << " in " << vw;
    frmGeneralSlip& w =
        open(slipHead("2", "1") + section("CTL_001", textBox("1175", "1185", "2000", "400")));
    QCoreApplication::processEvents(); // the window's own layout first
    auto viewport = [&](float width, float height) {
        setTwipsRect(w.picWorkSpace, 200, twipsTop(w.picWorkSpace), width, height);
    };
    auto choose = [&](int item) {
        w.cmbZoom->setCurrentIndex(item);
        emit w.cmbZoom->activated(item);
    };
    auto maxima = [&] { return QPoint(w.HScroll1->maximum(), w.VScroll1->maximum()); };
    viewport(15000, 9000);
    setTwipsRect(w.picMain, 0, 0, float(11907 * 6.3), float(16840 * 6.3));
    EXPECT_EQ(w.cmbZoom->currentIndex(), k75) << "a preview opens at 75%";
    choose(k100);
    ASSERT_NEAR(twipsWidth(w.picPrinter), 18753.525, 0.01);
    EXPECT_EQ(maxima(), QPoint(495, 1872));
    EXPECT_EQ(QPoint(w.HScroll1->pageStep(), w.VScroll1->pageStep()), QPoint(100, 100));
    EXPECT_EQ(QPoint(w.HScroll1->value(), w.VScroll1->value()), QPoint(248, 0));
    EXPECT_NEAR(twipsLeft(w.picPrinter), (15000 - 18753.525) / 2, 0.01);
    EXPECT_FLOAT_EQ(twipsTop(w.picPrinter), 90);
    // A bar's value puts the page's edge at 200 - 10 x value, the shadow's 100 on.
    for (auto [h, v, left, top] :
         {std::tuple{20, 120, 0.f, -1000.f}, {120, 0, -1000.f, 200.f}, {0, 20, 200.f, 0.f}}) {
        w.HScroll1->setValue(h);
        w.VScroll1->setValue(v);
        EXPECT_EQ(twipsRect(w.picPrinter).topLeft(), QPointF(left, top)) << h << ", " << v;
        EXPECT_EQ(twipsRect(w.picShadow).topLeft(), QPointF(left + 100, top + 100));
    }

    choose(kFitHeight);
    EXPECT_NEAR(twipsHeight(w.picPrinter), 106092.0 * 150 / 2000, 0.01);
    EXPECT_EQ(maxima(), QPoint(0, 0));
    choose(kFitWidth);
    EXPECT_NEAR(twipsWidth(w.picPrinter), 75014.1 * 373 / 2000, 0.01);
    EXPECT_EQ(maxima(), QPoint(0, 1199)); // (106092 x 373 / 2000 - 8000 + 1200) / 10
    QCoreApplication::processEvents();    // back in the event loop before the next choice
    viewport(8000, 9000);
    w.cmbZoom->showPopup();
    QTest::keyClick(w.cmbZoom->view(), Qt::Key_Return);
    EXPECT_LT(twipsWidth(w.picPrinter), 7000.0f);

    viewport(1030, 700);
    choose(kFitHeight);
    EXPECT_EQ(twipsRect(w.picPrinter), QRectF(515, 90, 0, 0));
    EXPECT_EQ(twipsRect(w.picShadow), QRectF(615, 190, 0, 0));
    EXPECT_EQ(maxima(), QPoint(0, 0));
    EXPECT_EQ(w.labMaster.size(), 2u);
}

} // namespace
