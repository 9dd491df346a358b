#pragma once
// Where the printer renderer puts an item, in device pixels of the printer.
// Pure arithmetic, so that it can be checked without a printer.

#include <string>
#include <vector>

namespace lumaris {

// Pixels taken off every printed position. They depend on the resolution:
// twips per pixel T gives 8 + (T - 8) * -12.5 across and 38 + (T - 8) * -8.9
// down, so 93 and 98.52 at 1200 dpi. Each axis uses its own resolution.
struct PrintOffsets {
    double x = 0;
    double y = 0;
};
PrintOffsets printOffsets(double twipsPerPixelX, double twipsPerPixelY);

// A position in pixels rounded to whole pixels, halves to the even neighbour,
// kept within int.
int px(double pixels);

// Whole-pixel edges; right and bottom are exclusive, as the drawing calls take them.
struct PixelEdges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelEdges&) const = default;
};

// An item's box in pixels, not yet rounded: the slip's twips scaled to the
// printer, less the offsets.
struct ItemBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};
ItemBox itemBox(double leftTwips, double topTwips, double widthTwips, double heightTwips,
                double twipsPerPixelX, double twipsPerPixelY);

// The rectangles of a text item. The box is first inset by 9.5 twips at the
// left, 12 at the top, 10.5 at the right and 15 at the bottom.
struct TextItemRects {
    PixelEdges outer;   // filled, and measured in
    PixelEdges drawing; // the text goes here: outer less 3 pixels on every side
    PixelEdges frame;   // the border: 2 pixels taller than outer at both ends
};
TextItemRects textItemRects(const ItemBox& box, double twipsPerPixelX, double twipsPerPixelY);

// The drawing rectangle after vertical alignment (0 top, 1 middle, 2 bottom;
// anything else is top) of a text measuredHeight pixels tall. The shift is
// the distance between the measured and the outer bottom, so a text taller
// than its box moves down as well.
PixelEdges alignVertically(const TextItemRects& rects, int measuredHeight, int vAlignment);

// A logo's rectangle: px(left), px(top), px(width) by px(height).
PixelEdges logoRect(const ItemBox& box);

} // namespace lumaris
