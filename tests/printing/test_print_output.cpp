// What a printed copy holds, read back from the PDF that the cups-pdf queue
// writes: the texts, where the renderer's formulas put them, and which item
// lies on top.

#include <QFontMetrics>
#include <QPrinter>

#include "core/fieldvalues.h"
#include "platform/printer.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/printlayout.h"
#include "slip_builder.h"

namespace lumaris::testing {
namespace {

constexpr double kPointsPerPixel = 72.0 / 1200.0; // cups-pdf prints at 1200 dpi
constexpr double kHalfMm = 72.0 / 25.4 / 2;       // in points

class PrintOutput : public PrintingTest {
  protected:
    // Prints one copy of the slip on Slip2 and reads it back.
    PdfPage printAndRead(const QString& file, QString* pdf = nullptr) {
        EXPECT_TRUE(platform::Printer::current().selectByName(kOtherQueue));
        platform::Printer::current().setPaperSize(platform::PaperA4);
        platform::Printer::current().setOrientation(1);
        frmGeneralSlip& w = frmGeneralSlip::instance();
        frmGeneralSlip::mSlipFile = file;
        w.PrintSlipPage();
        EXPECT_TRUE(waitUntilIdle());
        const QStringList pdfs = pdfFiles(kOtherQueue);
        EXPECT_EQ(pdfs.size(), 1);
        EXPECT_TRUE(pdfFiles(kDefaultQueue).isEmpty());
        if (pdfs.isEmpty())
            return {};
        if (pdf)
            *pdf = pdfs.first();
        return readPdf(pdfs.first());
    }

    static const PdfWord* find(const PdfPage& page, const QString& text) {
        for (const PdfWord& w : page.words)
            if (w.text == text)
                return &w;
        return nullptr;
    }

    static TextItemRects rectsOf(const Item& item) {
        return textItemRects(itemBox(item.left, item.top, item.width, item.height, 1.2, 1.2), 1.2,
                             1.2);
    }
};

TEST_F(PrintOutput, TextsAndWhereTheyStand) {
    gFieldValues[61] = "CUSTOMER61";
    const Item left{1, 1, 1440, 1440, 4320, 600, {{"Text", "LEFTWORD"}}};
    const Item arabic{2, 1, 1440, 2880, 4320, 600, {{"Text", "مرحبا بكم"}, {"Alignment", "1"}}};
    const Item centre{8, 1, 1440, 11520, 4320, 600, {{"Text", "CENTRE"}, {"Alignment", "2"}}};
    const QString file = writeSlip(
        mDir, "texts.slp",
        slip({left,
              arabic,
              {3, 1, 1440, 4320, 4320, 600, {{"Text", "A&&B &Hidden"}}},
              {4, 1, 1440, 5760, 4320, 600, {{"Text", "  :Name  "}}},
              {5, 2, 1440, 7200, 4320, 600, {{"Field", "61"}, {"Text", "CAPTION61"}}},
              {6, 2, 1440, 8640, 4320, 600, {{"Field", "250"}, {"Text", "FALLBACK"}}},
              {7, 1, 1440, 10080, 4320, 600, {{"Text", "IGNORED"}, {"IgnorePrint", "True"}}},
              centre,
              {9, 1, 1440, 12960, 4320, 600, {{"Text", "BEYOND"}}}},
             9, 1, 8));
    const PdfPage page = printAndRead(file);
    ASSERT_FALSE(page.words.empty());

    // Left-aligned: starts at the drawing rectangle's left edge.
    const PdfWord* w = find(page, "LEFTWORD");
    ASSERT_TRUE(w);
    EXPECT_NEAR(w->xMin, rectsOf(left).drawing.left * kPointsPerPixel, kHalfMm);

    // Arabic, right-aligned: ends at the right edge, not on the left as Qt
    // would put it for a right-to-left text without an absolute alignment.
    // pdftotext gives the letters one by one in visual order.
    QString letters;
    double right = 0;
    const double arabicTop = rectsOf(arabic).drawing.top * kPointsPerPixel;
    for (const PdfWord& x : page.words)
        if (x.yMin > arabicTop - 2 && x.yMin < arabicTop + 14 && x.text.size() == 1) {
            letters.prepend(x.text);
            right = std::max(right, x.xMax);
        }
    EXPECT_EQ(letters, QStringLiteral("مرحبابكم"));
    EXPECT_NEAR(right, rectsOf(arabic).drawing.right * kPointsPerPixel, kHalfMm);

    // Centred: the word's middle on the drawing rectangle's middle.
    w = find(page, "CENTRE");
    ASSERT_TRUE(w);
    const TextItemRects c = rectsOf(centre);
    EXPECT_NEAR((w->xMin + w->xMax) / 2, (c.drawing.left + c.drawing.right) / 2.0 * kPointsPerPixel,
                kHalfMm);

    // "&&" prints one "&"; "&" alone is hidden (it marks the next letter).
    EXPECT_TRUE(find(page, "A&B"));
    EXPECT_TRUE(find(page, "Hidden"));
    // The leading colon moves to the end of the text; read right to left, the
    // end is the left-hand side.
    EXPECT_TRUE(find(page, ":Name"));
    // A data field prints its value; a field number out of range its Text.
    EXPECT_TRUE(find(page, "CUSTOMER61"));
    EXPECT_FALSE(find(page, "CAPTION61"));
    EXPECT_TRUE(find(page, "FALLBACK"));
    // Left off: excluded from printing, and above CTL_Count.
    EXPECT_FALSE(find(page, "IGNORED"));
    EXPECT_FALSE(find(page, "BEYOND"));
}

TEST_F(PrintOutput, VerticalAlignmentAndLineBreaks) {
    const Item top{1, 1, 1440, 1440, 2000, 1440, {{"Text", "TOPWORD"}}};
    const Item middle{2, 1, 3600, 1440, 2000, 1440, {{"Text", "MIDWORD"}, {"VAlignment", "1"}}};
    const Item bottom{3, 1, 5760, 1440, 2000, 1440, {{"Text", "BOTWORD"}, {"VAlignment", "2"}}};
    // Two lines in a box too low for them: the middle alignment moves them down.
    const Item tall{4, 1, 7920, 1440, 2000, 450, {{"Text", "ONE||TWO"}, {"VAlignment", "1"}}};
    const Item wrapped{
        5, 1, 1440, 4320, 1500, 1440, {{"Text", "alpha beta gamma"}, {"Wordwrap", "True"}}};
    const Item unwrapped{6, 1, 5760, 4320, 1500, 1440, {{"Text", "delta epsilon zeta"}}};
    const Item escaped{7, 1, 1440, 7200, 4320, 1440, {{"Text", "first\\nsecond"}}};
    const QString file = writeSlip(mDir, "align.slp",
                                   slip({top, middle, bottom, tall, wrapped, unwrapped, escaped}));
    const PdfPage page = printAndRead(file);

    // Expected tops from the formulas, with the height Qt measures on this printer.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(12);
    const QFontMetrics metrics(font, platform::Printer::current().device());
    const auto expectedTop = [&](const Item& item, const QString& text, int vAlign) {
        const TextItemRects r = rectsOf(item);
        const int measured =
            metrics
                .boundingRect(QRect(r.outer.left, r.outer.top, r.outer.width(), r.outer.height()),
                              Qt::TextWordWrap | Qt::TextShowMnemonic, text)
                .height();
        return alignVertically(r, measured, vAlign).top * kPointsPerPixel;
    };
    const PdfWord* t = find(page, "TOPWORD");
    const PdfWord* m = find(page, "MIDWORD");
    const PdfWord* b = find(page, "BOTWORD");
    const PdfWord* one = find(page, "ONE");
    ASSERT_TRUE(t && m && b && one);
    // pdftotext puts a word's top at the font's ascent, a little below where
    // Qt starts the line; that distance is the same for every 12 pt word.
    const double lead = t->yMin - expectedTop(top, "TOPWORD", 0);
    EXPECT_GE(lead, 0);
    EXPECT_LT(lead, 6);
    EXPECT_NEAR(m->yMin - lead, expectedTop(middle, "MIDWORD", 1), kHalfMm);
    EXPECT_NEAR(b->yMin - lead, expectedTop(bottom, "BOTWORD", 2), kHalfMm);
    const double tallTop = expectedTop(tall, "ONE\nTWO", 1);
    EXPECT_GT(tallTop, rectsOf(tall).drawing.top * kPointsPerPixel);
    EXPECT_NEAR(one->yMin - lead, tallTop, kHalfMm);

    // Word wrap breaks within the width; without it the words stay on one line...
    const PdfWord* alpha = find(page, "alpha");
    const PdfWord* gamma = find(page, "gamma");
    const PdfWord* delta = find(page, "delta");
    const PdfWord* epsilon = find(page, "epsilon");
    ASSERT_TRUE(alpha && gamma && delta && epsilon);
    EXPECT_GT(gamma->yMin, alpha->yMin + 5);
    EXPECT_NEAR(epsilon->yMin, delta->yMin, 0.01);
    // ...and what passes the right edge is cut off there.
    EXPECT_FALSE(find(page, "zeta"));
    // "||" and "\n" are line breaks with or without word wrap.
    const PdfWord* two = find(page, "TWO");
    const PdfWord* first = find(page, "first");
    const PdfWord* second = find(page, "second");
    ASSERT_TRUE(two && first && second);
    EXPECT_GT(two->yMin, one->yMin + 5);
    EXPECT_GT(second->yMin, first->yMin + 5);
}

TEST_F(PrintOutput, FrontItemsCoverBackItems) {
    // Colours are 24-bit RGB with red in the low byte.
    const QString red = "255", blue = "16711680", green = "65280";
    const Item front{1, 1, 2880, 2160, 2880, 1440, {{"BackStyle", "False"}, {"BackColor", red}}};
    // Transparent, over the blue box: its green back colour is never filled.
    const Item clear{
        2, 1, 1440, 1440, 1000, 1000, {{"BackStyle", "True"}, {"BackColor", green}, {"Text", "x"}}};
    const Item back{3, 1, 1440, 1440, 2880, 1440, {{"BackStyle", "False"}, {"BackColor", blue}}};
    const Item logo{4, 3, 1440, 5760, 1440, 720, {}};
    // Framed, with no text: the fill and the frame all the same.
    const Item framed{5,
                      1,
                      5760,
                      5760,
                      1440,
                      720,
                      {{"BackStyle", "False"}, {"BackColor", "65535"}, {"Border", "True"}}};
    const QString file = writeSlip(mDir, "stack.slp", slip({front, clear, back, logo, framed}));

    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(QColor(0, 160, 0));
    frmGeneralSlip::instance().picLogo->setPicture(picture);
    QString pdf;
    printAndRead(file, &pdf);
    ASSERT_FALSE(pdf.isEmpty());
    const int dpi = 100;
    const QImage image = renderPdf(pdf, dpi);
    ASSERT_FALSE(image.isNull());
    const auto colourAt = [&](double xPixels, double yPixels) {
        return image.pixelColor(int(xPixels * dpi / 1200), int(yPixels * dpi / 1200));
    };
    const auto middleOf = [](const PixelEdges& e) {
        return QPointF((e.left + e.right) / 2.0, (e.top + e.bottom) / 2.0);
    };
    const TextItemRects f = rectsOf(front), k = rectsOf(back);
    const QPointF overlap((f.outer.left + k.outer.right) / 2.0,
                          (f.outer.top + k.outer.bottom) / 2.0);
    EXPECT_EQ(colourAt(overlap.x(), overlap.y()), QColor(Qt::red)) << "front over back";
    const QPointF backOnly = middleOf(rectsOf(clear).outer);
    EXPECT_EQ(colourAt(backOnly.x(), backOnly.y()), QColor(Qt::blue)) << "transparent box";
    const QPointF logoMiddle = middleOf(logoRect(itemBox(1440, 5760, 1440, 720, 1.2, 1.2)));
    EXPECT_EQ(colourAt(logoMiddle.x(), logoMiddle.y()), QColor(0, 160, 0)) << "logo";

    // The fill covers the outer rectangle: its left edge within half a millimetre.
    const int row = int(overlap.y() * dpi / 1200);
    int firstRed = -1;
    for (int x = 0; x < image.width() && firstRed < 0; ++x)
        if (image.pixelColor(x, row) == QColor(Qt::red))
            firstRed = x;
    EXPECT_NEAR(firstRed * 25.4 / dpi, f.outer.left * 25.4 / 1200, 0.5);

    const TextItemRects fr = rectsOf(framed);
    const QPointF fill = middleOf(fr.outer);
    EXPECT_EQ(colourAt(fill.x(), fill.y()), QColor(Qt::yellow)) << "fill of a framed box";
    // The frame's top line lies 2 pixels above the fill, one printer pixel
    // thick: look at it at the printer's own resolution.
    const QImage edge = renderPdf(pdf, 1200, QRect(fr.frame.left + 20, fr.frame.top - 4, 40, 8));
    ASSERT_EQ(edge.height(), 8);
    const auto dark = [&](int y) { return edge.pixelColor(20, y).lightness() < 128; };
    EXPECT_FALSE(dark(2)) << "above the frame";
    EXPECT_TRUE(dark(4)) << "the frame's top line";
    EXPECT_EQ(edge.pixelColor(20, 7), QColor(Qt::yellow)) << "the fill below it";
}

TEST_F(PrintOutput, SlipWithoutControlsPrintsOneBlankPage) {
    const QString file = writeSlip(mDir, "blank.slp", slip({}, 9, 1, 0));
    const PdfPage page = printAndRead(file);
    EXPECT_EQ(page.size, QSizeF(595, 842));
    EXPECT_TRUE(page.words.empty());
}

TEST_F(PrintOutput, HugeControlCountPrintsTheControlsThereAre) {
    const QString file = writeSlip(mDir, "huge.slp",
                                   slip({{1, 1, 1440, 1440, 4320, 600, {{"Text", "FIRST"}}},
                                         {40, 1, 1440, 2880, 4320, 600, {{"Text", "FORTIETH"}}}},
                                        9, 1, 2147483647));
    const PdfPage page = printAndRead(file);
    EXPECT_TRUE(find(page, "FIRST"));
    EXPECT_TRUE(find(page, "FORTIETH"));
}

} // namespace
} // namespace lumaris::testing
