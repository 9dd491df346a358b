#pragma once
// Printing for real on the private CUPS scheduler of scripts/cups-env.sh:
// queues "SlipPDF" (default) and "Slip2", whose PDFs land in
// $LUMARIS_PDF_DIR/<queue>.

#include <QImage>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace lumaris::testing {

inline const QString kDefaultQueue = QStringLiteral("SlipPDF");
inline const QString kOtherQueue = QStringLiteral("Slip2");

// Where a queue's PDFs arrive.
QString pdfDir(const QString& queue);
// The PDFs of a queue, oldest job first.
QStringList pdfFiles(const QString& queue);
void removePdfs();
// Waits (at most timeoutMs) until the scheduler has no job left, so that every
// PDF of the jobs sent has been written. False on timeout.
bool waitUntilIdle(int timeoutMs = 30000);

// Runs a command and gives its standard output; empty on failure.
QByteArray run(const QString& program, const QStringList& args, int timeoutMs = 30000);

struct PdfWord {
    QString text;                  // NFKC-normalised, bidi marks removed
    double xMin, yMin, xMax, yMax; // points from the top-left corner
};
struct PdfPage {
    QSizeF size; // points
    std::vector<PdfWord> words;
};
// The first page of a PDF as pdftotext sees it.
PdfPage readPdf(const QString& path);
// The first page rendered at the given resolution; only the crop rectangle
// (in pixels of that resolution) when one is given.
QImage renderPdf(const QString& path, int dpi, const QRect& crop = QRect());

// A slip file: sections of key/value pairs, written in code page 1256 with
// CR LF, the way the slip writer does.
using Keys = std::vector<std::pair<QString, QString>>;
using Sections = std::vector<std::pair<QString, Keys>>;
QString writeSlip(const QTemporaryDir& dir, const QString& name, const Sections& sections);

// Every printing test: fails with a clear message when the scheduler is not
// there, starts with empty PDF folders and leaves the window unloaded.
class PrintingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    QTemporaryDir mDir;
};

} // namespace lumaris::testing
