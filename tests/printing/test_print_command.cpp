// The print command: the printer the list names, copies, keys, paper, the copies spinner.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "preview/messages.h"
#include "printing_support.h"

namespace lumaris::testing {
namespace {

const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

class PrintCommand : public PrintingTest {
  protected:
    // The window on a one-word slip, the list showing this name (added when unlisted).
    frmGeneralSlip& window(const QString& printer, int paper = 9, int orientation = 1) {
        frmGeneralSlip& w = frmGeneralSlip::instance();
        frmGeneralSlip::mSlipFile =
            writeSlip(mDir, {{1, 1440, 1440, 4320, 600, {{"Text", "COPY"}}}});
        frmGeneralSlip::mPageSize = paper;
        frmGeneralSlip::mPageOrientation = orientation;
        if (w.cmbPrinters->findText(printer) < 0)
            w.cmbPrinters->addItem(printer);
        w.cmbPrinters->setCurrentIndex(w.cmbPrinters->findText(printer));
        return w;
    }
};

TEST_F(PrintCommand, CopiesAndKeysPrintOnTheListedPrinterOnly) {
    ASSERT_TRUE(platform::Printer::current().selectByName(kDefaultQueue));
    EXPECT_EQ(frmGeneralSlip::instance().cmbPrinters->currentText(), kDefaultQueue)
        << "the current printer is preselected";
    frmGeneralSlip& w = window(kOtherQueue);
    w.show(); // Ctrl+P is a shortcut of the active window
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // The box's leading number within 1 to 10, written back, is the copies; Ctrl+P alone prints.
    const int button = -1;
    using Row = std::tuple<const char*, int, int, const char*>; // text, keys, copies, shown
    for (const auto& [text, how, copies, shown] :
         {Row{"", button, 1, "1"}, Row{"0", button, 1, "1"}, Row{"-3", button, 1, "1"},
          Row{"25", button, 10, "10"}, Row{"2.5", button, 2, "2.5"},
          Row{" 3 copies", button, 3, "3"}, Row{"2", Qt::ControlModifier, 2, "2"},
          Row{"2", Qt::ControlModifier | Qt::ShiftModifier, 0, "2"},
          Row{"2", Qt::NoModifier, 0, "2"}}) {
        removePdfs();
        w.txtNum->setText(QString::fromUtf8(text));
        how == button ? QTest::mouseClick(w.cmdPrint, Qt::LeftButton)
                      : QTest::keyClick(&w, Qt::Key_P, Qt::KeyboardModifiers(how));
        EXPECT_EQ(printed(kOtherQueue).size(), copies) << text << how;
        EXPECT_TRUE(printed(kDefaultQueue).isEmpty()) << text << how;
        EXPECT_EQ(w.txtNum->text(), QString::fromUtf8(shown)) << text << how;
    }
    EXPECT_EQ(platform::Printer::current().deviceName(), kOtherQueue) << "and stays current";
}

// Nothing goes to a printer nobody chose, and the user is told.
TEST_F(PrintCommand, UnknownOrVanishedPrinterPrintsNothing) {
    ASSERT_TRUE(platform::Printer::current().selectByName(kDefaultQueue));
    QStringList said;
    const MessageFunction saved = gMessageOverride;
    gMessageOverride = [&](QWidget*, const QString&, const QString& text) { said << text; };
    const QString gone = QStringLiteral("SlipGone");
    const QStringList add = {"-p", gone, "-E", "-v", "cups-pdf:/Slip2", "-P", kPpd};
    run("lpadmin", add);
    ASSERT_TRUE(platform::Printer::installedPrinters().contains(gone));
    window("NoSuchQueue").cmdPrint_Click(); // named by no queue
    frmGeneralSlip& w = window(gone);       // listed, then deleted before printing
    run("lpadmin", {"-x", gone});
    w.cmdPrint_Click();
    run("lpadmin", add); // made current, then deleted before the renderer begins
    ASSERT_TRUE(platform::Printer::current().selectByName(gone));
    run("lpadmin", {"-x", gone});
    EXPECT_FALSE(w.PrintSlipPage());
    run("cupsreject", {kOtherQueue}); // there, but refusing jobs
    window(kOtherQueue).cmdPrint_Click();
    run("cupsaccept", {kOtherQueue});
    gMessageOverride = saved;
    EXPECT_TRUE(printed(kOtherQueue).isEmpty());
    EXPECT_TRUE(printed(kDefaultQueue).isEmpty());
    EXPECT_EQ(said, QStringList({"The printer \"NoSuchQueue\" is not available.",
                                 "The printer \"SlipGone\" is not available.",
                                 "The printer \"Slip2\" did not accept the print job."}));
}

// One copy, and the window never shows: were it shown modally, the close
// below would end the wait and the test would fail, not hang.
TEST_F(PrintCommand, PrintNowPrintsOneCopyWithoutShowingTheWindow) {
    ASSERT_TRUE(platform::Printer::current().selectByName(kOtherQueue));
    frmGeneralSlip& w = window(kOtherQueue);
    w.txtNum->setText("5"); // plays no part
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = frmGeneralSlip::isLoaded() && frmGeneralSlip::instance().isVisible();
        frmGeneralSlip::unload();
    });
    w.ShowSlip(frmGeneralSlip::mSlipFile, true, false);
    EXPECT_FALSE(frmGeneralSlip::isLoaded());
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_EQ(printed(kOtherQueue).size(), 1);
    EXPECT_TRUE(printed(kDefaultQueue).isEmpty());
}

TEST_F(PrintCommand, PaperAndOrientation) {
    // Sizes in points; the queue stands every page upright, so a landscape slip
    // is turned on the sheet. The preview's user-defined page plays no part.
    using Row = std::tuple<int, int, double, double, const char*>; // paper, orientation, sides
    for (const auto& [paper, orientation, shortSide, longSide, why] :
         {Row{9, 1, 595, 842, "A4"}, Row{9, 2, 595, 842, "A4 landscape"},
          Row{11, 1, 420, 595, "A5"}, Row{5, 1, 612, 1008, "Legal"},
          Row{8, 1, 842, 1191, "a code the paper table lacks goes as it is (A3)"},
          Row{77, 1, 595, 842, "a code the printer refuses leaves A4"},
          Row{9, 3, 595, 842, "an orientation the printer refuses leaves portrait"},
          Row{50, 1, 581, 609, "the 215 x 205 mm slip paper, asked for by its size"}}) {
        removePdfs();
        platform::Printer::current().setUserPaperMm(100, 100);
        window(kOtherQueue, paper, orientation).cmdPrint_Click();
        const QStringList pdfs = printed(kOtherQueue);
        ASSERT_EQ(pdfs.size(), 1) << why;
        const PdfPage page = readPdf(pdfs.first());
        const QSizeF s = page.size;
        EXPECT_NEAR(std::min(s.width(), s.height()), shortSide, 1.5) << why;
        EXPECT_NEAR(std::max(s.width(), s.height()), longSide, 1.5) << why;
        ASSERT_EQ(page.words.size(), 1u) << why;
        const PdfWord& word = page.words.front();
        EXPECT_EQ(word.yMax - word.yMin > word.xMax - word.xMin, orientation == 2) << why;
    }
    EXPECT_EQ(platform::Printer::current().paperSize(), platform::PaperUser);
}

TEST(PrintPanel, SpinnerAndBrowsePanel) {
    // Up stops at 10, down at 1, each clamping only its own end; no number is 0.
    using Row = std::tuple<const char*, bool, const char*>; // text, up, result
    frmGeneralSlip& w = frmGeneralSlip::instance();
    for (const auto& [text, up, result] :
         {Row{"10", true, "10"}, Row{"1", false, "1"}, Row{"25", false, "24"},
          Row{"-5", true, "-4"}, Row{"", true, "1"}, Row{"abc", false, "1"},
          Row{"2.5", true, "3.5"}}) {
        w.txtNum->setText(QString::fromUtf8(text));
        w.picBrowse->show();
        QTest::mouseClick(up ? w.imgUP : w.imgDN, Qt::LeftButton);
        EXPECT_EQ(w.txtNum->text(), QString::fromUtf8(result)) << text << up;
        EXPECT_EQ(w.picBrowse->isHidden(), QString(text) != result) << "a change hides browsing";
    }
    frmGeneralSlip::unload();
}

} // namespace
} // namespace lumaris::testing
