#include "printing_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>

#include "core/cp1256.h"
#include "platform/printer.h"
#include "preview/frmGeneralSlip.h"

namespace lumaris::testing {

namespace {

int jobNumber(const QString& file) {
    static const QRegularExpression re(QStringLiteral("job_(\\d+)"));
    const QRegularExpressionMatch m = re.match(file);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString cleanWord(QString word) {
    word = word.normalized(QString::NormalizationForm_KC);
    static const QRegularExpression marks(
        QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]"));
    return word.remove(marks);
}

QString unescapeXml(QString s) {
    s.replace(QLatin1String("&lt;"), QLatin1String("<"));
    s.replace(QLatin1String("&gt;"), QLatin1String(">"));
    s.replace(QLatin1String("&quot;"), QLatin1String("\""));
    s.replace(QLatin1String("&apos;"), QLatin1String("'"));
    s.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return s;
}

} // namespace

QString pdfDir(const QString& queue) {
    return qEnvironmentVariable("LUMARIS_PDF_DIR") + QLatin1Char('/') + queue;
}

QStringList pdfFiles(const QString& queue) {
    QStringList files = QDir(pdfDir(queue)).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    std::sort(files.begin(), files.end(),
              [](const QString& a, const QString& b) { return jobNumber(a) < jobNumber(b); });
    for (QString& f : files)
        f = pdfDir(queue) + QLatin1Char('/') + f;
    return files;
}

void removePdfs() {
    for (const QString& queue : {kDefaultQueue, kOtherQueue})
        for (const QString& f : pdfFiles(queue))
            QFile::remove(f);
}

QByteArray run(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

bool waitUntilIdle(int timeoutMs) {
    const int step = 50;
    for (int waited = 0; waited <= timeoutMs; waited += step) {
        QProcess p;
        p.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
        p.waitForFinished(5000);
        if (p.exitCode() == 0 && p.readAllStandardOutput().trimmed().isEmpty())
            return true;
        QThread::msleep(step);
    }
    return false;
}

PdfPage readPdf(const QString& path) {
    PdfPage page;
    const QString text = QString::fromUtf8(
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}));
    static const QRegularExpression pageRe(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    const QRegularExpressionMatch pm = pageRe.match(text);
    if (!pm.hasMatch())
        return page;
    page.size = QSizeF(pm.captured(1).toDouble(), pm.captured(2).toDouble());
    const int end = text.indexOf(QLatin1String("</page>"), pm.capturedEnd());
    static const QRegularExpression wordRe(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    auto it = wordRe.globalMatch(text, pm.capturedEnd());
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (end >= 0 && m.capturedStart() > end)
            break;
        page.words.push_back({cleanWord(unescapeXml(m.captured(5))), m.captured(1).toDouble(),
                              m.captured(2).toDouble(), m.captured(3).toDouble(),
                              m.captured(4).toDouble()});
    }
    return page;
}

QImage renderPdf(const QString& path, int dpi, const QRect& crop) {
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/page");
    QStringList args = {QStringLiteral("-r"),          QString::number(dpi), QStringLiteral("-png"),
                        QStringLiteral("-singlefile"), QStringLiteral("-f"), QStringLiteral("1")};
    if (crop.isValid())
        args << QStringLiteral("-x") << QString::number(crop.x()) << QStringLiteral("-y")
             << QString::number(crop.y()) << QStringLiteral("-W") << QString::number(crop.width())
             << QStringLiteral("-H") << QString::number(crop.height());
    run(QStringLiteral("pdftoppm"), args << path << base);
    return QImage(base + QStringLiteral(".png"));
}

QString writeSlip(const QTemporaryDir& dir, const QString& name, const Sections& sections) {
    QString text;
    for (const auto& [section, keys] : sections) {
        text += QLatin1Char('[') + section + QStringLiteral("]\r\n");
        for (const auto& [key, value] : keys)
            text += QStringLiteral("  ") + key + QLatin1Char('=') + value + QStringLiteral("\r\n");
    }
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    const std::string bytes = utf8ToCp1256(text.toStdString());
    f.write(bytes.data(), qint64(bytes.size()));
    return path;
}

void PrintingTest::SetUp() {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("CUPS_SERVER"))
        << "CUPS_SERVER is not set: the printing tests print on a private scheduler. Start it "
           "with: eval \"$(bash scripts/cups-env.sh start)\"";
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("LUMARIS_PDF_DIR"))
        << "LUMARIS_PDF_DIR is not set: start the scheduler with scripts/cups-env.sh start";
    ASSERT_TRUE(run(QStringLiteral("lpstat"), {QStringLiteral("-r")}).contains("is running"))
        << "the scheduler at " << qPrintable(qEnvironmentVariable("CUPS_SERVER"))
        << " does not answer";
    const QStringList printers = platform::Printer::installedPrinters();
    ASSERT_TRUE(printers.contains(kDefaultQueue) && printers.contains(kOtherQueue))
        << "queues SlipPDF and Slip2 are missing; installed: "
        << qPrintable(printers.join(QStringLiteral(", ")));
    ASSERT_TRUE(waitUntilIdle()) << "jobs of an earlier test are still pending";
    removePdfs();
    ASSERT_TRUE(mDir.isValid());
}

void PrintingTest::TearDown() {
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace lumaris::testing
