// The printer and paper catalogue, against the private scheduler's queues and
// against paper lists a driver could report.

#include <QPrinterInfo>

#include "platform/printer.h"
#include "preview/clsPrinters.h"
#include "printing_support.h"

namespace lumaris::testing {
namespace {

class PrinterCatalogue : public PrintingTest {};

TEST_F(PrinterCatalogue, ListsTheInstalledPrinters) {
    clsPrinters printers;
    const QStringList installed = platform::Printer::installedPrinters();
    ASSERT_EQ(printers.PrintersCount(), installed.size());
    for (int i = 1; i <= installed.size(); ++i)
        EXPECT_EQ(printers.PrinterName(i), installed.at(i - 1));
    EXPECT_EQ(printers.PrinterName(0), QString());
    EXPECT_EQ(printers.PrinterName(installed.size() + 1), QString());
    EXPECT_EQ(printers.PrinterName(-1), QString());
}

TEST_F(PrinterCatalogue, EmptyUntilTheFirstChange) {
    const clsPrinters printers;
    EXPECT_EQ(printers.PagesCount(), 0);
    EXPECT_EQ(printers.PageName(1), QString());
    EXPECT_EQ(printers.PageId(QStringLiteral("A4")), 0);
    EXPECT_EQ(printers.PageDecreption(QStringLiteral("A4")), QString());
    EXPECT_EQ(printers.PageNameById(9), QString());
}

TEST_F(PrinterCatalogue, PapersOfTheChosenPrinter) {
    ASSERT_TRUE(platform::Printer::current().selectByName(kDefaultQueue));
    clsPrinters printers;
    // Letter case does not matter for the printer's name.
    ASSERT_TRUE(printers.ChangePrinter(QStringLiteral("slip2")));
    EXPECT_EQ(platform::Printer::current().deviceName(), kOtherQueue);

    const QList<QPageSize> sizes = QPrinterInfo::printerInfo(kOtherQueue).supportedPageSizes();
    ASSERT_EQ(printers.PagesCount(), sizes.size());
    EXPECT_EQ(printers.PageName(1), sizes.first().name());
    EXPECT_EQ(printers.PageName(printers.PagesCount()), sizes.last().name());
    EXPECT_EQ(printers.PageName(0), QString());
    EXPECT_EQ(printers.PageName(printers.PagesCount() + 1), QString());

    // The platform's paper codes, found by name in any case.
    EXPECT_EQ(printers.PageId(QStringLiteral("a4")), 9);
    EXPECT_EQ(printers.PageId(QStringLiteral("A5")), 11);
    EXPECT_EQ(printers.PageId(QStringLiteral("No such paper")), 0);
    EXPECT_EQ(printers.PageNameById(11), QStringLiteral("A5"));
    EXPECT_EQ(printers.PageNameById(12345), QString());
    EXPECT_EQ(printers.PageDecreption(QStringLiteral("A4")), QStringLiteral("8.27 x 11.69 inch"));
    EXPECT_EQ(printers.PageDecreption(QStringLiteral("us letter")),
              QStringLiteral("8.50 x 11.00 inch"));

    // No printer of that name: the current one stays and its papers are read again.
    clsPrinters other;
    EXPECT_TRUE(other.ChangePrinter(QStringLiteral("NoSuchQueue")));
    EXPECT_EQ(platform::Printer::current().deviceName(), kOtherQueue);
    EXPECT_EQ(other.PagesCount(), printers.PagesCount());
}

TEST(PaperTable, LookupsAndDescriptions) {
    clsPrinters printers;
    const std::vector<clsPrinters::Paper> papers = {
        {"A4", 9, 2100, 2970},      {"LETTER", 1, 2159, 2794},
        {"Twin", 300, 1000, 1000},  {"Twin", 301, 2000, 2000},
        {"Big", 40000, 1480, 2100}, {QString(70, QLatin1Char('n')), 70, 100, 100},
    };
    ASSERT_TRUE(printers.loadPaperTable(papers));
    ASSERT_EQ(printers.PagesCount(), 6);
    // Inches with two decimals and a point, whatever the locale.
    EXPECT_EQ(printers.PageDecreption("A4"), "8.27 x 11.69 inch");
    EXPECT_EQ(printers.PageDecreption("letter"), "8.50 x 11.00 inch")
        << "a lower-case name finds it";
    EXPECT_EQ(printers.PageDecreption("Big"), "5.83 x 8.27 inch");
    // Two papers of one name: the first answers.
    EXPECT_EQ(printers.PageId("twin"), 300);
    EXPECT_EQ(printers.PageDecreption("Twin"), "3.94 x 3.94 inch");
    EXPECT_EQ(printers.PageNameById(301), "Twin");
    // Paper numbers are 16-bit: 40000 is held as 40000 - 65536.
    EXPECT_EQ(printers.PageId("Big"), -25536);
    EXPECT_EQ(printers.PageNameById(-25536), "Big");
    EXPECT_EQ(printers.PageNameById(40000), QString());
    // A name keeps the 64 characters of the driver's slot.
    EXPECT_EQ(printers.PageName(6), QString(64, QLatin1Char('n')));
    // No blank trimming in the comparison.
    EXPECT_EQ(printers.PageId(" A4"), 0);

    // A driver that reports no papers leaves the table as it was.
    EXPECT_FALSE(printers.loadPaperTable({}));
    EXPECT_EQ(printers.PagesCount(), 6);
    // A shorter list replaces the table wholly.
    ASSERT_TRUE(printers.loadPaperTable({{"A5", 11, 1480, 2100}}));
    EXPECT_EQ(printers.PagesCount(), 1);
    EXPECT_EQ(printers.PageName(2), QString());
    EXPECT_EQ(printers.PageId("A4"), 0);
}

} // namespace
} // namespace lumaris::testing
