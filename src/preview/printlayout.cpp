#include "preview/printlayout.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <set>

#include "core/values.h"

namespace lumaris {

namespace {
// Far outside any page, and the difference of two such edges still fits an int.
constexpr double kPixelLimit = 1.0e9;
} // namespace

PrintOffsets printOffsets(double twipsPerPixelX, double twipsPerPixelY) {
    return {8 + (twipsPerPixelX - 8) * -12.5, 38 + (twipsPerPixelY - 8) * -8.9};
}

int px(double pixels) {
    if (std::isnan(pixels))
        return 0;
    return int(roundHalfEven(std::clamp(pixels, -kPixelLimit, kPixelLimit)));
}

ItemBox itemBox(double leftTwips, double topTwips, double widthTwips, double heightTwips,
                double twipsPerPixelX, double twipsPerPixelY) {
    const PrintOffsets off = printOffsets(twipsPerPixelX, twipsPerPixelY);
    const double pX = 1 / twipsPerPixelX;
    const double pY = 1 / twipsPerPixelY;
    return {leftTwips * pX - off.x, topTwips * pY - off.y, widthTwips * pX, heightTwips * pY};
}

TextItemRects textItemRects(const ItemBox& box, double twipsPerPixelX, double twipsPerPixelY) {
    const double pX = 1 / twipsPerPixelX;
    const double pY = 1 / twipsPerPixelY;
    const double L = box.left + 9.5 * pX;
    const double W = box.width - 20 * pX;
    const double T = box.top + 12 * pY;
    const double H = box.height - 27 * pY;

    TextItemRects r;
    r.outer = {px(L), px(T), px(L + W), px(T + H)};
    r.drawing = {r.outer.left + 3, r.outer.top + 3, r.outer.right - 3, r.outer.bottom - 3};
    r.frame = {px(L), px(T - 2), px(L + W), px(T + H + 2)};
    return r;
}

PixelEdges alignVertically(const TextItemRects& rects, int measuredHeight, int vAlignment) {
    if (vAlignment != 1 && vAlignment != 2)
        return rects.drawing;
    const double measuredTop = rects.outer.top;
    const double measuredBottom = measuredTop + measuredHeight;
    double d = std::fabs(measuredBottom - rects.outer.bottom);
    if (vAlignment == 1)
        d /= 2;
    PixelEdges r = rects.drawing;
    r.top = px(measuredTop + d);
    r.bottom = px(measuredBottom + d);
    return r;
}

PixelEdges logoRect(const ItemBox& box) {
    const int left = px(box.left);
    const int top = px(box.top);
    return {left, top, left + px(box.width), top + px(box.height)};
}

} // namespace lumaris
