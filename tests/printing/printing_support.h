#pragma once
// Printing for real on the private scheduler of scripts/cups-env.sh: queues
// "SlipPDF" (default) and "Slip2", whose PDFs land in $LUMARIS_PDF_DIR/<queue>.

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumaris::testing {

inline const QString kDefaultQueue = QStringLiteral("SlipPDF");
inline const QString kOtherQueue = QStringLiteral("Slip2");

QByteArray run(const QString& program, const QStringList& args); // stdout, "" on failure
QStringList printed(const QString& queue); // a queue's PDFs once no job is pending
void removePdfs();

struct PdfWord {
    QString text;                  // NFKC, bidi marks removed
    double xMin, yMin, xMax, yMax; // points from the top-left corner
};
struct PdfPage { // the first page as pdftotext sees it
    QSizeF size; // in points
    std::vector<PdfWord> words;
    const PdfWord* find(const QString& text) const;
};
PdfPage readPdf(const QString& path);
QImage renderPdf(const QString& path, int dpi);

// An item in twips, a 12 pt Arial text unless its keys say otherwise.
using Keys = std::vector<std::pair<QString, QString>>;
struct Item {
    int id;
    double left, top, width, height;
    Keys keys;
};
// An A4 slip in code page 1256 with CR LF; CTL_Count the last id unless given.
QString writeSlip(const QTemporaryDir& dir, const std::vector<Item>& items, int count = -1);

// Needs the scheduler; starts with no PDFs and ends with the window unloaded.
class PrintingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    QTemporaryDir mDir;
};

} // namespace lumaris::testing
