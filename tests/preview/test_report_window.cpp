// Saving a report from the window and showing it again.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/fieldvalues.h"
#include "core/hexblock.h"
#include "core/tempfiles.h"
#include "preview/filedialogs.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "slipfiles.h"

using lumaris::FileDialogKind;
using lumaris::frmGeneralSlip;
using lumaris::test::slipHead;

namespace {

std::string section(int number, const std::string& type, const std::string& field,
                    const std::string& text) {
    char name[32];
    std::snprintf(name, sizeof name, "[CTL_%03d]\n", number);
    return name + ("  Id=" + std::to_string(number) + "\n  Text=" + text + "\n  Field=" + field +
                   "\n  Type=" + type +
                   "\n  Alignment=1\n  VAlignment=0\n  Border=False\n  FontBold=False\n"
                   "  FontItalic=False\n  FontName=Arial (Arabic)\n  FontUnderline=False\n"
                   "  FontSize=12\n  Left=" +
                   std::to_string(600 * number) +
                   "\n  Top=700\n  Width=2400\n  Height=400\n"
                   "  BackStyle=False\n  BackColor=16777215\n  ForeColor=0\n  IgnorePrint=False\n"
                   "  FilePath=\n  Wordwrap=False\n");
}

std::string readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

// A picture with a different colour at every pixel.
QImage pattern(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 29 + seed) % 256, (y * 41 + seed) % 256, (x + y) * 7));
    return image;
}

// The picture as it comes back from a Windows bitmap file.
QImage throughBmp(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    QImage loaded;
    loaded.loadFromData(bytes, "BMP");
    return loaded;
}

bool samePixels(const QImage& actual, const QImage& expected) {
    return !expected.isNull() && actual.convertToFormat(expected.format()) == expected;
}

class ReportWindow : public ::testing::Test {
  protected:
    ReportWindow() {
        // Each test gets its own temporary folder for the fixed bitmap names.
        savedTmpDir = qgetenv("TMPDIR");
        hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        for (size_t i = 0; i < lumaris::gFieldValues.size(); ++i)
            lumaris::gFieldValues[i] = "[" + std::to_string(i) + "]";
    }
    ~ReportWindow() override {
        frmGeneralSlip::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        lumaris::gFileDialogOverride = nullptr;
        lumaris::gFieldValues = savedValues;
        if (hadTmpDir)
            qputenv("TMPDIR", savedTmpDir);
        else
            qunsetenv("TMPDIR");
    }

    static QString tempFile(const char* name) {
        return QFile::decodeName(lumaris::tempFolder()->string().c_str()) + "/" + name;
    }

    // The captions of the labels on the page, in section order.
    static std::vector<QString> captions() {
        std::vector<QString> result;
        const auto& labels = frmGeneralSlip::instance().labMaster;
        for (size_t i = 1; i < labels.size(); ++i)
            if (labels[i])
                result.push_back(labels[i]->caption());
        return result;
    }

    // Shows a slip with the given logo and saves its report.
    QString saveReportOf(const std::string& slip, const QImage& logo, const QString& name) {
        const QString file = dir.write(name + ".slp", slip);
        frmGeneralSlip& w = frmGeneralSlip::instance();
        w.picLogo->setPicture(logo);
        w.ShowSlip(file, false, true);
        const QString report = dir.path(name + ".Dqmx");
        w.SaveReportFile(report);
        return report;
    }

    QTemporaryDir tmp;
    QByteArray savedTmpDir;
    bool hadTmpDir = false;
    lumaris::test::SlipDir dir;
    const decltype(lumaris::gFieldValues) savedValues = lumaris::gFieldValues;
};

struct DialogCall {
    FileDialogKind kind;
    QWidget* owner;
    QString filter, title, initDir;
};

} // namespace

// The Save label: browse panel away, the save dialog as the window's own, a
// path without "." gets the extension, cancel writes nothing.
TEST_F(ReportWindow, SaveLabel) {
    lumaris::gFieldValues[7] = "123";
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.ShowSlip(dir.write("s.slp", slipHead("2", 1) + section(1, "2", "7", "t")), false, true);
    w.picBrowse->show();

    std::vector<DialogCall> calls;
    QString answer;
    lumaris::gFileDialogOverride = [&](FileDialogKind kind, QWidget* owner, const QString& filter,
                                       const QString& title, const QString& initDir) {
        calls.push_back({kind, owner, filter, title, initDir});
        return answer;
    };

    QTest::mouseClick(w.labSave, Qt::RightButton);
    EXPECT_TRUE(calls.empty()) << "only the left button clicks";

    // A relative answer lands in the current folder, which has no "." in its path.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path("")));
    answer = "  rep  ";
    QTest::mouseClick(w.labSave, Qt::LeftButton);
    QDir::setCurrent(previous);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, FileDialogKind::Save);
    EXPECT_EQ(calls[0].owner, &w);
    EXPECT_EQ(calls[0].filter, "Vyr Slip (*.Dqmx);;All files (*.*)");
    EXPECT_EQ(calls[0].title, "Save VYR Slep");
    EXPECT_TRUE(calls[0].initDir.isEmpty());
    EXPECT_FALSE(w.picBrowse->isVisible());
    EXPECT_NE(readAll(dir.path("rep.Dqmx")).find("\r\n  Text=123\r\n"), std::string::npos);

    // A "." in a folder name: the path is used as it is.
    ASSERT_TRUE(QDir().mkpath(dir.path("a.b")));
    answer = dir.path("a.b/rep");
    QTest::mouseClick(w.labSave, Qt::LeftButton);
    EXPECT_EQ(readAll(answer).substr(0, 8), "[Main]\r\n");
    EXPECT_FALSE(QFile::exists(answer + ".Dqmx"));

    const QStringList before = QDir(dir.path("")).entryList(QDir::Files);
    answer.clear();
    QTest::mouseClick(w.labSave, Qt::LeftButton);
    EXPECT_EQ(calls.size(), 3u);
    EXPECT_EQ(QDir(dir.path("")).entryList(QDir::Files), before) << "cancel saves nothing";
}

// A slip without a positive Ver: the dialog is shown, nothing is written.
TEST_F(ReportWindow, NoVersionNoReport) {
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.ShowSlip(dir.write("s.slp", slipHead("0", 1) + section(1, "1", "0", "t")), false, true);
    ASSERT_TRUE(frmGeneralSlip::mSaveFile.isEmpty());
    int asked = 0;
    const QString target = dir.path("r.Dqmx");
    lumaris::gFileDialogOverride = [&](FileDialogKind, QWidget*, const QString&, const QString&,
                                       const QString&) {
        ++asked;
        return target;
    };
    w.labSave_Click();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(QFile::exists(target));
}

// A previewed slip saved as a report and shown again: the values saved, not
// the current field values, and the logo from the report itself.
TEST_F(ReportWindow, RoundTrip) {
    auto& values = lumaris::gFieldValues;
    values[7] = "123";
    values[2] = "first line\r\nsecond line";
    values[61] = "محمد علي";
    values[70] = ":x";
    const std::string slip = slipHead("2", 6) + section(1, "1", "0", ":  التاريخ") +
                             section(2, "2", "7", "t") + section(3, "2", "2", "t") +
                             section(4, "2", "61", "t") + section(5, "3", "0", "شعار") +
                             section(6, "2", "70", "t");
    const QImage logo = pattern(9, 6, 1);
    const QString report = saveReportOf(slip, logo, "round");
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    values.fill("changed");
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.picLogo->setPicture(pattern(3, 3, 99));
    w.ShowVyrRep(report, true);

    EXPECT_FALSE(frmGeneralSlip::mReportMode);
    EXPECT_EQ(frmGeneralSlip::mSlipFile, report);
    EXPECT_EQ(frmGeneralSlip::mSaveFile, report) << "Ver is copied, so a report saves again";
    // The data value ":x" is now a text box's text, so its colon moves.
    EXPECT_EQ(captions(), (std::vector<QString>{"التاريخ:", "123", "first line\r\nsecond line",
                                                "محمد علي", "x:"}));
    const QImage expected = throughBmp(logo);
    EXPECT_TRUE(samePixels(w.picBuffer->picture(), expected));
    EXPECT_TRUE(samePixels(w.picLogo->picture(), expected));
    ASSERT_GE(w.imgMaster.size(), 2u);
    EXPECT_TRUE(samePixels(w.imgMaster[1]->picture(), expected));
    EXPECT_FALSE(QFile::exists(tempFile("picLogo20000.bmp")));
    EXPECT_TRUE(QFile::exists(tempFile("picLogo.bmp")));

    // Saved over its own file while shown: the same text and the same picture.
    const std::string first = readAll(report);
    const size_t block = first.find(">--> Logo >-->");
    ASSERT_NE(block, std::string::npos);
    w.SaveReportFile(report);
    const std::string second = readAll(report);
    // Only the text that now shows as "x:" is saved as it shows.
    std::string expectedText = first.substr(0, block);
    const size_t colon = expectedText.find("  Text=:x\r\n");
    ASSERT_NE(colon, std::string::npos);
    expectedText.replace(colon, 11, "  Text=x:\r\n");
    EXPECT_EQ(second.substr(0, block), expectedText);
    QImage again;
    again.loadFromData(QByteArray::fromStdString(lumaris::decodeHexBlock(second, "Logo")), "BMP");
    EXPECT_TRUE(samePixels(again, expected));
    w.ShowVyrRep(report, true);
    EXPECT_EQ(captions().size(), 5u);
}

// A modal report keeps the report mode until the window closes.
TEST_F(ReportWindow, ModalReport) {
    const QString report =
        saveReportOf(slipHead("2", 1) + section(1, "1", "0", "t"), pattern(2, 2, 5), "modal");
    frmGeneralSlip& w = frmGeneralSlip::instance();
    bool modeWhileShown = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (frmGeneralSlip::isLoaded() && w.isVisible() && w.isModal()) {
            modeWhileShown = frmGeneralSlip::mReportMode;
            w.cmdClose_Click();
        }
    });
    poll.start(10);
    w.ShowVyrRep(report);
    poll.stop();
    EXPECT_TRUE(modeWhileShown);
    EXPECT_FALSE(frmGeneralSlip::mReportMode);
}

// Without a block (or without a file) the logo stays as it was, in both boxes;
// a stale extracted bitmap is not taken for the report's logo.
TEST_F(ReportWindow, ReportWithoutLogo) {
    const QString report =
        dir.write("plain.Dqmx", slipHead("2", 1) + section(1, "1", "0", "plain") + "\n");
    frmGeneralSlip& w = frmGeneralSlip::instance();
    const QImage shown = pattern(5, 5, 7);
    w.picBuffer->setPicture(shown);
    w.picLogo->setPicture(pattern(3, 3, 9));
    w.ShowVyrRep(report, true);
    EXPECT_EQ(w.picBuffer->picture(), shown);
    EXPECT_EQ(w.picLogo->picture(), shown);
    EXPECT_EQ(captions(), (std::vector<QString>{"plain"}));
    EXPECT_FALSE(QFile::exists(tempFile("picLogo20000.bmp")));

    // Extraction from a missing report writes nothing, so only removing the
    // old file first keeps it from showing.
    ASSERT_TRUE(pattern(4, 4, 50).save(tempFile("picLogo20000.bmp"), "BMP"));
    w.ShowVyrRep(dir.path("missing.Dqmx"), true);
    EXPECT_EQ(w.picBuffer->picture(), shown);
    EXPECT_TRUE(captions().empty());
    EXPECT_TRUE(frmGeneralSlip::mSaveFile.isEmpty());
}

// The temporary logo bitmap: a logo that cannot be written leaves no earlier
// logo to embed; a slip without a logo control still gets the bitmap an
// earlier save left behind, as the format has it.
TEST_F(ReportWindow, TemporaryLogoBitmap) {
    ASSERT_TRUE(pattern(4, 4, 3).save(tempFile("picLogo.bmp"), "BMP"));
    const QString noPicture =
        saveReportOf(slipHead("2", 1) + section(1, "3", "0", "logo"), QImage(), "nopicture");
    EXPECT_EQ(readAll(noPicture).find(">--> Logo >-->"), std::string::npos);
    EXPECT_FALSE(QFile::exists(tempFile("picLogo.bmp")));

    const QImage logo = pattern(6, 2, 11);
    saveReportOf(slipHead("2", 1) + section(1, "3", "0", "logo"), logo, "withlogo");
    const std::string text =
        readAll(saveReportOf(slipHead("2", 1) + section(1, "1", "0", "t"), QImage(), "nologo"));
    QImage embedded;
    embedded.loadFromData(QByteArray::fromStdString(lumaris::decodeHexBlock(text, "Logo")), "BMP");
    EXPECT_TRUE(samePixels(embedded, throughBmp(logo)));
}
