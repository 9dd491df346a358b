// Reading slip files through the profile reader: a first read parses the
// file, later reads must be answered from the parsed copy.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "core/profile.h"
#include "core/slipdoc.h"
#include "core/values.h"

namespace {

constexpr int kControls = 60;

const char* const kControlKeys[] = {
    "Id",        "Text",        "Field",      "Type",     "Alignment",     "VAlignment",
    "Border",    "FontBold",    "FontItalic", "FontName", "FontUnderline", "FontSize",
    "Left",      "Top",         "Width",      "Height",   "BackStyle",     "BackColor",
    "ForeColor", "IgnorePrint", "FilePath",   "Wordwrap"};

// A 60-control slip, written once per run and removed at exit.
struct BenchSlip {
    std::string path = "/tmp/lumaris-bench-" + std::to_string(::getpid()) + ".slp";

    BenchSlip() {
        using namespace lumaris;
        resetSlip();
        gFormNum = 11;
        gCtlCount = kControls;
        for (int i = 1; i <= kControls; ++i) {
            CtlRecord& c = gCtl[i];
            c.Id = i;
            c.Type = 1 + i % 3;
            c.Text = "نص تجريبي رقم " + std::to_string(i);
            c.Field = i;
            c.FontName = "Arial (Arabic)";
            c.FontSize = 12;
            c.Left = 100.0f * i;
            c.Top = 57.5f * i;
            c.Width = 3000;
            c.Height = 400;
            c.ForeColor = -2147483640;
        }
        WriteSlipFile(path);
        // The reader parses a file changed within the last second again at
        // every read; the figures are for a slip that has settled.
        ::sleep(2);
    }
    ~BenchSlip() { std::remove(path.c_str()); }
};

const std::string& slipPath() {
    static const BenchSlip slip;
    return slip.path;
}

size_t readAllKeys(const std::string& path) {
    size_t bytes = 0;
    for (const char* key : {"Ver", "FormNum", "CTL_Count"})
        bytes += lumaris::readProfileString(path, "Main", key).size();
    for (const char* key : {"Size", "Width", "Height", "Orientation"})
        bytes += lumaris::readProfileString(path, "Page", key).size();
    for (int i = 1; i <= kControls; ++i) {
        const std::string section = lumaris::controlSection(i);
        for (const char* key : kControlKeys)
            bytes += lumaris::readProfileString(path, section, key).size();
    }
    return bytes;
}

void BM_ReadAllKeys_FirstRead(benchmark::State& state) {
    const std::string& path = slipPath();
    for (auto _ : state) {
        lumaris::clearProfileCache();
        benchmark::DoNotOptimize(readAllKeys(path));
    }
}
BENCHMARK(BM_ReadAllKeys_FirstRead)->Unit(benchmark::kMicrosecond);

void BM_ReadAllKeys_Repeated(benchmark::State& state) {
    const std::string& path = slipPath();
    readAllKeys(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(readAllKeys(path));
}
BENCHMARK(BM_ReadAllKeys_Repeated)->Unit(benchmark::kMicrosecond);

// What an operation on the slip costs: one pin, then lookups only.
void BM_ReadAllKeys_Pinned(benchmark::State& state) {
    const std::string& path = slipPath();
    for (auto _ : state) {
        const lumaris::ProfilePin pin(path);
        benchmark::DoNotOptimize(readAllKeys(path));
    }
}
BENCHMARK(BM_ReadAllKeys_Pinned)->Unit(benchmark::kMicrosecond);

void BM_ReadOneKey_Repeated(benchmark::State& state) {
    const std::string& path = slipPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(lumaris::readProfileString(path, "CTL_042", "FontName"));
}
BENCHMARK(BM_ReadOneKey_Repeated);

void BM_OpenSlipFile(benchmark::State& state) {
    const std::string& path = slipPath();
    for (auto _ : state)
        benchmark::DoNotOptimize(lumaris::OpenSlipFile(path));
}
BENCHMARK(BM_OpenSlipFile)->Unit(benchmark::kMicrosecond);

void BM_SlipText(benchmark::State& state) {
    lumaris::OpenSlipFile(slipPath());
    for (auto _ : state)
        benchmark::DoNotOptimize(lumaris::slipText());
}
BENCHMARK(BM_SlipText)->Unit(benchmark::kMicrosecond);

} // namespace
