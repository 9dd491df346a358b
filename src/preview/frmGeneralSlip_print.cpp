// Printing: the printer list, the copies box and its spinner, the print
// command, and the renderer that draws one copy of the slip on the printer.

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <climits>
#include <cmath>
#include <optional>

#include "core/catalogues.h"
#include "core/fieldvalues.h"
#include "core/profile.h"
#include "core/slipdoc.h"
#include "core/values.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/messages.h"
#include "preview/picturebox.h"
#include "preview/previewstyle.h"
#include "preview/printlayout.h"
#include "preview/slipprinter.h"
#include "preview/sliptext.h"

namespace lumaris {

namespace {

constexpr int kMaxCopies = 10;
// The largest font size a printer font takes, in points.
constexpr double kMaxFontPoints = 2160;

// A number as the copies box shows it: no blanks, no trailing zeros.
QString numberText(double n) {
    return QString::number(n, 'g', 15);
}

double copiesNumber(const QLineEdit* box) {
    return leadingNumber(box->text().toStdString());
}

SlipAlign slipAlign(double alignment) {
    if (alignment == 1)
        return SlipAlign::Right;
    if (alignment == 2)
        return SlipAlign::Center;
    return SlipAlign::Left;
}

QRect toRect(const PixelEdges& e) {
    return QRect(e.left, e.top, e.width(), e.height());
}

} // namespace

void frmGeneralSlip::FillPrinters() {
    // Filling is not a choice of the user: no change handler runs.
    const QSignalBlocker block(cmbPrinters);
    cmbPrinters->clear();
    const QString current = platform::Printer::current().deviceName();
    int selected = 0;
    for (const QString& name : platform::Printer::installedPrinters()) {
        cmbPrinters->addItem(name);
        if (name == current)
            selected = cmbPrinters->count() - 1;
    }
    cmbPrinters->setCurrentIndex(cmbPrinters->count() > 0 ? selected : -1);
}

bool frmGeneralSlip::PrintSlipPage() {
    platform::Printer& printer = platform::Printer::current();
    QPainter painter;
    const QString title = QFileInfo(mSlipFile).completeBaseName();
    if (!printer.begin(painter, title.isEmpty() ? QStringLiteral("Lumaris slip") : title))
        return false;
    QFont font = printer.font();
    drawSlipPage(*this, painter, printer.twipsPerPixelX(), printer.twipsPerPixelY(), font);
    printer.setFont(font);
    return printer.end(painter);
}

QRect printedTextRect(const QFont& font, const QPaintDevice* device, const TextItemRects& rects,
                      const QString& text, SlipAlign align, double vAlignment,
                      SlipAmpersand ampersand) {
    // Measured wrapped at the outer width whatever the item's own wrapping,
    // laid out as the screen lays it out.
    const int measured =
        text.isEmpty()
            ? 0
            : int(std::ceil(slipTextSize(font, device, text, align, rects.outer.width(), ampersand)
                                .height()));
    return toRect(alignVertically(rects, measured, vAlignment == 1 ? 1 : vAlignment == 2 ? 2 : 0));
}

void drawSlipPage(const frmGeneralSlip& w, QPainter& painter, double tx, double ty, QFont& font) {
    const QString file = frmGeneralSlip::mSlipFile;
    const ProfilePin pin(QFile::encodeName(file).toStdString());
    const double count = w.slipNumber(QStringLiteral("Main"), QStringLiteral("CTL_Count"));
    painter.setLayoutDirection(Qt::RightToLeft);
    painter.setPen(QColor(Qt::black));
    const QRect page = painter.viewport();

    const QImage& logo = w.picLogo->picture();
    const QSize logoSource(px(platform::twipsWidth(w.picLogo) / platform::kTwipsPerPixel),
                           px(platform::twipsHeight(w.picLogo) / platform::kTwipsPerPixel));
    QColor foreColor = Qt::black;

    // The highest number first, so that control 1 lies on top.
    const auto numbers = existingControlNumbers(QFile::encodeName(file).toStdString(), count);
    for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) {
        const long long i = *it;
        const QString sec = QString::fromStdString(controlSection(i));
        const auto number = [&](const char* key) { return w.slipNumber(sec, QLatin1String(key)); };
        const auto flag = [&](const char* key) { return w.slipFlag(sec, QLatin1String(key)); };

        const double type = number("Type");
        if ((type != 1 && type != 2 && type != 3) || flag("IgnorePrint"))
            continue;
        const ItemBox box =
            itemBox(number("Left"), number("Top"), number("Width"), number("Height"), tx, ty);

        if (type == 3) {
            const PixelEdges r = logoRect(box);
            if (!logo.isNull() && r.width() > 0 && r.height() > 0 && !logoSource.isEmpty())
                painter.drawImage(toRect(r), logo, QRect(QPoint(0, 0), logoSource));
            continue;
        }

        QString text = QString::fromStdString(
            captionText(w.GetSlipKey(file, sec, QStringLiteral("Text")).toStdString()));
        const long long field = roundHalfEven(number("Field"));
        const bool data = type == 2 && field >= 0 && field <= kMaxField;
        if (data)
            text = QString::fromStdString(gFieldValues[size_t(field)]);
        const SlipAmpersand ampersand = data ? SlipAmpersand::Literal : SlipAmpersand::Mnemonic;

        // A setting the printer cannot take keeps the one of the item before.
        const QString face = faceName(w.slipName(sec, QStringLiteral("FontName")));
        if (!face.isEmpty())
            font.setFamily(face);
        font.setBold(flag("FontBold"));
        font.setItalic(flag("FontItalic"));
        font.setUnderline(flag("FontUnderline"));
        const double points = number("FontSize");
        if (points > 0 && points <= kMaxFontPoints)
            font.setPointSizeF(points);
        painter.setFont(font);

        const TextItemRects rects = textItemRects(box, tx, ty);
        const SlipAlign align = slipAlign(number("Alignment"));
        if (flag("Border"))
            text = QLatin1Char(' ') + text + QLatin1Char(' ');

        const QRect target = printedTextRect(font, painter.device(), rects, text, align,
                                             number("VAlignment"), ampersand);
        const bool wrap = flag("Wordwrap");

        if (!flag("BackStyle")) {
            const std::optional<QColor> back = slipColor(number("BackColor"));
            if (back && rects.outer.width() > 0 && rects.outer.height() > 0)
                painter.fillRect(toRect(rects.outer), *back);
        }
        if (flag("Border")) {
            const PixelEdges& f = rects.frame;
            // The outline covers the left and top edges but stops one pixel
            // short of the right and bottom ones, as the rectangle call does.
            const QRect outline =
                QRect(QPoint(std::min(f.left, f.right), std::min(f.top, f.bottom)),
                      QPoint(std::max(f.left, f.right) - 1, std::max(f.top, f.bottom) - 1));
            painter.save();
            painter.setPen(QPen(Qt::black, 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(outline);
            painter.restore();
        }
        if (const std::optional<QColor> fore = slipColor(number("ForeColor")))
            foreColor = *fore;
        if (!text.isEmpty() && target.width() > 0 && target.height() > 0 &&
            target.intersects(page)) {
            // What does not fit the drawing rectangle is cut off there.
            painter.save();
            painter.setClipRect(target);
            painter.setPen(foreColor);
            drawSlipText(painter, target, text, align, wrap, ampersand);
            painter.restore();
        }
    }
}

void frmGeneralSlip::cmdPrint_Click() {
    Command1_Click();
    platform::Printer& printer = platform::Printer::current();

    // Only the printer the list names: when it is gone, the copies are lost
    // rather than sent to whichever printer happens to be current.
    const bool chosen = printer.selectByName(cmbPrinters->currentText());

    printer.setPaperSize(platform::PaperA4);
    printer.setOrientation(int(roundHalfEven(mPageOrientation)));
    const long long code = roundHalfEven(mPageSize);
    // The slip papers of the table that have no code of their own (the 215 x
    // 205 mm slip) are asked for by their size.
    if (code >= 0 && code < static_cast<long long>(gPaper.size()) &&
        gPaper[size_t(code)].printerCode == platform::PaperUser)
        printer.setUserPaperMm(gPaper[size_t(code)].widthMm, gPaper[size_t(code)].heightMm);
    else if (code > 0 && code <= INT_MAX)
        printer.setPaperSize(int(code));

    double copies = copiesNumber(txtNum);
    copies = std::clamp(copies, 1.0, double(kMaxCopies));
    txtNum->setText(numberText(copies));

    const QString name = cmbPrinters->currentText();
    if (!chosen) {
        showError(this, QStringLiteral("Print"),
                  name.isEmpty()
                      ? QStringLiteral("No printer is chosen.")
                      : QStringLiteral("The printer \"%1\" is not available.").arg(name));
    } else {
        for (int copy = 1; copy <= copies; ++copy) {
            if (!PrintSlipPage()) {
                showError(
                    this, QStringLiteral("Print"),
                    QStringLiteral("The printer \"%1\" did not accept the print job.").arg(name));
                break;
            }
        }
    }
    cmdPrint->setFocus();
}

void frmGeneralSlip::imgUP_Click() {
    txtNum->setText(numberText(std::min(copiesNumber(txtNum) + 1, double(kMaxCopies))));
}

void frmGeneralSlip::imgDN_Click() {
    txtNum->setText(numberText(std::max(copiesNumber(txtNum) - 1, 1.0)));
}

void frmGeneralSlip::txtNum_Change() {
    Command1_Click();
}

void frmGeneralSlip::cmbPrinters_Change() {
    Command1_Click();
}

} // namespace lumaris
