// The program-wide printer over the private scheduler's queues, and the
// virtual page that stands in when no printer is installed.

#include <QComboBox>
#include <QCoreApplication>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>

#include "platform/printer.h"
#include "preview/frmGeneralSlip.h"
#include "slip_builder.h"

namespace lumaris::testing {
namespace {

using platform::Printer;

class PlatformPrinter : public PrintingTest {};

TEST_F(PlatformPrinter, ChoosesOnlyInstalledPrintersByExactName) {
    Printer& p = Printer::current();
    ASSERT_TRUE(p.selectByName(kDefaultQueue));
    EXPECT_FALSE(p.selectByName(QStringLiteral("slip2"))) << "names are compared exactly";
    EXPECT_FALSE(p.selectByName(QStringLiteral("NoSuchQueue")));
    EXPECT_FALSE(p.selectByName(QString()));
    EXPECT_EQ(p.deviceName(), kDefaultQueue) << "a refused name leaves the printer";
    EXPECT_TRUE(p.selectByName(kOtherQueue));
    EXPECT_EQ(p.deviceName(), kOtherQueue);
    EXPECT_FALSE(p.isVirtual());
    // cups-pdf at high resolution: 1200 dpi on both axes.
    EXPECT_DOUBLE_EQ(p.twipsPerPixelX(), 1.2);
    EXPECT_DOUBLE_EQ(p.twipsPerPixelY(), 1.2);
}

TEST_F(PlatformPrinter, PaperCodesAndSizesInTwips) {
    Printer& p = Printer::current();
    ASSERT_TRUE(p.selectByName(kOtherQueue));
    ASSERT_TRUE(p.setOrientation(1));
    struct Row {
        int code;
        bool taken;
        int width, height; // twips afterwards, portrait
        const char* why;
    };
    const Row rows[] = {
        {9, true, 11906, 16838, "A4: 210 x 297 mm at 1440 / 25.4 twips per mm"},
        {11, true, 8391, 11906, "A5: 148 x 210 mm"},
        {1, true, 12240, 15840, "Letter: 8.5 x 11 in"},
        {5, true, 12240, 20160, "Legal: 8.5 x 14 in"},
        {9999, false, 12240, 20160, "no such paper: refused, Legal stays"},
        {0, false, 12240, 20160, "0 is no paper"},
        {-9, false, 12240, 20160, "nor is a negative code"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(p.setPaperSize(row.code), row.taken) << row.why;
        EXPECT_EQ(p.width(), row.width) << row.why;
        EXPECT_EQ(p.height(), row.height) << row.why;
    }
    EXPECT_EQ(p.paperSize(), 5);

    // Landscape reports the page as it lies: wider than tall.
    ASSERT_TRUE(p.setPaperSize(9));
    EXPECT_TRUE(p.setOrientation(2));
    EXPECT_EQ(p.width(), 16838);
    EXPECT_EQ(p.height(), 11906);
    EXPECT_FALSE(p.setOrientation(3));
    EXPECT_FALSE(p.setOrientation(0));
    EXPECT_EQ(p.orientation(), 2);
    EXPECT_TRUE(p.setOrientation(1));
}

TEST_F(PlatformPrinter, UserDefinedPaper) {
    Printer& p = Printer::current();
    ASSERT_TRUE(p.selectByName(kOtherQueue));
    ASSERT_TRUE(p.setOrientation(1));
    ASSERT_TRUE(p.setPaperSize(9));
    // What the preview puts on the printer for the 215 x 205 mm slip paper.
    EXPECT_TRUE(p.setWidth(12190));
    EXPECT_TRUE(p.setHeight(11624));
    EXPECT_EQ(p.paperSize(), platform::PaperUser);
    EXPECT_EQ(p.width(), 12190);
    EXPECT_EQ(p.height(), 11624);
    // Sizes no paper can have, or the driver's limits refuse, leave it.
    EXPECT_FALSE(p.setWidth(0));
    EXPECT_FALSE(p.setHeight(-5));
    EXPECT_FALSE(p.setWidth(500)) << "below cups-pdf's 36 points";
    EXPECT_FALSE(p.setUserPaperMm(std::nan(""), 100));
    EXPECT_EQ(p.width(), 12190);
    EXPECT_EQ(p.height(), 11624);
    // Back to a standard paper and again to the user-defined one, which was kept.
    ASSERT_TRUE(p.setPaperSize(9));
    EXPECT_TRUE(p.setPaperSize(platform::PaperUser));
    EXPECT_EQ(p.width(), 12190);
    // 210 x 297 mm at 56.7 twips per mm lies within half a point of A4, yet
    // it reports what was set, not A4's 11906 x 16838.
    EXPECT_TRUE(p.setWidth(11907));
    EXPECT_TRUE(p.setHeight(16840));
    EXPECT_EQ(p.width(), 11907);
    EXPECT_EQ(p.height(), 16840);
    EXPECT_TRUE(p.setUserPaperMm(215, 205));
    EXPECT_EQ(p.width(), 12189); // 215 mm = 12188.98 twips
    EXPECT_EQ(p.height(), 11622);
}

TEST_F(PlatformPrinter, OneDocumentPerBeginAndEnd) {
    Printer& p = Printer::current();
    ASSERT_TRUE(p.selectByName(kOtherQueue));
    ASSERT_TRUE(p.setPaperSize(9));
    QPainter painter;
    ASSERT_TRUE(p.begin(painter, QStringLiteral("first")));
    QPainter second;
    EXPECT_FALSE(p.begin(second)) << "one document at a time";
    EXPECT_FALSE(p.setPaperSize(11)) << "no paper change while printing";
    painter.drawText(1000, 1000, QStringLiteral("DOCUMENT"));
    EXPECT_TRUE(p.end(painter));
    EXPECT_FALSE(p.end(painter)) << "ended already";
    ASSERT_TRUE(waitUntilIdle());
    ASSERT_EQ(pdfFiles(kOtherQueue).size(), 1);
    EXPECT_EQ(readPdf(pdfFiles(kOtherQueue).first()).words.size(), 1u);
}

// With no printer installed: a virtual A4 page, and printing does nothing. The
// check runs in a child process whose CUPS_SERVER leads nowhere, because the
// program's printer is chosen once per process; it is disabled on its own.
TEST(VirtualPage, DISABLED_ChildWithoutPrinters) {
    Printer& p = Printer::current();
    ASSERT_TRUE(Printer::installedPrinters().isEmpty());
    EXPECT_TRUE(p.isVirtual());
    EXPECT_EQ(p.deviceName(), QString());
    EXPECT_EQ(p.width(), 11906);
    EXPECT_EQ(p.height(), 16838);
    EXPECT_TRUE(p.setWidth(12190));
    EXPECT_TRUE(p.setOrientation(2));
    EXPECT_EQ(p.height(), 12190);
    EXPECT_FALSE(p.selectByName(QStringLiteral("SlipPDF")));
    QPainter painter;
    EXPECT_FALSE(p.begin(painter));

    QTemporaryDir dir;
    const QString file =
        writeSlip(dir, "v.slp", slip({{1, 1, 1440, 1440, 2880, 600, {{"Text", "X"}}}}));
    frmGeneralSlip& w = frmGeneralSlip::instance();
    EXPECT_EQ(w.cmbPrinters->count(), 0);
    frmGeneralSlip::mSlipFile = file;
    w.PrintSlipPage();
    w.cmdPrint_Click();
    w.ShowSlip(file, true, false);
    EXPECT_FALSE(frmGeneralSlip::isLoaded());
}

TEST(VirtualPage, NoPrinterInstalled) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent/lumaris-cups.sock"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=VirtualPage.DISABLED_ChildWithoutPrinters"),
                 QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(child.waitForFinished(60000)) << "the child hangs";
    const QByteArray out = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << out.constData();
    EXPECT_EQ(child.exitCode(), 0) << out.constData();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.constData();
}

} // namespace
} // namespace lumaris::testing
