#pragma once
// Slip files (code page 1256, CR LF line ends) and the window fixture of the window tests.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>

#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "core/hexblock.h"
#include "core/slipdoc.h"
#include "core/tempfiles.h"
#include "core/values.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/PreviewSlip.h"
#include "preview/browsecaptions.h"
#include "preview/filedialogs.h"
#include "preview/frmGeneralSlip.h"
#include "preview/frmGeneralSlip_copy.h"
#include "preview/messages.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "preview/previewstyle.h"
#include "preview/printlayout.h"
#include "preview/reportfile.h"
#include "preview/slipprinter.h"
#include "preview/sliptext.h"
#include "preview/zoomrules.h"
#include "templates/modTemplateSlips.h"

namespace lumaris::test {

using namespace platform;

using Keys = std::map<std::string, std::string>;
using Str = const std::string&;

inline std::string readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

struct SlipDir {
    QString write(const QString& name, const std::string& utf8Text) const {
        const QByteArray crlf = QByteArray::fromStdString(utf8Text).replace("\n", "\r\n");
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(QByteArray::fromStdString(utf8ToCp1256(crlf.toStdString())));
        return path(name);
    }
    QString path(const QString& name) const { return tempDir.filePath(name); }
    QString files() const {
        return QDir(tempDir.path()).entryList(QDir::Files | QDir::Hidden).join(' ');
    }
    QTemporaryDir tempDir;
};

// A [Main] and [Page] head; an empty ver or a count of "-" leaves the key out.
inline std::string slipHead(Str ver, Str count, int widthMm = 210, int heightMm = 297,
                            int orientation = 1, int size = 9) {
    auto n = [](int v) { return std::to_string(v); };
    return "[Main]\n" + (ver.empty() ? "" : "  Ver=" + ver + "\n") + "  FormNum=1\n" +
           (count == "-" ? "" : "  CTL_Count=" + count + "\n") + "[Page]\n  Size=" + n(size) +
           "\n  Width=" + n(widthMm) + "\n  Height=" + n(heightMm) +
           "\n  Orientation=" + n(orientation) + "\n";
}

inline std::string section(Str name, const Keys& keys) {
    std::string s = "[" + name + "]\n";
    for (const auto& [key, value] : keys)
        s += "  " + key + "=" + value + "\n";
    return s;
}

inline Keys kv(Str list) {
    Keys keys;
    std::stringstream in(list);
    for (std::string item; std::getline(in, item, ';');)
        keys[item.substr(0, item.find('='))] = item.substr(item.find('=') + 1);
    return keys;
}

// A text box with every key a writer puts in, changes taking precedence.
inline Keys textBox(Str left, Str top, Str width, Str height, Str changes = "") {
    Keys keys = kv(changes);
    keys.merge(kv("Text=نص;Field=0;Type=1;Alignment=1;VAlignment=0;Border=False;FontBold=False;"
                  "FontItalic=False;FontName=Arial (Arabic);FontUnderline=False;FontSize=10;"
                  "BackStyle=False;BackColor=16777215;ForeColor=0;Wordwrap=False;Left=" +
                  left + ";Top=" + top + ";Width=" + width + ";Height=" + height));
    return keys;
}

inline void closeWindow() {
    frmGeneralSlip::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Sample values, no selection or drag, the window unloaded after; a TMPDIR of its own.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fillSampleFieldValues();
        frmGeneralSlip::mSelectedItem.reset();
        frmGeneralSlip::mDragging = 0;
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    }
    void TearDown() override {
        closeWindow();
        fillSampleFieldValues();
        gFileDialogOverride = nullptr;
        qputenv("TMPDIR", savedTmpDir);
    }
    // A new name each time: a rewrite of the same size could look unchanged to the reader.
    frmGeneralSlip& open(const std::string& text, int zoomItem = -1, const QImage& logo = {}) {
        file = dir.write(QStringLiteral("w%1.slp").arg(++files), text);
        return show(file, zoomItem, logo);
    }
    static frmGeneralSlip& show(const QString& path, int zoomItem = -1, const QImage& logo = {}) {
        closeWindow();
        frmGeneralSlip& w = frmGeneralSlip::instance();
        if (!logo.isNull())
            w.picLogo->setPicture(logo);
        w.ShowSlip(path, false, true);
        if (zoomItem >= 0)
            zoom(w, zoomItem);
        return w;
    }
    static void zoom(frmGeneralSlip& w, int item) {
        w.cmbZoom->setCurrentIndex(item);
        w.cmbZoom_Click();
    }
    static PreviewLabel* label(size_t n) { return frmGeneralSlip::instance().labMaster.at(n); }
    static PreviewShape* box(size_t n) { return frmGeneralSlip::instance().ShapeMaster.at(n); }
    static PreviewImage* image(size_t n) { return frmGeneralSlip::instance().imgMaster.at(n); }
    SlipDir dir;
    QString file;
    int files = 0;
    QTemporaryDir tmp;
    const QByteArray savedTmpDir = qgetenv("TMPDIR");
};

} // namespace lumaris::test

// Only the window tests include this: they work in the program's names and these helpers.
using namespace lumaris;
using namespace lumaris::test;
