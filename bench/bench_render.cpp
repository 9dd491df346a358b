// The on-screen page: a zoom change on a full slip, and what a picture block or
// an absurd control count costs the render.

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "core/profile.h"
#include "preview/frmGeneralSlip.h"

namespace {

using lumaris::frmGeneralSlip;

// 60 controls as a designer makes them: text boxes, data fields (some with
// several lines) and a few logos, spread over an A4 page.
std::string slipText(const std::string& ctlCount) {
    std::string s = "[Main]\r\n  Ver=2\r\n  FormNum=1\r\n  CTL_Count=" + ctlCount +
                    "\r\n[Page]\r\n  Size=9\r\n  Width=210\r\n  Height=297\r\n  Orientation=1\r\n";
    for (int i = 1; i <= 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "CTL_%03d", i);
        const int type = i % 12 == 0 ? 3 : (i % 3 == 0 ? 2 : 1);
        s += std::string("[") + name + "]\r\n";
        s += "  Id=" + std::to_string(i) + "\r\n";
        s += "  Text=:اسم الحقل رقم " + std::to_string(i) + "\r\n";
        s += "  Field=" + std::to_string(i % 3 == 0 ? (i % 2 ? 5 : 61) : 0) + "\r\n";
        s += "  Type=" + std::to_string(type) + "\r\n";
        s += "  Alignment=" + std::to_string(i % 3) + "\r\n";
        s += "  VAlignment=1\r\n  Border=True\r\n  FontBold=False\r\n  FontItalic=False\r\n";
        s += "  FontName=Arial (Arabic)\r\n  FontUnderline=False\r\n  FontSize=10\r\n";
        s += "  Left=" + std::to_string(300 + (i % 4) * 2800) + "\r\n";
        s += "  Top=" + std::to_string(400 + (i / 4) * 1000) + "\r\n";
        s += "  Width=2600\r\n  Height=" + std::string(i % 3 == 0 ? "900" : "400") + "\r\n";
        s += "  BackStyle=" + std::string(i % 2 ? "True" : "False") + "\r\n";
        s += "  BackColor=16777215\r\n  ForeColor=-2147483640\r\n  IgnorePrint=False\r\n";
        s += "  FilePath=\r\n  Wordwrap=" + std::string(i % 5 ? "True" : "False") + "\r\n";
    }
    return s;
}

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
        plain = write("plain.slp", slipText("60"));
        pictured = write("pictured.slp", slipText("60") + pictureBlock(4u << 20));
        hugeCount = write("huge.slp", slipText("2147483647"));
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
