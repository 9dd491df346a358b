// Saving a report from the window and showing it again.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "core/fieldvalues.h"
#include "core/hexblock.h"
#include "core/tempfiles.h"
#include "preview/filedialogs.h"
#include "preview/frmGeneralSlip.h"
#include "preview/messages.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "slipfiles.h"

using lumaris::frmGeneralSlip;
using lumaris::test::slipHead;

namespace {

std::string item(int n, const std::string& type, const std::string& field,
                 const std::string& text) {
    return "[CTL_00" + std::to_string(n) + "]\n  Text=" + text + "\n  Field=" + field +
           "\n  Type=" + type + "\n  FontSize=12\n  Left=" + std::to_string(600 * n) +
           "\n  Top=700\n  Width=500\n  Height=400\n";
}

std::string readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

class ReportWindow : public ::testing::Test {
  protected:
    // Each test gets its own temporary folder for the window's fixed bitmap names.
    ReportWindow() : savedTmpDir(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        lumaris::fillSampleFieldValues();
    }
    ~ReportWindow() override {
        frmGeneralSlip::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        lumaris::gFileDialogOverride = nullptr;
        lumaris::fillSampleFieldValues();
        savedTmpDir.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", savedTmpDir);
    }

    QTemporaryDir tmp;
    QByteArray savedTmpDir;
    lumaris::test::SlipDir dir;
};

} // namespace

// Saved through the Save label (the browse panel goes away, cancel saves
// nothing) and shown again: the values saved, not the current ones, a line
// break included, and the logo from the report itself. Saved over itself while
// shown, it keeps its text and its picture.
TEST_F(ReportWindow, RoundTrip) {
    auto& values = lumaris::gFieldValues;
    values[7] = "123";
    values[2] = "first\r\nsecond";
    values[61] = "محمد علي";
    QImage logo(9, 6, QImage::Format_RGB32); // a colour at every pixel, which BMP keeps
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x)
            logo.setPixel(x, y, qRgb(x * 29, y * 41, (x + y) * 7));
    frmGeneralSlip* w = &frmGeneralSlip::instance();
    w->picLogo->setPicture(logo);
    w->ShowSlip(dir.write("s.slp", slipHead("2", 5) + item(1, "1", "0", ":  التاريخ") +
                                       item(2, "2", "7", "t") + item(3, "2", "2", "t") +
                                       item(4, "2", "61", "t") + item(5, "3", "0", "شعار")),
                false, true);
    w->picBrowse->show();
    QString answer;
    lumaris::gFileDialogOverride = [&](auto...) { return answer; };
    QTest::mouseClick(w->labSave, Qt::LeftButton);
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::Files | QDir::Hidden).join(' '), "s.slp");
    answer = dir.path("r"); // without a ".", so the extension is added
    QTest::mouseClick(w->labSave, Qt::LeftButton);
    EXPECT_FALSE(w->picBrowse->isVisible());
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    values.fill("changed");
    // The bitmaps the save left behind go too: the logo must come from the report.
    QDir(QString::fromStdString(lumaris::tempFolder()->string())).removeRecursively();
    const QString report = dir.path("r.Dqmx");
    w = &frmGeneralSlip::instance();
    w->ShowVyrRep(report, true);
    std::vector<QString> captions;
    for (size_t i = 1; i < w->labMaster.size(); ++i)
        captions.push_back(w->labMaster[i]->caption());
    EXPECT_EQ(captions, (std::vector<QString>{"التاريخ:", "123", "first\r\nsecond", "محمد علي"}));
    ASSERT_GE(w->imgMaster.size(), 2u);
    EXPECT_EQ(w->imgMaster[1]->picture().convertToFormat(logo.format()), logo);

    const std::string first = readAll(report);
    w->SaveReportFile(report);
    const std::string second = readAll(report);
    const size_t block = first.find(">--> Logo >-->");
    ASSERT_NE(block, std::string::npos);
    EXPECT_EQ(second.substr(0, block), first.substr(0, block));
    const std::string bmp = lumaris::decodeHexBlock(second, "Logo");
    EXPECT_EQ(
        QImage::fromData(QByteArray::fromStdString(bmp), "BMP").convertToFormat(logo.format()),
        logo);
}

// A save that fails says which file and why and leaves no report; a link
// planted at the logo's fixed name is replaced, never followed.
TEST_F(ReportWindow, FailuresAreSaidAndLinksReplaced) {
    QStringList said;
    const lumaris::MessageFunction saved = lumaris::gMessageOverride;
    lumaris::gMessageOverride = [&](QWidget*, const QString& title, const QString& text) {
        said << title + ": " + text;
    };
    QImage logo(4, 4, QImage::Format_RGB32);
    logo.fill(Qt::red);
    frmGeneralSlip* w = &frmGeneralSlip::instance();
    w->picLogo->setPicture(logo);
    w->ShowSlip(dir.write("s.slp", slipHead("2", 1) + item(1, "3", "0", "logo")), false, true);
    const QString outside = dir.write("outside.txt", "not a logo");
    const QString bmp = QFile::decodeName(lumaris::tempFolder()->c_str()) + "/picLogo.bmp";
    ASSERT_TRUE(QFile::link(outside, bmp));

    w->SaveReportFile(dir.path("outside.txt/r.Dqmx")); // its folder is a file
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{64, old.rlim_max}; // the logo's 118 bytes do not fit
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
    w->SaveReportFile(dir.path("full.Dqmx"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    w->SaveReportFile(dir.path("r.Dqmx"));
    lumaris::gMessageOverride = saved;

    const auto reason = [](int e) { return QString::fromLocal8Bit(std::strerror(e)); };
    EXPECT_EQ(said, QStringList({"Save: Cannot save " + dir.path("outside.txt/r.Dqmx") + ": " +
                                     reason(ENOTDIR),
                                 "Save: Cannot save " + bmp + ": " + reason(EFBIG)}));
    EXPECT_EQ(readAll(outside), "not a logo");
    EXPECT_FALSE(QFileInfo(bmp).isSymLink());
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::Files | QDir::Hidden).join(' '),
              "outside.txt r.Dqmx s.slp");
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(
                                   lumaris::decodeHexBlock(readAll(dir.path("r.Dqmx")), "Logo")),
                               "BMP")
                  .convertToFormat(logo.format()),
              logo);
}
