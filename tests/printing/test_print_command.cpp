// The print command: the printer chosen by the list's text, the paper and
// orientation it prints on, and the number of copies.

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

#include "platform/printer.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "slip_builder.h"

namespace lumaris::testing {
namespace {

const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

class PrintCommand : public PrintingTest {
  protected:
    void SetUp() override {
        PrintingTest::SetUp();
        if (HasFatalFailure())
            return;
        mFile =
            writeSlip(mDir, "copy.slp", slip({{1, 1, 1440, 1440, 4320, 600, {{"Text", "COPY"}}}}));
        ASSERT_TRUE(platform::Printer::current().selectByName(kDefaultQueue));
    }

    frmGeneralSlip& window(int paper = 9, int orientation = 1) {
        frmGeneralSlip& w = frmGeneralSlip::instance();
        frmGeneralSlip::mSlipFile = mFile;
        frmGeneralSlip::mPageSize = paper;
        frmGeneralSlip::mPageOrientation = orientation;
        return w;
    }

    // Picks the entry of the printer list, adding it first when the list lacks it.
    static void choose(frmGeneralSlip& w, const QString& name) {
        int i = w.cmbPrinters->findText(name);
        if (i < 0) {
            w.cmbPrinters->addItem(name);
            i = w.cmbPrinters->count() - 1;
        }
        w.cmbPrinters->setCurrentIndex(i);
    }

    static qsizetype printed(const QString& queue) {
        EXPECT_TRUE(waitUntilIdle());
        return pdfFiles(queue).size();
    }

    QString mFile;
};

TEST_F(PrintCommand, CopiesFromTheCopiesBox) {
    struct Row {
        const char* text;
        int copies;
        const char* shown;
        const char* why;
    };
    const Row rows[] = {
        {"", 1, "1", "nothing counts as 0, raised to 1"},
        {"abc", 1, "1", "no leading number: 0, raised to 1"},
        {"0", 1, "1", "raised to 1"},
        {"-3", 1, "1", "raised to 1"},
        {"25", 10, "10", "at most 10"},
        {"2.5", 2, "2.5", "copies 1 and 2 are not above 2.5; the box keeps the number"},
        {" 3 copies", 3, "3", "the leading number, written back without blanks"},
    };
    frmGeneralSlip& w = window();
    choose(w, kOtherQueue);
    for (const Row& row : rows) {
        removePdfs();
        w.txtNum->setText(QString::fromUtf8(row.text));
        w.cmdPrint_Click();
        EXPECT_EQ(printed(kOtherQueue), row.copies) << row.why;
        EXPECT_EQ(pdfFiles(kDefaultQueue).size(), 0) << row.why;
        EXPECT_EQ(w.txtNum->text(), QString::fromUtf8(row.shown)) << row.why;
    }
}

TEST_F(PrintCommand, PrintsOnTheListedPrinterWhichStaysCurrent) {
    frmGeneralSlip& w = window();
    EXPECT_EQ(w.cmbPrinters->currentText(), kDefaultQueue) << "the current printer is preselected";
    choose(w, kOtherQueue);
    w.txtNum->setText("3");
    w.cmdPrint_Click();
    EXPECT_EQ(printed(kOtherQueue), 3);
    EXPECT_EQ(pdfFiles(kDefaultQueue).size(), 0);
    EXPECT_EQ(platform::Printer::current().deviceName(), kOtherQueue);

    // The next loading of the window lists the printers again and preselects
    // the one used last.
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmGeneralSlip& again = window();
    EXPECT_EQ(again.cmbPrinters->currentText(), kOtherQueue);
    QStringList listed;
    for (int i = 0; i < again.cmbPrinters->count(); ++i)
        listed << again.cmbPrinters->itemText(i);
    EXPECT_EQ(listed, platform::Printer::installedPrinters());

    // Ctrl+P prints like the button; Ctrl+Shift+P does not.
    removePdfs();
    choose(again, kDefaultQueue);
    again.txtNum->setText("1");
    again.Form_KeyDown(Qt::Key_P, 2);
    again.Form_KeyDown(Qt::Key_P, 3);
    EXPECT_EQ(printed(kDefaultQueue), 1);
    EXPECT_EQ(pdfFiles(kOtherQueue).size(), 0);
}

TEST_F(PrintCommand, UnknownPrinterNamePrintsNothing) {
    frmGeneralSlip& w = window();
    choose(w, QStringLiteral("NoSuchQueue"));
    w.txtNum->setText("2");
    w.cmdPrint_Click();
    EXPECT_EQ(printed(kDefaultQueue), 0) << "not on the current printer either";
    EXPECT_EQ(pdfFiles(kOtherQueue).size(), 0);
    EXPECT_EQ(platform::Printer::current().deviceName(), kDefaultQueue);
    EXPECT_EQ(w.txtNum->text(), "2");
}

TEST_F(PrintCommand, VanishedPrinterPrintsNothing) {
    const QString gone = QStringLiteral("SlipGone");
    const QStringList add = {"-p", gone, "-E", "-v", "cups-pdf:/Slip2", "-P", kPpd};
    run(QStringLiteral("lpadmin"), add);
    struct Cleanup {
        QString name;
        ~Cleanup() { run(QStringLiteral("lpadmin"), {"-x", name}); }
    } cleanup{gone};
    ASSERT_TRUE(platform::Printer::installedPrinters().contains(gone));

    // Listed, then deleted before the print command.
    frmGeneralSlip& w = window();
    choose(w, gone);
    run(QStringLiteral("lpadmin"), {"-x", gone});
    w.cmdPrint_Click();
    EXPECT_EQ(printed(kOtherQueue), 0);
    EXPECT_EQ(pdfFiles(kDefaultQueue).size(), 0);

    // Made current, then deleted before the renderer begins its document.
    run(QStringLiteral("lpadmin"), add);
    ASSERT_TRUE(platform::Printer::current().selectByName(gone));
    run(QStringLiteral("lpadmin"), {"-x", gone});
    w.PrintSlipPage();
    EXPECT_EQ(printed(kOtherQueue), 0);
    EXPECT_EQ(pdfFiles(kDefaultQueue).size(), 0);
}

// Remembers whether the preview window was ever shown.
class ShowWatcher : public QObject {
  public:
    bool shown = false;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && qobject_cast<frmGeneralSlip*>(o))
            shown = true;
        return false;
    }
};

TEST_F(PrintCommand, PrintNowPrintsOneCopyWithoutShowingTheWindow) {
    ASSERT_TRUE(platform::Printer::current().selectByName(kOtherQueue));
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.txtNum->setText("5"); // the copies box plays no part
    w.ShowSlip(mFile, true, false);
    qApp->removeEventFilter(&watcher);
    EXPECT_FALSE(watcher.shown);
    EXPECT_FALSE(frmGeneralSlip::isLoaded());
    EXPECT_EQ(printed(kOtherQueue), 1);
    EXPECT_EQ(pdfFiles(kDefaultQueue).size(), 0);
}

// Page sizes in points as cups-pdf writes them, give or take its rounding.
bool sameSize(const QSizeF& a, const QSizeF& b) {
    return std::abs(a.width() - b.width()) <= 1.5 && std::abs(a.height() - b.height()) <= 1.5;
}

TEST_F(PrintCommand, PaperAndOrientationOfTheSlip) {
    struct Row {
        int paper, orientation;
        QSizeF points;
        bool landscape;
        const char* why;
    };
    const Row rows[] = {
        {9, 1, {595, 842}, false, "A4"},
        // Landscape goes to the printer as an orientation: the sheet stays
        // upright and the slip is turned on it.
        {9, 2, {595, 842}, true, "A4 landscape"},
        {11, 1, {420, 595}, false, "A5"},
        {1, 1, {612, 792}, false, "Letter"},
        {5, 1, {612, 1008}, false, "Legal"},
        {8,
         1,
         {842, 1191},
         false,
         "a code the paper table lacks goes to the printer as it is (A3)"},
        {77, 1, {595, 842}, false, "a code the printer refuses leaves A4"},
        {9, 3, {595, 842}, false, "an orientation the printer refuses leaves portrait"},
    };
    for (const Row& row : rows) {
        removePdfs();
        // The preview put a user-defined page on the printer: printing does not use it.
        platform::Printer::current().setUserPaperMm(100, 100);
        frmGeneralSlip& w = window(row.paper, row.orientation);
        choose(w, kOtherQueue);
        w.txtNum->setText("1");
        w.cmdPrint_Click();
        ASSERT_EQ(printed(kOtherQueue), 1) << row.why;
        const PdfPage page = readPdf(pdfFiles(kOtherQueue).first());
        EXPECT_TRUE(sameSize(page.size, row.points))
            << row.why << ": " << page.size.width() << " x " << page.size.height();
        ASSERT_EQ(page.words.size(), 1u) << row.why;
        const PdfWord& word = page.words.front();
        EXPECT_EQ(word.yMax - word.yMin > word.xMax - word.xMin, row.landscape) << row.why;
    }

    // The slip paper 50 (215 x 205 mm) is asked for by its size, not as code
    // 50. cups-pdf stands a page wider than tall upright: 205 x 215 mm.
    removePdfs();
    frmGeneralSlip& w = window(50, 1);
    w.cmdPrint_Click();
    ASSERT_EQ(printed(kOtherQueue), 1);
    const QSizeF size = readPdf(pdfFiles(kOtherQueue).first()).size;
    EXPECT_TRUE(sameSize(
        QSizeF(std::min(size.width(), size.height()), std::max(size.width(), size.height())),
        QSizeF(581, 609)))
        << size.width() << " x " << size.height();
    EXPECT_EQ(platform::Printer::current().paperSize(), platform::PaperUser);
}

TEST(PrintPanel, Spinner) {
    struct Row {
        const char* text;
        bool up;
        const char* result;
        const char* why;
    };
    const Row rows[] = {
        {"10", true, "10", "up stops at 10"},
        {"1", false, "1", "down stops at 1"},
        {"25", false, "24", "down clamps only at 1"},
        {"-5", true, "-4", "up clamps only at 10"},
        {"", true, "1", "no number counts as 0"},
        {"abc", false, "1", "0 - 1 is raised to 1"},
        {"2.5", true, "3.5", "the number is kept as it is"},
    };
    frmGeneralSlip& w = frmGeneralSlip::instance();
    for (const Row& row : rows) {
        w.txtNum->setText(QString::fromUtf8(row.text));
        // A released mouse button on the spinner image, as the user clicks it.
        QWidget* image = row.up ? static_cast<QWidget*>(w.imgUP) : w.imgDN;
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2),
                            image->mapToGlobal(QPointF(2, 2)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(image, &release);
        EXPECT_EQ(w.txtNum->text(), QString::fromUtf8(row.result)) << row.why;
    }
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(PrintPanel, ChangesHideTheBrowsePanel) {
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.show();
    w.picBrowse->show();
    w.txtNum->setText("7");
    EXPECT_FALSE(w.picBrowse->isVisible()) << "a new copies count";
    w.picBrowse->show();
    w.imgDN_Click();
    EXPECT_FALSE(w.picBrowse->isVisible()) << "the spinner changes the count";
    w.picBrowse->show();
    w.cmbPrinters->addItem(QStringLiteral("Another"));
    w.cmbPrinters->setCurrentIndex(w.cmbPrinters->count() - 1);
    EXPECT_FALSE(w.picBrowse->isVisible()) << "another printer";
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace lumaris::testing
