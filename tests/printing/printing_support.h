#pragma once
// On the private scheduler: queues SlipPDF (default) and Slip2, PDFs in $LUMARIS_PDF_DIR/<queue>.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include "core/cp1256.h"
#include "platform/printer.h"
#include "preview/frmGeneralSlip.h"

namespace lumaris::testing {

inline const QString kDefaultQueue = QStringLiteral("SlipPDF");
inline const QString kOtherQueue = QStringLiteral("Slip2");

struct PdfWord {
    QString text;                  // NFKC, bidi marks removed
    double xMin, yMin, xMax, yMax; // points from the top-left corner
};
struct PdfPage { // the first page as pdftotext sees it
    QSizeF size; // in points
    std::vector<PdfWord> words;
    const PdfWord* find(const QString& text) const {
        const auto it = std::ranges::find(words, text, &PdfWord::text);
        return it == words.end() ? nullptr : &*it;
    }
};

// An item in twips, a 12 pt Arial text unless its keys say otherwise.
using Keys = std::vector<std::pair<QString, QString>>;
struct Item {
    int id;
    double left, top, width, height;
    Keys keys;
};

// stdout, "" on failure.
inline QByteArray run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitCode() == 0 ? p.readAllStandardOutput() : "";
}

inline QStringList pdfFiles(const QString& queue) {
    QStringList files;
    for (const QFileInfo& f : QDir(qEnvironmentVariable("LUMARIS_PDF_DIR") + '/' + queue)
                                  .entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
        files << f.filePath();
    return files;
}

// A queue's PDFs once no job is pending.
inline QStringList printed(const QString& queue) {
    bool idle = false;
    for (int waited = 0; !idle && waited < 30000; waited += 50) {
        QProcess p;
        p.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
        idle = p.waitForFinished(5000) && p.exitCode() == 0 && p.readAllStandardOutput().isEmpty();
        if (!idle)
            QThread::msleep(50);
    }
    EXPECT_TRUE(idle) << "print jobs still pending";
    return pdfFiles(queue);
}

inline void removePdfs() {
    for (const QString& queue : {kDefaultQueue, kOtherQueue})
        for (const QString& f : pdfFiles(queue))
            QFile::remove(f);
}

inline PdfPage readPdf(const QString& path) {
    const QString text = QString::fromUtf8(run("pdftotext", {"-bbox", "-l", "1", path, "-"}));
    static const QRegularExpression pageRe(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    static const QRegularExpression wordRe(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    static const QRegularExpression bidiMarks(
        QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]"));
    PdfPage page;
    const QRegularExpressionMatch pm = pageRe.match(text);
    page.size = QSizeF(pm.captured(1).toDouble(), pm.captured(2).toDouble());
    for (auto it = wordRe.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString word = m.captured(5).replace(QLatin1String("&amp;"), QLatin1String("&"));
        page.words.push_back({word.normalized(QString::NormalizationForm_KC).remove(bidiMarks),
                              m.captured(1).toDouble(), m.captured(2).toDouble(),
                              m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return page;
}

inline QImage renderPdf(const QString& path, int dpi) {
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    run("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", path, base});
    return QImage(base + QStringLiteral(".png"));
}

// An A4 slip in code page 1256 with CR LF; CTL_Count the last id unless given.
inline QString writeSlip(const QTemporaryDir& dir, const std::vector<Item>& items, int count = -1) {
    QString text = QStringLiteral("[Main]\r\nVer=2\r\nCTL_Count=%1\r\n[Page]\r\nSize=9\r\n"
                                  "Width=210\r\nHeight=297\r\nOrientation=1\r\n")
                       .arg(count < 0 && !items.empty() ? items.back().id : std::max(count, 0));
    for (const Item& i : items) {
        text += QStringLiteral("[CTL_%1]\r\n").arg(i.id, 3, 10, QLatin1Char('0'));
        for (const auto& [key, value] : i.keys) // the first of a key counts
            text += key + '=' + value + QStringLiteral("\r\n");
        text += QString::asprintf("Type=1\r\nFontName=Arial\r\nFontSize=12\r\nBackStyle=True\r\n"
                                  "Left=%g\r\nTop=%g\r\nWidth=%g\r\nHeight=%g\r\n",
                                  i.left, i.top, i.width, i.height);
    }
    QFile f(dir.filePath(QStringLiteral("slip.slp")));
    const QByteArray bytes = QByteArray::fromStdString(utf8ToCp1256(text.toStdString()));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? f.fileName() : "";
}

// Needs the scheduler; starts with no PDFs and ends with the window unloaded.
class PrintingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const QStringList printers = platform::Printer::installedPrinters();
        ASSERT_TRUE(printers.contains(kDefaultQueue) && printers.contains(kOtherQueue) &&
                    !qEnvironmentVariableIsEmpty("LUMARIS_PDF_DIR"))
            << "no private scheduler: eval \"$(bash scripts/cups-env.sh start)\"";
        printed(kDefaultQueue); // jobs of an earlier test are done
        removePdfs();
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QTemporaryDir mDir;
};

} // namespace lumaris::testing
