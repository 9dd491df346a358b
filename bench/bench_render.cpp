// The on-screen page: a zoom change on a full slip, and what a picture block or
// an absurd control count costs the render.

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

#include "bench_slip.h"
#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "core/profile.h"
#include "preview/frmGeneralSlip.h"

namespace {

using lumaris::frmGeneralSlip;

// The logo pictures a slip writer appends: hex lines without "=".
std::string pictureBlock(size_t bytes) {
    std::string block;
    const std::string line = std::string(126, 'A') + "\r\n";
    while (block.size() < bytes)
        block += line;
    return block;
}

class Slips {
  public:
    Slips() {
        lumaris::fillSampleFieldValues();
        plain = write("plain.slp", benchSlipText("60"));
        pictured = write("pictured.slp", benchSlipText("60") + pictureBlock(4u << 20));
        hugeCount = write("huge.slp", benchSlipText("2147483647"));
    }
    QString plain, pictured, hugeCount;

  private:
    QString write(const char* name, const std::string& utf8) {
        const QString path = mDir.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(QByteArray::fromStdString(lumaris::utf8ToCp1256(utf8)));
        return path;
    }
    QTemporaryDir mDir;
};

Slips& slips() {
    static Slips s;
    return s;
}

void closeWindow();

frmGeneralSlip& shown(const QString& file) {
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.ShowSlip(file, false, true);
    return w;
}

// The whole zoom handler, "50%" and "100%" in turn: render, ranges, placement.
void BM_ZoomChange60Controls(benchmark::State& state) {
    frmGeneralSlip& w = shown(slips().plain);
    int item = 0;
    for (auto _ : state) {
        w.cmbZoom->setCurrentIndex(item);
        w.cmbZoom_Click();
        item = item == 0 ? 2 : 0;
    }
    state.counters["labels"] = double(w.labMaster.size() - 1);
    closeWindow();
}
BENCHMARK(BM_ZoomChange60Controls)->Unit(benchmark::kMillisecond);

// The same with the page painted, as the screen will show it next.
void BM_ZoomChangeAndPaint60Controls(benchmark::State& state) {
    frmGeneralSlip& w = shown(slips().plain);
    int item = 0;
    for (auto _ : state) {
        w.cmbZoom->setCurrentIndex(item);
        w.cmbZoom_Click();
        benchmark::DoNotOptimize(w.picPrinter->grab());
        item = item == 0 ? 2 : 0;
    }
    closeWindow();
}
BENCHMARK(BM_ZoomChangeAndPaint60Controls)->Unit(benchmark::kMillisecond);

void closeWindow() {
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Opening the preview of a full slip: loading the window, reading the page,
// the first zoom and render; then closing it again.
void BM_OpenPreview60Controls(benchmark::State& state) {
    slips();
    for (auto _ : state) {
        shown(slips().plain);
        closeWindow();
    }
}
BENCHMARK(BM_OpenPreview60Controls)->Unit(benchmark::kMillisecond);

// The render alone on the same slip; first argument 1 adds a 4 MB picture
// block after the sections, 2 makes CTL_Count 2147483647. Both should cost
// about what the plain slip (0) costs. Second argument 1: the file is parsed
// afresh at every render, as when it has just changed.
void BM_Render(benchmark::State& state) {
    const QString& file = state.range(0) == 1   ? slips().pictured
                          : state.range(0) == 2 ? slips().hugeCount
                                                : slips().plain;
    const bool cold = state.range(1) == 1;
    frmGeneralSlip& w = shown(file);
    for (auto _ : state) {
        if (cold)
            lumaris::clearProfileCache();
        w.RenderPreviewControls();
    }
    state.counters["labels"] = double(w.labMaster.size() - 1);
    closeWindow();
}
BENCHMARK(BM_Render)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"slip", "cold"})
    ->Unit(benchmark::kMillisecond);

} // namespace
