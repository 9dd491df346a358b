// The printer renderer's geometry, without a printer.

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "preview/printlayout.h"

namespace lumaris {
namespace {

TEST(PrintLayout, OffsetsFollowTheResolution) {
    // T = 1440 / dpi; offX = 8 + (T - 8) * -12.5, offY = 38 + (T - 8) * -8.9.
    struct Row {
        int dpi;
        double t, offX, offY;
    };
    const Row rows[] = {
        {1200, 1.2, 93, 98.52},
        {600, 2.4, 78, 87.84},
        {300, 4.8, 48, 66.48},
        {180, 8, 8, 38}, // the resolution the figures were made for: no correction
    };
    for (const Row& r : rows) {
        const double t = 1440.0 / r.dpi;
        EXPECT_DOUBLE_EQ(t, r.t) << r.dpi;
        const PrintOffsets off = printOffsets(t, t);
        EXPECT_NEAR(off.x, r.offX, 1e-9) << r.dpi;
        EXPECT_NEAR(off.y, r.offY, 1e-9) << r.dpi;
    }
    // A printer of 1200 x 600 dpi: each axis from its own resolution.
    const PrintOffsets mixed = printOffsets(1.2, 2.4);
    EXPECT_NEAR(mixed.x, 93, 1e-9);
    EXPECT_NEAR(mixed.y, 87.84, 1e-9);
}

TEST(PrintLayout, TextItemRectanglesAt1200Dpi) {
    // Left 1440, Top 1440, Width 4320, Height 600 twips at 1.2 twips per pixel:
    // L = 1200 - 93 + 9.5/1.2 = 1114.92, W = 3600 - 20/1.2 = 3583.33,
    // T = 1200 - 98.52 + 10 = 1111.48, H = 500 - 22.5 = 477.5.
    const ItemBox box = itemBox(1440, 1440, 4320, 600, 1.2, 1.2);
    EXPECT_NEAR(box.left, 1107, 1e-9);
    EXPECT_NEAR(box.top, 1101.48, 1e-9);
    EXPECT_NEAR(box.width, 3600, 1e-9);
    EXPECT_NEAR(box.height, 500, 1e-9);

    const TextItemRects r = textItemRects(box, 1.2, 1.2);
    EXPECT_EQ(r.outer, (PixelEdges{1115, 1111, 4698, 1589}));
    EXPECT_EQ(r.drawing, (PixelEdges{1118, 1114, 4695, 1586}));
    // The frame: T0 - 2 = 1109.48 and T0 + H + 2 = 1590.98.
    EXPECT_EQ(r.frame, (PixelEdges{1115, 1109, 4698, 1591}));
}

TEST(PrintLayout, HalfPixelsGoToTheEvenNeighbour) {
    // At 180 dpi (T = 8, no offsets corrections) Left 58.5 twips puts the
    // inset left edge at 58.5/8 - 8 + 9.5/8 = 0.5 pixels, and Left 66.5 at 1.5.
    EXPECT_EQ(textItemRects(itemBox(58.5, 400, 800, 800, 8, 8), 8, 8).outer.left, 0);
    EXPECT_EQ(textItemRects(itemBox(66.5, 400, 800, 800, 8, 8), 8, 8).outer.left, 2);
    EXPECT_EQ(px(-2.5), -2);
    EXPECT_EQ(px(std::numeric_limits<double>::quiet_NaN()), 0);
    // Absurd positions stay within int instead of overflowing.
    EXPECT_EQ(px(1e300), 1000000000);
    EXPECT_EQ(px(-1e300), -1000000000);
}

TEST(PrintLayout, VerticalAlignment) {
    TextItemRects r;
    r.outer = {100, 1000, 900, 1100}; // 100 pixels tall
    r.drawing = {103, 1003, 897, 1097};
    struct Row {
        int measured, vAlign, top, bottom;
        const char* why;
    };
    const Row rows[] = {
        {40, 0, 1003, 1097, "top: the drawing rectangle as it is"},
        {40, 1, 1030, 1070, "middle: (100 - 40) / 2 = 30 down, as tall as the text"},
        {40, 2, 1060, 1100, "bottom: the text ends at the outer bottom"},
        {140, 1, 1020, 1160, "40 taller than the box: a distance, so 20 down"},
        {140, 2, 1040, 1180, "40 taller, bottom: 40 down"},
        {41, 1, 1030, 1070, "d = 29.5: 1029.5 and 1070.5 go to the even 1030 and 1070"},
        {40, 3, 1003, 1097, "3 is no alignment: top"},
        {40, -1, 1003, 1097, "-1 is no alignment: top"},
    };
    for (const Row& row : rows) {
        const PixelEdges e = alignVertically(r, row.measured, row.vAlign);
        EXPECT_EQ(e.top, row.top) << row.why;
        EXPECT_EQ(e.bottom, row.bottom) << row.why;
        EXPECT_EQ(e.left, 103) << row.why;
        EXPECT_EQ(e.right, 897) << row.why;
    }
}

TEST(PrintLayout, LogoRectangleKeepsItsRoundedSize) {
    // StretchBlt takes a width, not a right edge: px(100.5) + px(200.5).
    const PixelEdges e = logoRect({100.5, 10.5, 200.5, 50.5});
    EXPECT_EQ(e, (PixelEdges{100, 10, 300, 60}));
}

} // namespace
} // namespace lumaris
