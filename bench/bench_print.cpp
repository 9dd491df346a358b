// Printing a 60-control slip: one copy, and ten copies, each its own print
// document. Printed to PDF files so that the figures are the program's own
// work and Qt's, not the print queue's.

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "platform/printer.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/slipprinter.h"

namespace {

using lumaris::frmGeneralSlip;

// Text boxes (Arabic and Latin, framed, filled), data fields with several
// lines and a few logos over an A4 page.
std::string slipText() {
    std::string s = "[Main]\r\n  Ver=2\r\n  FormNum=1\r\n  CTL_Count=60\r\n[Page]\r\n  Size=9\r\n"
                    "  Width=210\r\n  Height=297\r\n  Orientation=1\r\n";
    for (int i = 1; i <= 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "CTL_%03d", i);
        const int type = i % 15 == 0 ? 3 : (i % 3 == 0 ? 2 : 1);
        s += std::string("[") + name + "]\r\n  Id=" + std::to_string(i) + "\r\n";
        s += i % 2 ? "  Text=:رقم الحساب " + std::to_string(i) + "\r\n"
                   : "  Text=Account && total " + std::to_string(i) + "||second line\r\n";
        s += "  Field=" + std::to_string(i % 6 == 0 ? 5 : 61) + "\r\n";
        s += "  Type=" + std::to_string(type) + "\r\n";
        s += "  Alignment=" + std::to_string(i % 3) + "\r\n";
        s += "  VAlignment=" + std::to_string(i % 3) + "\r\n";
        s += "  Border=" + std::string(i % 4 ? "False" : "True") + "\r\n";
        s += "  FontBold=" + std::string(i % 5 ? "False" : "True") + "\r\n";
        s += "  FontItalic=False\r\n  FontName=Arial (Arabic)\r\n  FontUnderline=False\r\n";
        s += "  FontSize=" + std::to_string(9 + i % 6) + "\r\n";
        s += "  Left=" + std::to_string(300 + (i % 4) * 2800) + "\r\n";
        s += "  Top=" + std::to_string(400 + (i / 4) * 1000) + "\r\n";
        s += "  Width=2600\r\n  Height=" + std::string(i % 3 == 0 ? "900" : "450") + "\r\n";
        s += "  BackStyle=" + std::string(i % 2 ? "True" : "False") + "\r\n";
        s += "  BackColor=15790320\r\n  ForeColor=-2147483640\r\n  IgnorePrint=False\r\n";
        s += "  FilePath=\r\n  Wordwrap=" + std::string(i % 5 ? "True" : "False") + "\r\n";
    }
    return s;
}

class PrintBench {
  public:
    PrintBench() {
        lumaris::fillSampleFieldValues();
        slip = dir.filePath("bench.slp");
        QFile f(slip);
        if (f.open(QIODevice::WriteOnly)) {
            const std::string bytes = lumaris::utf8ToCp1256(slipText());
            f.write(bytes.data(), qint64(bytes.size()));
        }
        QImage logo(120, 60, QImage::Format_RGB32);
        logo.fill(QColor(20, 90, 160));
        frmGeneralSlip::instance().picLogo->setPicture(logo);
        frmGeneralSlip::mSlipFile = slip;
    }

    // One print document on a PDF file: begin, the renderer, end.
    void printCopy(int n) {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath(QStringLiteral("copy%1.pdf").arg(n)));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf))
            return;
        const double tx = 1440.0 / pdf.logicalDpiX(), ty = 1440.0 / pdf.logicalDpiY();
        lumaris::drawSlipPage(frmGeneralSlip::instance(), painter, tx, ty, font);
        painter.end();
    }

    QTemporaryDir dir;
    QString slip;
    QFont font{QStringLiteral("Arial"), 10};
};

PrintBench& bench() {
    static PrintBench b;
    return b;
}

void BM_PrintOneCopy(benchmark::State& state) {
    PrintBench& b = bench();
    b.printCopy(0); // fonts and the parsed slip warm, as after the preview
    for (auto _ : state)
        b.printCopy(0);
}
BENCHMARK(BM_PrintOneCopy)->Unit(benchmark::kMillisecond);

void BM_PrintTenCopies(benchmark::State& state) {
    PrintBench& b = bench();
    b.printCopy(0);
    for (auto _ : state)
        for (int copy = 1; copy <= 10; ++copy)
            b.printCopy(copy);
}
BENCHMARK(BM_PrintTenCopies)->Unit(benchmark::kMillisecond);

// The whole path of one copy onto a print queue, up to the job being handed
// to CUPS: only where a scheduler is set up (scripts/cups-env.sh), and on its
// second queue so the default one stays clean.
void BM_PrintSlipPageOnQueue(benchmark::State& state) {
    PrintBench& b = bench();
    if (!lumaris::platform::Printer::current().selectByName(QStringLiteral("Slip2"))) {
        state.SkipWithError("no queue Slip2");
        return;
    }
    lumaris::platform::Printer::current().setPaperSize(lumaris::platform::PaperA4);
    frmGeneralSlip& w = frmGeneralSlip::instance();
    frmGeneralSlip::mSlipFile = b.slip;
    for (auto _ : state)
        w.PrintSlipPage();
}

const bool kQueueBench = [] {
    if (!qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        benchmark::RegisterBenchmark("BM_PrintSlipPageOnQueue", BM_PrintSlipPageOnQueue)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(20);
    return true;
}();

} // namespace
