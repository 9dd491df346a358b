// Where the printer renderer puts an item, by its formulas, and what a
// printed copy holds, read back from the PDF the queue writes: the texts,
// where they stand against those formulas, and which item lies on top.

#include <QFontMetrics>
#include <QPrinter>
#include <array>
#include <limits>
#include <tuple>

#include "core/fieldvalues.h"
#include "platform/printer.h"
#include "preview/frmGeneralSlip.h"
#include "preview/previewitems.h"
#include "preview/printlayout.h"
#include "printing_support.h"

namespace lumaris::testing {
namespace {

constexpr double kPt = 72.0 / 1200.0;       // points per pixel: the queue prints at 1200 dpi
constexpr double kHalfMm = 72.0 / 25.4 / 2; // in points

TEST(PrintLayout, OffsetsFollowTheResolution) {
    // T = 1440 / dpi; offX = 8 + (T - 8) * -12.5, offY = 38 + (T - 8) * -8.9.
    // 1200, 600 and 300 dpi, then 1200 x 600: each axis from its own resolution.
    using Row = std::array<double, 4>; // twips per pixel across and down, offsets
    for (const auto& [tx, ty, offX, offY] : {Row{1.2, 1.2, 93, 98.52}, Row{2.4, 2.4, 78, 87.84},
                                             Row{4.8, 4.8, 48, 66.48}, Row{1.2, 2.4, 93, 87.84}}) {
        EXPECT_NEAR(printOffsets(tx, ty).x, offX, 1e-9) << tx;
        EXPECT_NEAR(printOffsets(tx, ty).y, offY, 1e-9) << ty;
    }
}

TEST(PrintLayout, ItemRectanglesAndRounding) {
    // 1440 twips at 1.2 twips per pixel is 1200 pixels, less the offsets 93 /
    // 98.52; inset by 9.5 / 12 / 10.5 / 15 twips: 1114.92, 1111.48, 4698.25,
    // 1588.98. The drawing rectangle is 3 pixels inside, the frame 2 taller.
    const TextItemRects r = textItemRects(itemBox(1440, 1440, 4320, 600, 1.2, 1.2), 1.2, 1.2);
    EXPECT_EQ(r.outer, (PixelEdges{1115, 1111, 4698, 1589}));
    EXPECT_EQ(r.drawing, (PixelEdges{1118, 1114, 4695, 1586}));
    EXPECT_EQ(r.frame, (PixelEdges{1115, 1109, 4698, 1591}));
    // Halves go to the even neighbour: at T = 8 (no offset correction) Left
    // 58.5 twips gives 0.5 pixels and 66.5 gives 1.5.
    EXPECT_EQ(textItemRects(itemBox(58.5, 400, 800, 800, 8, 8), 8, 8).outer.left, 0);
    EXPECT_EQ(textItemRects(itemBox(66.5, 400, 800, 800, 8, 8), 8, 8).outer.left, 2);
    EXPECT_EQ(px(-2.5), -2);
    EXPECT_EQ(px(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(px(1e300), 1000000000) << "kept within int";
    // A logo takes a width, not a right edge: px(100.5) + px(200.5).
    EXPECT_EQ(logoRect({100.5, 10.5, 200.5, 50.5}), (PixelEdges{100, 10, 300, 60}));
}

TEST(PrintLayout, VerticalAlignment) {
    const TextItemRects r{{100, 1000, 900, 1100}, {103, 1003, 897, 1097}, {}}; // 100 pixels tall
    using Row = std::tuple<int, int, int, int, const char*>; // measured, alignment, top, bottom
    for (const auto& [measured, vAlign, top, bottom, why] : {
             Row{40, 0, 1003, 1097, "top: the drawing rectangle as it is"},
             Row{40, 1, 1030, 1070, "middle: (100 - 40) / 2 = 30 down, as tall as the text"},
             Row{40, 2, 1060, 1100, "bottom: the text ends at the outer bottom"},
             Row{140, 1, 1020, 1160, "40 taller than the box: a distance, so 20 down"},
             Row{140, 2, 1040, 1180, "40 taller, bottom: 40 down"},
             Row{41, 1, 1030, 1070, "29.5 down: 1029.5 and 1070.5 go to the even neighbour"},
         })
        EXPECT_EQ(alignVertically(r, measured, vAlign), (PixelEdges{103, top, 897, bottom})) << why;
}

TextItemRects rectsOf(const Item& i) {
    return textItemRects(itemBox(i.left, i.top, i.width, i.height, 1.2, 1.2), 1.2, 1.2);
}

using PrintOutput = PrintingTest;

TEST_F(PrintOutput, TextsPositionsAndColours) {
    gFieldValues[61] = "CUSTOMER61";
    // Colours are 24-bit, red in the low byte. Item 1 lies over 3; 2 is transparent.
    const Item front{1, 2880, 2160, 2880, 1440, {{"BackStyle", "False"}, {"BackColor", "255"}}};
    const Item clear{2, 1440, 1440, 1000, 1000, {{"BackColor", "65280"}, {"Text", "x"}}};
    const Item back{3, 1440, 1440, 2880, 1440, {{"BackStyle", "False"}, {"BackColor", "16711680"}}};
    const Item top{4, 1440, 3600, 2000, 1440, {{"Text", "TOPWORD"}}};
    const Item middle{5, 3600, 3600, 2000, 1440, {{"Text", "MIDWORD"}, {"VAlignment", "1"}}};
    const Item bottom{6, 5760, 3600, 2000, 1440, {{"Text", "BOTWORD"}, {"VAlignment", "2"}}};
    // Two lines in a box too low for them: centred, they still move down.
    const Item tall{7, 7920, 3600, 2000, 450, {{"Text", "ONE||TWO"}, {"VAlignment", "1"}}};
    const Item arabic{8, 1440, 5760, 4320, 600, {{"Text", "مرحبا بكم"}, {"Alignment", "1"}}};
    const Item centre{9, 1440, 6480, 4320, 600, {{"Text", "CENTRE"}, {"Alignment", "2"}}};
    std::vector<Item> items = {front, clear, back, top, middle, bottom, tall, arabic, centre};
    using Row = std::tuple<Keys, const char*, bool>; // keys, a word, whether it prints
    const Row rows[] = {
        {{{"Text", "A&&B"}}, "A&B", true},        // "&&" is one "&"...
        {{{"Text", "&Hidden"}}, "Hidden", true},  // ...and "&" alone marks a key
        {{{"Text", "  :Name  "}}, ":Name", true}, // the leading colon goes to the end, the left
        {{{"Type", "2"}, {"Field", "61"}, {"Text", "CAPTION"}}, "CUSTOMER61", true},
        {{{"Type", "2"}, {"Field", "250"}, {"Text", "FALLBACK"}}, "FALLBACK", true}, // no field
        {{{"Text", "IGNORED"}, {"IgnorePrint", "True"}}, "IGNORED", false},
        {{{"Text", "delta epsilon zeta"}, {"Width", "1500"}}, "zeta", false}, // cut, not wrapped
        {{{"Text", "alpha beta gamma"}, {"Width", "1500"}, {"Wordwrap", "True"}}, "gamma", true},
        {{{"Text", "BEYOND"}}, "BEYOND", false}, // above CTL_Count
    };
    for (int k = 0; k < int(std::size(rows)); ++k)
        items.push_back({20 + k, 6480, 5760 + 1000.0 * k, 4320, 960, std::get<0>(rows[k])});
    frmGeneralSlip::mSlipFile = writeSlip(mDir, items, items.back().id - 1);
    platform::Printer& p = platform::Printer::current();
    ASSERT_TRUE(p.selectByName(kOtherQueue) && p.setPaperSize(9) && p.setOrientation(1));
    frmGeneralSlip::instance().PrintSlipPage();
    const QStringList pdfs = printed(kOtherQueue);
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_TRUE(printed(kDefaultQueue).isEmpty());
    const PdfPage page = readPdf(pdfs.first());
    for (const auto& [keys, word, prints] : rows)
        EXPECT_EQ(bool(page.find(word)), prints) << word;

    // Right alignment of Arabic (pdftotext gives the letters one by one, in
    // visual order) and centring against the drawing rectangle.
    QString letters;
    double right = 0;
    const double arabicTop = rectsOf(arabic).drawing.top * kPt;
    for (const PdfWord& x : page.words)
        if (std::abs(x.yMin - arabicTop) < 14 && x.text.size() == 1) {
            letters.prepend(x.text);
            right = std::max(right, x.xMax);
        }
    EXPECT_EQ(letters, QStringLiteral("مرحبابكم"));
    EXPECT_NEAR(right, rectsOf(arabic).drawing.right * kPt, kHalfMm);
    const PdfWord *c = page.find("CENTRE"), *t = page.find("TOPWORD"), *m = page.find("MIDWORD"),
                  *b = page.find("BOTWORD"), *one = page.find("ONE"), *two = page.find("TWO");
    ASSERT_TRUE(c && t && m && b && one && two);
    const PixelEdges cd = rectsOf(centre).drawing;
    EXPECT_NEAR(c->xMin + c->xMax, (cd.left + cd.right) * kPt, 2 * kHalfMm);

    // Vertical alignment: the top from the formulas with the height Qt measures
    // on this printer. pdftotext puts a word's top at the font's ascent, the
    // same small lead below Qt's line top for every 12 pt word.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(12);
    const QFontMetrics metrics(font, p.device());
    const auto expectedTop = [&](const Item& item, int vAlign) {
        const PixelEdges o = rectsOf(item).outer;
        const QString text = QString(item.keys.front().second).replace("||", "\n");
        const int measured = metrics
                                 .boundingRect(QRect(o.left, o.top, o.width(), o.height()),
                                               Qt::TextWordWrap | Qt::TextShowMnemonic, text)
                                 .height();
        return alignVertically(rectsOf(item), measured, vAlign).top * kPt;
    };
    const double lead = t->yMin - expectedTop(top, 0);
    EXPECT_TRUE(lead >= 0 && lead < 6) << lead;
    EXPECT_NEAR(m->yMin - lead, expectedTop(middle, 1), kHalfMm);
    EXPECT_NEAR(b->yMin - lead, expectedTop(bottom, 2), kHalfMm);
    EXPECT_GT(one->yMin - lead, rectsOf(tall).drawing.top * kPt + 1);
    EXPECT_NEAR(one->yMin - lead, expectedTop(tall, 1), kHalfMm);
    EXPECT_GT(two->yMin, one->yMin + 5) << "|| breaks the line";

    // At 100 dpi a printer pixel (1200 dpi) is 1/12 of a pixel.
    const QImage image = renderPdf(pdfs.first(), 100);
    const auto colourIn = [&](const PixelEdges& e) {
        return image.pixelColor((e.left + e.right) / 24, (e.top + e.bottom) / 24);
    };
    const PixelEdges f = rectsOf(front).outer, k = rectsOf(back).outer;
    EXPECT_EQ(colourIn({f.left, f.top, k.right, k.bottom}), QColor(Qt::red)) << "front over back";
    EXPECT_EQ(colourIn(rectsOf(clear).outer), QColor(Qt::blue)) << "a transparent item";
}

// A data field's value is data: every "&" shows and prints as it stands. A
// fixed caption's "&" marks a key and "&&" is one "&", on screen and on paper.
TEST_F(PrintOutput, AmpersandsOfDataAndCaptions) {
    gFieldValues[62] = "SMITH&SONS";
    gFieldValues[63] = "X&&Y";
    using Row = std::pair<Keys, QString>; // keys, the text shown and printed
    const Row rows[] = {
        {{{"Type", "2"}, {"Field", "62"}}, "SMITH&SONS"},
        {{{"Type", "2"}, {"Field", "63"}}, "X&&Y"},
        {{{"Text", "P&Q"}}, "PQ"},
        {{{"Text", "R&&S"}}, "R&S"},
    };
    std::vector<Item> items;
    for (int k = 0; k < int(std::size(rows)); ++k) {
        Keys keys = rows[k].first;
        keys.push_back({"BackStyle", "False"}); // no leading blank on screen
        items.push_back({k + 1, 1440, 1440 + 1000.0 * k, 4320, 960, keys});
    }
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.ShowSlip(writeSlip(mDir, items), false, true);
    for (int k = 0; k < int(std::size(rows)); ++k) {
        const PreviewLabel* label = w.labMaster.at(k + 1);
        const double shown =
            QFontMetricsF(label->drawFont(), label).horizontalAdvance(rows[k].second);
        EXPECT_EQ(label->captionExtent().width(), std::ceil(shown) * 15)
            << rows[k].second.toStdString();
    }
    platform::Printer& p = platform::Printer::current();
    ASSERT_TRUE(p.selectByName(kDefaultQueue) && p.setPaperSize(9));
    w.PrintSlipPage();
    const QStringList pdfs = printed(kDefaultQueue);
    ASSERT_EQ(pdfs.size(), 1);
    const PdfPage page = readPdf(pdfs.first());
    for (const auto& [keys, text] : rows)
        EXPECT_TRUE(page.find(text)) << text.toStdString();
}

} // namespace
} // namespace lumaris::testing
