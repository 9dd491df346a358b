// The program-wide printer, the printer and paper catalogue, and the virtual page with no printer.

#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <cmath>
#include <set>

#include "preview/clsPrinters.h"
#include "preview/messages.h"
#include "printing_support.h"

namespace lumaris::testing {
namespace {

using platform::Printer;
using Printers = PrintingTest;

TEST_F(Printers, ChoiceSlipPaperAndCatalogue) {
    Printer& p = Printer::current();
    ASSERT_TRUE(p.selectByName(kDefaultQueue) && p.setOrientation(1));
    EXPECT_FALSE(p.selectByName(QStringLiteral("slip2"))) << "the printer's own names are exact";
    EXPECT_DOUBLE_EQ(p.twipsPerPixelX(), 1.2) << "the queues print at 1200 dpi";
    // The 215 x 205 mm slip paper (12188.98 x 11622.05 twips) stays when a size
    // no paper has, or one below the driver's 36 points, is refused.
    EXPECT_TRUE(p.setUserPaperMm(215, 205));
    EXPECT_FALSE(p.setWidth(0) || p.setHeight(-5) || p.setWidth(500) ||
                 p.setUserPaperMm(std::nan(""), 100));
    EXPECT_EQ(p.paperSize(), platform::PaperUser);
    EXPECT_EQ(QSize(p.width(), p.height()), QSize(12189, 11622));
    // Within half a point of A4, yet what was set.
    EXPECT_TRUE(p.setWidth(11907) && p.setHeight(16840));
    EXPECT_EQ(QSize(p.width(), p.height()), QSize(11907, 16840));

    clsPrinters printers;
    ASSERT_EQ(printers.PrintersCount(), Printer::installedPrinters().size());
    EXPECT_EQ(printers.PrinterName(1), Printer::installedPrinters().first()) << "counted from 1";
    EXPECT_EQ(printers.PrinterName(printers.PrintersCount()), Printer::installedPrinters().last());
    EXPECT_EQ(printers.PrinterName(printers.PrintersCount() + 1), QString()) << "none beyond";
    // The catalogue's names in any case choose the printer and read its papers
    // in the driver's order; an unknown name keeps it and reads them again.
    ASSERT_TRUE(printers.ChangePrinter(QStringLiteral("slip2")));
    ASSERT_TRUE(printers.ChangePrinter(QStringLiteral("NoSuchQueue")));
    EXPECT_EQ(p.deviceName(), kOtherQueue);
    // Every paper of the queue's driver, in its order and with its name, within
    // its rounding (3 points) and the two decimals of the driver's size;
    // standard papers keep their codes, each other one gets its own.
    QFile ppd(QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"));
    ASSERT_TRUE(ppd.open(QIODevice::ReadOnly));
    const QRegularExpression dimension(R"re(^\*PaperDimension [^/]+/(.+): "(\S+) (\S+)")re");
    const QRegularExpression described(R"re(^(\d+\.\d\d) x (\d+\.\d\d) inch$)re");
    std::set<int> ids;
    int n = 0;
    for (const QByteArray& line : ppd.readAll().split('\n')) {
        const QRegularExpressionMatch m = dimension.match(QString::fromLatin1(line));
        if (!m.hasMatch())
            continue;
        const QString name = m.captured(1);
        EXPECT_EQ(printers.PageName(++n), name);
        const QRegularExpressionMatch d = described.match(printers.PageDecreption(name));
        auto near = [&](int i) {
            return std::abs(d.captured(i).toDouble() * 72 - m.captured(i + 1).toDouble()) <= 3.4;
        };
        EXPECT_TRUE(d.hasMatch() && near(1) && near(2)) << name.toStdString();
        const int id = printers.PageId(name);
        EXPECT_TRUE(id != 0 && ids.insert(id).second) << name.toStdString() << " " << id;
        EXPECT_EQ(printers.PageNameById(id), name);
    }
    ASSERT_GT(n, 60);
    EXPECT_EQ(printers.PagesCount(), n);
    // Standard papers as defined, not as the driver rounds them to points (A4's
    // 595 x 842 would be 8.26 x 11.69). A paper the standard table does not know
    // by that key and size keeps the driver's: this "SuperB" is not the table's
    // B+ (12 x 19.17 inch), nor is "4A" (2380.9 mm high) 4A0 (2378 mm).
    const std::pair<const char*, const char*> sizes[] = {
        {"A4", "8.27 x 11.69 inch"},         // 210 x 297 mm: 8.268 x 11.693
        {"A5", "5.83 x 8.27 inch"},          // 148 x 210 mm; 421 x 595 points would be 5.85 x 8.26
        {"US Letter", "8.50 x 11.00 inch"},  // 8.5 x 11 inch
        {"Envelope DL", "4.33 x 8.66 inch"}, // 110 x 220 mm; 624 points would be 8.67
        {"Super B", "13.00 x 19.00 inch"},   // 936 x 1368 points
        {"4A", "66.22 x 93.74 inch"},        // 4768 x 6749 points: 66.222 x 93.736
    };
    for (const auto& [name, size] : sizes)
        EXPECT_EQ(printers.PageDecreption(name).toStdString(), size);
    // Paper names in any case, not trimmed, give the standard codes.
    EXPECT_EQ(
        std::tuple(printers.PageId("a4"), printers.PageId("us letter"), printers.PageId(" A4")),
        std::tuple(9, 1, 0));
    EXPECT_EQ(printers.PageNameById(11), "A5");
    // A driver's list: of two papers of one name the first answers; codes are
    // 16-bit (40000 is held as 40000 - 65536); an empty list keeps the table.
    ASSERT_TRUE(printers.loadPaperTable(
        {{"Twin", 300, 1000, 1000}, {"Twin", 301, 2000, 2000}, {"Big", 40000, 1480, 2100}}));
    EXPECT_FALSE(printers.loadPaperTable({}));
    ASSERT_EQ(printers.PagesCount(), 3);
    EXPECT_EQ(printers.PageId("twin"), 300);
    EXPECT_EQ(printers.PageDecreption("Twin"), "3.94 x 3.94 inch");
    EXPECT_EQ(printers.PageId("Big"), -25536);
}

// Run by ctest on its own, its scheduler address leading nowhere, as the printer is chosen
// once per process: a virtual A4 page, nothing prints.
TEST(VirtualPage, DISABLED_ChildWithoutPrinters) {
    Printer& p = Printer::current();
    ASSERT_TRUE(Printer::installedPrinters().isEmpty());
    EXPECT_TRUE(p.isVirtual());
    EXPECT_EQ(QSize(p.width(), p.height()), QSize(11906, 16838));
    EXPECT_TRUE(p.setWidth(12190) && p.setOrientation(2) && p.height() == 12190) << "landscape";
    QPainter painter;
    EXPECT_FALSE(p.begin(painter));
    QTemporaryDir dir;
    frmGeneralSlip::mSlipFile = writeSlip(dir, {{1, 1440, 1440, 2880, 600, {{"Text", "X"}}}});
    frmGeneralSlip& w = frmGeneralSlip::instance();
    EXPECT_EQ(w.cmbPrinters->count(), 0);
    QString said;
    gMessageOverride = [&](QWidget*, const QString&, const QString& text) { said = text; };
    w.cmdPrint_Click();
    EXPECT_EQ(said, "No printer is chosen.");
    w.ShowSlip(frmGeneralSlip::mSlipFile, true, false);
    EXPECT_FALSE(frmGeneralSlip::isLoaded());
}

} // namespace
} // namespace lumaris::testing
