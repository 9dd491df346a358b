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

#include "bench_slip.h"
#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "platform/printer.h"
#include "preview/clsPrinters.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/slipprinter.h"

namespace {

using lumaris::frmGeneralSlip;

class PrintBench {
  public:
    PrintBench() {
        lumaris::fillSampleFieldValues();
        slip = dir.filePath("bench.slp");
        QFile f(slip);
        if (f.open(QIODevice::WriteOnly)) {
            const std::string bytes = lumaris::utf8ToCp1256(benchSlipText("60"));
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

// Choosing a queue in the catalogue: the driver's paper list read afresh.
void BM_ChangePrinter(benchmark::State& state) {
    lumaris::clsPrinters printers;
    if (!printers.ChangePrinter(QStringLiteral("Slip2"))) {
        state.SkipWithError("no queue Slip2");
        return;
    }
    for (auto _ : state)
        printers.ChangePrinter(QStringLiteral("Slip2"));
    state.counters["papers"] = printers.PagesCount();
}

const bool kQueueBench = [] {
    if (!qEnvironmentVariableIsEmpty("CUPS_SERVER")) {
        benchmark::RegisterBenchmark("BM_PrintSlipPageOnQueue", BM_PrintSlipPageOnQueue)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(20);
        benchmark::RegisterBenchmark("BM_ChangePrinter", BM_ChangePrinter)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
