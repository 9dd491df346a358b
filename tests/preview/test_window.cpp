#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "slipfiles.h"

using lumaris::frmGeneralSlip;
using namespace lumaris::platform;

namespace {

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void showModeless(const QString& file) {
    frmGeneralSlip::instance().ShowSlip(file, false, true);
}

void closeWindow() {
    frmGeneralSlip::unload();
    flushDeletes();
}

} // namespace

// A report can be saved only from a slip whose Ver is a positive number.
TEST(PreviewWindow, SaveFileFollowsVersion) {
    lumaris::test::SlipDir dir;
    struct Row {
        std::string ver;
        bool savable;
    } rows[] = {{"", false}, {"0", false}, {"abc", false}, {"-1", false},
                {"1", true}, {"2", true},  {" 2 ", true},  {"1.5x", true}};
    for (const Row& row : rows) {
        const QString file = dir.write("v.slp", lumaris::test::slipHead(row.ver, 0));
        showModeless(file);
        EXPECT_EQ(frmGeneralSlip::mSaveFile, row.savable ? file : QString()) << "Ver=" << row.ver;
        EXPECT_EQ(frmGeneralSlip::mSlipFile, file);
        closeWindow();
    }
}

// Millimetres become twips at 56.7 a millimetre, halves to even: the custom
// slip paper of 215 x 205 mm is 12190 x 11624 twips on the printer.
TEST(PreviewWindow, PutsThePageOnThePrinter) {
    lumaris::test::SlipDir dir;
    const QString file = dir.write("p.slp", lumaris::test::slipHead("2", 0, 215, 205, 1, 50));
    showModeless(file);
    Printer& printer = Printer::current();
    EXPECT_EQ(printer.paperSize(), PaperUser);
    EXPECT_EQ(printer.width(), 12190);
    EXPECT_EQ(printer.height(), 11624);
    EXPECT_EQ(frmGeneralSlip::mPageSize, 50);
    EXPECT_EQ(frmGeneralSlip::mPageOrientation, 1);
    // The zoom reference is the printer page at 6.3 times.
    frmGeneralSlip& w = frmGeneralSlip::instance();
    EXPECT_FLOAT_EQ(twipsWidth(w.picMain), 12190 * 6.3f);
    EXPECT_FLOAT_EQ(twipsHeight(w.picMain), 11624 * 6.3f);
    closeWindow();

    // A landscape page comes out wider than tall although the file gives the
    // portrait dimensions.
    const QString wide = dir.write("l.slp", lumaris::test::slipHead("2", 0, 210, 297, 2));
    showModeless(wide);
    EXPECT_EQ(printer.orientation(), 2);
    EXPECT_GT(printer.width(), printer.height());
    EXPECT_EQ(printer.width(), 16840);  // 297 mm: 16839.9 twips
    EXPECT_EQ(printer.height(), 11907); // 210 mm: 11907 twips
    closeWindow();
}

// Names match without regard to case, blanks around values go, the slip is
// decoded from code page 1256, and a missing file reads as an empty page.
TEST(PreviewWindow, ReadsKeysOfTheSlipFile) {
    lumaris::test::SlipDir dir;
    const QString file =
        dir.write("k.slp", "[main]\n  VER=  2  \n[ctl_001]\n  text=  رقم الحساب  \n"
                           "  Border= true \n  Left=12.5abc\n");
    frmGeneralSlip& w = frmGeneralSlip::instance();
    EXPECT_EQ(w.GetSlipKey(file, "Main", "Ver"), "2");
    EXPECT_EQ(w.GetSlipKey(file, "CTL_001", "Text"), QStringLiteral("رقم الحساب"));
    EXPECT_EQ(w.GetSlipKey(file, "CTL_001", "Missing"), QString());
    showModeless(file);
    EXPECT_TRUE(w.slipFlag("CTL_001", "Border"));
    EXPECT_DOUBLE_EQ(w.slipNumber("CTL_001", "Left"), 12.5);
    EXPECT_DOUBLE_EQ(w.slipNumber("CTL_001", "Top"), 0);
    closeWindow();

    const QString gone = dir.path("missing.slp");
    showModeless(gone);
    EXPECT_TRUE(frmGeneralSlip::mSaveFile.isEmpty());
    EXPECT_EQ(frmGeneralSlip::mPageOrientation, 0);
    EXPECT_EQ(frmGeneralSlip::mPageSize, 0);
    closeWindow();
}

// Unloading discards the controls but not the fields; the next use loads the
// window afresh.
TEST(PreviewWindow, UnloadKeepsFieldsAndReloadsControls) {
    lumaris::test::SlipDir dir;
    const QString file = dir.write("u.slp", lumaris::test::slipHead("2", 0));
    frmGeneralSlip& first = frmGeneralSlip::instance();
    first.picLogo->setPicture(QImage(40, 20, QImage::Format_RGB32));
    EXPECT_FLOAT_EQ(twipsWidth(first.picLogo), 600); // takes the picture's size
    first.ShowSlip(file, false, true);
    EXPECT_EQ(first.picBuffer->picture().size(), QSize(40, 20));
    first.txtNum->setText("7");
    QPointer<QLineEdit> oldBox = first.txtNum;

    QTest::mouseClick(first.cmdClose, Qt::LeftButton);
    flushDeletes();
    EXPECT_FALSE(frmGeneralSlip::isLoaded());
    EXPECT_TRUE(oldBox.isNull());
    EXPECT_EQ(frmGeneralSlip::mSlipFile, file);

    frmGeneralSlip& second = frmGeneralSlip::instance();
    EXPECT_EQ(second.txtNum->text(), "1");
    EXPECT_TRUE(second.picBrowse->isHidden());
    EXPECT_EQ(second.cmbZoom->count(), 5);
    closeWindow();
}

// The close box and Escape unload the window too; a modal preview returns to
// its caller once the window is gone.
TEST(PreviewWindow, ModalShowReturnsWhenClosed) {
    lumaris::test::SlipDir dir;
    const QString file = dir.write("m.slp", lumaris::test::slipHead("2", 0));
    for (int way = 0; way < 3; ++way) {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [way, &poll] {
            frmGeneralSlip& w = frmGeneralSlip::instance();
            if (!w.isVisible())
                return;
            poll.stop();
            if (way == 0)
                w.close();
            else if (way == 1)
                QTest::keyClick(&w, Qt::Key_Escape);
            else
                w.cmdClose->click();
        });
        poll.start(5);
        frmGeneralSlip::instance().ShowSlip(file, false, false);
        EXPECT_FALSE(frmGeneralSlip::isLoaded()) << "way " << way;
        flushDeletes();
    }
}

// The viewport follows the window by fixed allowances, the bars and the
// corner follow the viewport, and the print panel keeps to the right end.
TEST(PreviewWindow, LayoutFollowsTheWindowSize) {
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.resize(800, 600); // 12000 x 9000 twips
    w.Form_Resize();
    EXPECT_FLOAT_EQ(twipsLeft(w.picWorkSpace), 200);
    EXPECT_FLOAT_EQ(twipsTop(w.picWorkSpace), twipsHeight(w.picToolbar));
    EXPECT_FLOAT_EQ(twipsWidth(w.picWorkSpace), 11500);
    EXPECT_FLOAT_EQ(twipsHeight(w.picWorkSpace), 7800);
    EXPECT_FLOAT_EQ(twipsWidth(w.picToolbar), 12000);
    EXPECT_FLOAT_EQ(twipsLeft(w.picFormPrint) + twipsWidth(w.picFormPrint), 12000 - 300);
    EXPECT_FLOAT_EQ(twipsTop(w.HScroll1), 7800 - 300 - 45);
    EXPECT_FLOAT_EQ(twipsWidth(w.HScroll1), 11500 - 360);
    EXPECT_FLOAT_EQ(twipsHeight(w.VScroll1), 7800 - 360);
    EXPECT_FLOAT_EQ(twipsTop(w.picCorner), 7800 - 360);
    EXPECT_FLOAT_EQ(twipsLeft(w.picCorner), 11500 - 360);
    // Widgets stand where their twips say, at 15 twips a pixel.
    EXPECT_EQ(w.picWorkSpace->geometry().width(), 767); // 11500 / 15 = 766.7
    EXPECT_EQ(w.HScroll1->geometry().y(), 497);         // 7455 / 15

    // A window 1000 twips wide gives a viewport of 500: the horizontal bar is
    // 140 wide and the vertical bar and the corner stand 140 from the left.
    setTwipsWidth(w.picWorkSpace, 500);
    w.picWorkSpace_Resize();
    EXPECT_FLOAT_EQ(twipsWidth(w.HScroll1), 140);
    EXPECT_FLOAT_EQ(twipsLeft(w.VScroll1), 140);
    EXPECT_FLOAT_EQ(twipsLeft(w.picCorner), 140);

    // Too small for the bars: their lengths are refused and kept, and nothing fails.
    setTwipsRect(w.picWorkSpace, 200, 570, 100, 100);
    w.picWorkSpace_Resize();
    EXPECT_FLOAT_EQ(twipsWidth(w.HScroll1), 140);
    EXPECT_FLOAT_EQ(twipsTop(w.HScroll1), 100 - 345);
    closeWindow();
}

// A bar's value places the page edge at 200 - 10 * value, the shadow 100 further.
TEST(PreviewWindow, ScrollBarsMoveThePage) {
    frmGeneralSlip& w = frmGeneralSlip::instance();
    struct Row {
        int value;
        float page;
    } rows[] = {{20, 0}, {0, 200}, {120, -1000}, {32767, -32768}};
    for (QScrollBar* bar : {w.HScroll1, w.VScroll1}) {
        bar->setRange(0, 32767);
        for (const Row& row : rows) {
            bar->setValue(row.value);
            const bool horizontal = bar == w.HScroll1;
            EXPECT_FLOAT_EQ(horizontal ? twipsLeft(w.picPrinter) : twipsTop(w.picPrinter), row.page)
                << row.value;
            EXPECT_FLOAT_EQ(horizontal ? twipsLeft(w.picShadow) : twipsTop(w.picShadow),
                            row.page + 100);
        }
    }
    closeWindow();
}
