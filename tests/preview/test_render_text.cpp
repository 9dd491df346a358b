// Slip text measured as the printer's text call measures it.

#include <QComboBox>
#include <QFontMetricsF>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/slipdoc.h"
#include "core/values.h"
#include "platform/fonts.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/previewitems.h"
#include "preview/previewstyle.h"
#include "preview/printlayout.h"
#include "preview/slipprinter.h"
#include "preview/sliptext.h"
#include "templates/modTemplateSlips.h"

namespace {

// Sizes in a 16 px Arial on an image; line is the face's own line height.
struct Measure {
    QImage device{10, 10, QImage::Format_RGB32};
    QFont font{QStringLiteral("Arial")};
    Measure() { font.setPixelSize(16); }
    double line() const { return QFontMetricsF(font, &device).height(); }
    QSizeF operator()(const char* text, double wrapWidth = -1) const {
        return lumaris::slipTextSize(font, &device, QString::fromUtf8(text),
                                     lumaris::SlipAlign::Right, wrapWidth);
    }
};

// CR LF, LF and a lone CR each break a line, a break at the end opens an empty
// last line; "&" before a letter takes no room and "&&" is one "&". Arabic
// lines advance by the item's own face, whichever taller face draws them.
TEST(SlipText, LinesAndMnemonics) {
    const Measure size;
    const std::pair<const char*, int> rows[] = {
        {"", 1},           {"one", 1},  {"a\r\nb", 2},
        {"a\nb", 2},       {"a\rb", 2}, {"ends\r\n", 2},
        {"a\r\n\r\nb", 3}, {"&&", 1},   {"رقم الحساب\r\nالتوقيع", 2}};
    for (const auto& [text, lines] : rows)
        EXPECT_DOUBLE_EQ(size(text).height(), lines * size.line()) << text;
    const std::pair<const char*, const char*> sameWidth[] = {
        {"&Copy", "Copy"}, {"A&B", "AB"}, {"Copy&", "Copy"}, {"wide line\r\nw", "wide line"}};
    for (const auto& [text, shown] : sameWidth)
        EXPECT_DOUBLE_EQ(size(text).width(), size(shown).width()) << text;
    EXPECT_GT(size("A&&B").width(), size("AB").width()); // "A&B" shown
}

// Wrapping breaks at blanks within the width and never inside a word.
TEST(SlipText, WrapsAtWordsWithinTheWidth) {
    const Measure size;
    const char* words = "كلمة كلمة كلمة كلمة";
    const QSizeF one = size("كلمة");
    EXPECT_DOUBLE_EQ(size(words).height(), one.height());
    EXPECT_EQ(size(words, one.width() + 2), QSizeF(one.width(), 4 * one.height()));
    EXPECT_EQ(size(words, 3), QSizeF(one.width(), 4 * one.height())) << "words stay whole";
}

} // namespace

namespace {

using namespace lumaris;

// Every fixed caption of the twelve built-in templates shows whole at 100% on
// screen and on paper, laid out by the renderers' own functions: no ink outside
// the label or the print clip, and no label running past its box.
TEST(SlipText, TemplateCaptionsShowWhole) {
    platform::installFontSubstitutes();
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("fit.pdf")));
    const double tx = 1440.0 / printer.resolution();
    int captions = 0;
    for (int form = 1; form <= 12; ++form) {
        modTemplateSlips::SelectTempFile(form);
        const QString file = QString::fromStdString(modTemplateSlips::tmpSlpPath().string());
        frmGeneralSlip::unload();
        frmGeneralSlip& w = frmGeneralSlip::instance();
        w.ShowSlip(file, false, true);
        w.cmbZoom->setCurrentIndex(2); // 100%
        w.cmbZoom_Click();
        size_t n = 0;
        for (long long id : existingControlNumbers(
                 file.toStdString(),
                 w.slipNumber(QStringLiteral("Main"), QStringLiteral("CTL_Count")))) {
            const QString sec = QString::fromStdString(controlSection(id));
            auto num = [&](const char* key) { return w.slipNumber(sec, QLatin1String(key)); };
            auto flag = [&](const char* key) { return w.slipFlag(sec, QLatin1String(key)); };
            const double type = num("Type");
            if (type == 1 || type == 2)
                ++n;
            if (type != 1 || w.labMaster.at(n)->caption().trimmed().isEmpty())
                continue;
            ++captions;
            const PreviewLabel* label = w.labMaster.at(n);
            const SlipAlign align = num("Alignment") == 1   ? SlipAlign::Right
                                    : num("Alignment") == 2 ? SlipAlign::Center
                                                            : SlipAlign::Left;
            const bool wrap = flag("Wordwrap");
            const std::string where = "template " + std::to_string(form) + " " + sec.toStdString();

            const QRectF shown(label->rect());
            const QRectF screenInk =
                slipTextInk(label->drawFont(), label, shown, label->caption(), align, wrap);
            EXPECT_TRUE(shown.adjusted(-0.01, -0.01, 0.01, 0.01).contains(screenInk))
                << where << " screen: ink " << screenInk.left() << "," << screenInk.top() << " "
                << screenInk.width() << "x" << screenInk.height() << " in " << shown.width() << "x"
                << shown.height();
            EXPECT_LE(platform::twipsHeight(label), platform::twipsHeight(w.ShapeMaster.at(n)))
                << where << " runs past its box";

            QFont font(faceName(w.slipName(sec, QStringLiteral("FontName"))));
            font.setBold(flag("FontBold"));
            font.setPointSizeF(num("FontSize"));
            QString text = QString::fromStdString(
                captionText(w.GetSlipKey(file, sec, QStringLiteral("Text")).toStdString()));
            if (flag("Border"))
                text = QLatin1Char(' ') + text + QLatin1Char(' ');
            const TextItemRects rects = textItemRects(
                itemBox(num("Left"), num("Top"), num("Width"), num("Height"), tx, tx), tx, tx);
            const QRect clip = printedTextRect(font, &printer, rects, text, align,
                                               num("VAlignment"), SlipAmpersand::Mnemonic);
            const QRectF paperInk = slipTextInk(font, &printer, clip, text, align, wrap);
            EXPECT_TRUE(QRectF(clip).adjusted(-0.01, -0.01, 0.01, 0.01).contains(paperInk))
                << where << " paper: ink " << paperInk.left() << "," << paperInk.top() << " "
                << paperInk.width() << "x" << paperInk.height() << " in " << clip.left() << ","
                << clip.top() << " " << clip.width() << "x" << clip.height();
        }
    }
    frmGeneralSlip::unload();
    EXPECT_EQ(captions, 117) << "the templates' fixed captions";
}

} // namespace
