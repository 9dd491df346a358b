// Where the printer renderer puts an item, and a printed copy read back from the queue's PDF.

#include <QPainter>
#include <array>
#include <tuple>

#include "core/fieldvalues.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "preview/printlayout.h"
#include "preview/slipprinter.h"
#include "printing_support.h"

namespace lumaris::testing {
namespace {

constexpr double kHalfMm = 72.0 / 25.4 / 2; // in points
constexpr double kLead = 12 * (0.905 - 0.728);

// T = 1440 / dpi; offX = 8 + (T - 8) * -12.5, offY = 38 + (T - 8) * -8.9, each
// axis from its own resolution; insets 9.5 / 12 / 10.5 / 15 twips; halves even.
TEST(PrintLayout, OffsetsRectanglesAndAlignment) {
    using Offsets = std::array<double, 4>; // twips per pixel across and down, offsets
    for (const auto& [tx, ty, offX, offY] :
         {Offsets{1.2, 1.2, 93, 98.52}, Offsets{2.4, 2.4, 78, 87.84}, Offsets{4.8, 4.8, 48, 66.48},
          Offsets{1.2, 2.4, 93, 87.84}})
        EXPECT_TRUE(std::abs(printOffsets(tx, ty).x - offX) < 1e-9 &&
                    std::abs(printOffsets(tx, ty).y - offY) < 1e-9)
            << tx << " " << ty;
    // 1440 twips: 1200 - 93 + 7.92 = 1114.92 and 1200 - 98.52 + 10 = 1111.48;
    // 4320 wide ends at 4698.25, 600 high at 1588.98; drawn 3 in, framed 2 taller.
    const TextItemRects r = textItemRects(itemBox(1440, 1440, 4320, 600, 1.2, 1.2), 1.2, 1.2);
    EXPECT_EQ(r.outer, (PixelEdges{1115, 1111, 4698, 1589}));
    EXPECT_EQ(r.drawing, (PixelEdges{1118, 1114, 4695, 1586}));
    EXPECT_EQ(r.frame, (PixelEdges{1115, 1109, 4698, 1591}));
    // At T = 8 Left 58.5 is 0.5 pixels and 66.5 is 1.5; a logo takes a width.
    EXPECT_EQ(textItemRects(itemBox(58.5, 400, 800, 800, 8, 8), 8, 8).outer.left, 0);
    EXPECT_EQ(textItemRects(itemBox(66.5, 400, 800, 800, 8, 8), 8, 8).outer.left, 2);
    EXPECT_EQ(std::tuple(px(-2.5), px(std::nan("")), px(1e300)), std::tuple(-2, 0, 1000000000));
    EXPECT_EQ(logoRect({100.5, 10.5, 200.5, 50.5}), (PixelEdges{100, 10, 300, 60}));
    // A text 40 or 140 pixels tall in a box of 100: d is a distance, so a
    // taller text moves down too; 29.5 goes to the even neighbour.
    const TextItemRects box{{100, 1000, 900, 1100}, {103, 1003, 897, 1097}, {}};
    using Row = std::array<int, 4>; // measured, alignment, top, bottom
    for (const auto& [measured, vAlign, top, bottom] :
         {Row{40, 0, 1003, 1097}, Row{40, 1, 1030, 1070}, Row{40, 2, 1060, 1100},
          Row{140, 1, 1020, 1160}, Row{140, 2, 1040, 1180}, Row{41, 1, 1030, 1070}})
        EXPECT_EQ(alignVertically(box, measured, vAlign), (PixelEdges{103, top, 897, bottom}))
            << measured << " " << vAlign;
}

using PrintOutput = PrintingTest;

// Worked by hand for the 1200 dpi queue: T = 1.2 twips per pixel, offsets 93 and 98.52 pixels,
// insets 9.5 and 12 twips (7.92 and 10 pixels), the drawing rectangle 3 pixels in, 0.06 pt per
// pixel. An item at Left 1440 starts at 1200 - 93 + 7.92 = 1114.92 -> 1115, drawn from 1118 (67.08
// pt); Top 3600 at 3000 - 98.52 + 10 = 2911.48 -> 2911, drawn from 2914 (174.84 pt); Height 1440
// ends at 2911.48 + 1200 - 22.5 = 4088.98 -> 4089. A 12 pt line is about 223 pixels: middle is
// (1178 - 223) / 2 = 477.5 down, 3388.5 -> 3388 (203.28 pt); bottom 955 down, 3866 (231.96 pt).
// pdftotext puts a word's top at the baseline less the face's typographic ascent (0.728 em for the
// face of Arial's metrics, whose line starts 0.905 em above the baseline): 2.12 pt lower at 12 pt.
TEST_F(PrintOutput, TextsPositionsAndColours) {
    gFieldValues[61] = "CUSTOMER61", gFieldValues[62] = "SMITH&SONS", gFieldValues[63] = "X&&Y";
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
    const Item centre{9,    1440, 6480,
                      4320, 600,  {{"Text", "CENTRE"}, {"Alignment", "2"}, {"ForeColor", "255"}}};
    const Item logo{10, 8640, 1440, 1440, 1440, {{"Type", "3"}}};
    const Item frame{11, 8640, 4320, 1440, 1440, {{"Border", "True"}}};
    const Item bold{12, 1440, 7200, 4320, 600, {{"Text", "BOLDWORD"}, {"FontBold", "True"}}};
    const Item under{13, 1440, 7920, 4320, 600, {{"Text", "UNDERWORD"}, {"FontUnderline", "True"}}};
    // 15 is drawn before 14, whose size 0 the printer refuses: it keeps 24 pt.
    const Item carried{14, 1440, 8640, 4320, 900, {{"Text", "CARRIED"}, {"FontSize", "0"}}};
    const Item big{15, 1440, 9600, 4320, 900, {{"Text", "BIGWORD"}, {"FontSize", "24"}}};
    const Item italic{16, 1440, 10800, 4320, 600, {{"Text", "SLANTED"}, {"FontItalic", "True"}}};
    std::vector<Item> items = {front,  clear, back,  top,  middle, bottom,  tall, arabic,
                               centre, logo,  frame, bold, under,  carried, big,  italic};
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
        {{{"Type", "2"}, {"Field", "62"}}, "SMITH&SONS", true}, // data: "&" as it stands
        {{{"Type", "2"}, {"Field", "63"}}, "X&&Y", true},
        {{{"Text", "BEYOND"}}, "BEYOND", false}, // above CTL_Count
    };
    for (int k = 0; k < int(std::size(rows)); ++k)
        items.push_back({20 + k, 6480, 5760 + 1000.0 * k, 4320, 960, std::get<0>(rows[k])});
    frmGeneralSlip::mSlipFile = writeSlip(mDir, items, items.back().id - 1);
    QImage logoPicture(8, 8, QImage::Format_RGB32);
    logoPicture.fill(QColor(0, 128, 0));
    frmGeneralSlip::instance().picLogo->setPicture(logoPicture);
    platform::Printer& p = platform::Printer::current();
    ASSERT_TRUE(p.selectByName(kOtherQueue) && p.setPaperSize(9) && p.setOrientation(1));
    frmGeneralSlip::instance().PrintSlipPage();
    const QStringList pdfs = printed(kOtherQueue);
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_TRUE(printed(kDefaultQueue).isEmpty());
    const PdfPage page = readPdf(pdfs.first());
    for (const auto& [keys, word, prints] : rows)
        EXPECT_EQ(bool(page.find(word)), prints) << word;

    // Where the words stand, in points: the edge that the alignment holds, the top.
    using Place = std::tuple<const char*, double, double, const char*>;
    for (const auto& [word, x, y, why] : {
             Place{"TOPWORD", 67.08, 174.84, "left and top: the drawing rectangle's corner"},
             Place{"MIDWORD", 175.08, 203.28, "Left 3600: 2914.92 -> 2915, drawn from 2918"},
             Place{"BOTWORD", 283.08, 231.96, "Left 5760: 4714.92 -> 4715, drawn from 4718"},
             // Box 375 - 22.5 pixels: 2911 to 3264; two lines 446 tall are
             // 93 / 2 = 46.5 lower, 2957.5 -> 2958.
             Place{"ONE", 391.08, 177.48, "Left 7920: 6514.92 -> 6515, drawn from 6518"},
         }) {
        const PdfWord* w = page.find(QString::fromLatin1(word));
        ASSERT_TRUE(w) << word;
        EXPECT_NEAR(w->xMin, x, kHalfMm) << word << ": " << why;
        EXPECT_NEAR(w->yMin, y + kLead, kHalfMm) << word << ": " << why;
    }
    EXPECT_GT(page.find("TWO")->yMin, page.find("ONE")->yMin + 10) << "|| breaks the line";
    // Right alignment of Arabic (pdftotext gives the letters one by one, in
    // visual order): Width 4320 ends at 1114.92 + 3600 - 16.67 = 4698.25 ->
    // 4698, drawn to 4695 (281.7 pt), from Top 5760: 4714 (282.84 pt).
    QString letters;
    double right = 0;
    for (const PdfWord& x : page.words)
        if (std::abs(x.yMin - 282.84 - kLead) < 6 && x.text.size() == 1) {
            letters.prepend(x.text);
            right = std::max(right, x.xMax);
        }
    EXPECT_EQ(letters, QStringLiteral("مرحبابكم"));
    EXPECT_NEAR(right, 281.7, kHalfMm);
    // Centred between 1118 and 4695: 2906.5 pixels, 174.39 pt.
    const PdfWord* c = page.find("CENTRE");
    ASSERT_TRUE(c);
    EXPECT_NEAR((c->xMin + c->xMax) / 2, 174.39, kHalfMm);
    // Item 15 sets the size 0 cannot: both 24 pt words are about twice as tall as a 12 pt one.
    const PdfWord *big24 = page.find("BIGWORD"), *kept = page.find("CARRIED");
    ASSERT_TRUE(big24 && kept);
    const double height12 = page.find("TOPWORD")->yMax - page.find("TOPWORD")->yMin;
    EXPECT_NEAR(kept->yMax - kept->yMin, big24->yMax - big24->yMin, 0.5);
    EXPECT_GT(kept->yMax - kept->yMin, 1.8 * height12);
    const QByteArray fonts = run("pdffonts", {pdfs.first()}); // Arial's stand-in has an italic
    EXPECT_TRUE(fonts.contains("Bold")) << "BOLDWORD in a bold face";
    EXPECT_TRUE(fonts.contains("Italic") || fonts.contains("Oblique")) << "SLANTED, italic";

    // At 100 dpi a printer pixel (1200 dpi) is 1/12 of a pixel.
    const QImage image = renderPdf(pdfs.first(), 100);
    const auto at = [&](double x, double y) { return image.pixelColor(int(x / 12), int(y / 12)); };
    // Item 1 (2315..4698 x 1711..2889) over item 3 (1115..3498 x 1111..2289);
    // item 2 (1115..1932 x 1111..1922) is transparent over item 3.
    EXPECT_EQ(at(2906, 2000), QColor(Qt::red)) << "front over back";
    EXPECT_EQ(at(1523, 1516), QColor(Qt::blue)) << "a transparent item";
    const auto isLogo = [](QColor c) { // the PDF's image encoding shifts it a little
        return c.red() < 20 && c.blue() < 20 && std::abs(c.green() - 128) < 20;
    };
    // The logo, with no insets: 7200 - 93 = 7107 to 8307 across, 1101 to 2301
    // down; the picture is stretched over all of it.
    using Probe = std::tuple<int, int, bool>; // printer pixels across, down; inside the logo
    for (const auto& [x, y, inside] :
         {Probe{7707, 1701, true}, Probe{7140, 1130, true}, Probe{8280, 2270, true},
          Probe{7050, 1701, false}, Probe{7707, 2360, false}})
        EXPECT_EQ(isLogo(at(x, y)), inside) << "logo at " << x << ", " << y;
    // The frame: from px(7114.92) = 7115 to px(8298.25) = 8298 across, two
    // pixels above and below the box, 3509 to 4691 down; empty inside.
    const QImage fine = renderPdf(pdfs.first(), 300); // 4 printer pixels each
    const auto darkNear = [&](int x, int y) {
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                if (fine.pixelColor(x / 4 + dx, y / 4 + dy).lightness() < 160)
                    return true;
        return false;
    };
    EXPECT_TRUE(darkNear(7115, 4100) && darkNear(8298, 4100) && darkNear(7700, 3509) &&
                darkNear(7700, 4691))
        << "frame edges";
    EXPECT_FALSE(darkNear(7200, 4100) || darkNear(7700, 3560)) << "frame inside";
    // Underline: a row below the word dark nearly all across, which a plain capital word lacks.
    const auto underlined = [&](const PdfWord* w) {
        const double k = 300 / 72.0;
        for (int y = int(w->yMin * k); y <= int((w->yMax + 3) * k); ++y) {
            int dark = 0, all = 0;
            for (int x = int(w->xMin * k); x <= int(w->xMax * k); ++x, ++all)
                dark += fine.pixelColor(x, y).lightness() < 128;
            if (dark > 0.95 * all)
                return true;
        }
        return false;
    };
    ASSERT_TRUE(page.find("UNDERWORD"));
    EXPECT_TRUE(underlined(page.find("UNDERWORD")));
    EXPECT_FALSE(underlined(page.find("TOPWORD")));
    // Text in its fore colour: CENTRE red (255, red in the low byte), TOPWORD black.
    const auto redInk = [&](const PdfWord* w) {
        const double k = 300 / 72.0;
        int red = 0;
        for (int y = int(w->yMin * k); y <= int(w->yMax * k); ++y)
            for (int x = int(w->xMin * k); x <= int(w->xMax * k); ++x) {
                const QColor p = fine.pixelColor(x, y);
                red += p.red() > 180 && p.green() < 100 && p.blue() < 100;
            }
        return red;
    };
    EXPECT_GT(redInk(c), 50);
    EXPECT_EQ(redInk(page.find("TOPWORD")), 0);
    QImage corner(4, 4, QImage::Format_RGB32);
    QPainter painter(&corner);
    painter.translate(-2315, -1711); // item 1's outer corner, 3 pixels out of its drawing one
    QFont font;
    drawSlipPage(frmGeneralSlip::instance(), painter, 1.2, 1.2, font);
    painter.end();
    EXPECT_EQ(corner.pixelColor(1, 1), QColor(Qt::red)) << "the back colour to the outer edge";
}

} // namespace
} // namespace lumaris::testing
