#pragma once
// The arithmetic of the zoom list, apart from the window so that it can be fed
// directly: zoom values, fit search, scroll ranges.

namespace lumaris::zoom {

constexpr int kMaxZoom = 2000;
constexpr float kFitMargin = 1000;   // twips the page must stay inside the viewport
constexpr float kRangeMargin = 1200; // twips added to the page's excess
constexpr int kLargeChange = 100;
constexpr float kPageTop = 90;
constexpr float kShadowOffset = 100;

// The page's extent on screen at zoom z for a reference extent of picMain.
double pageExtent(double reference, int z);

// The largest z from 1 to 2000 at which the page is strictly smaller than the
// viewport less 1000 twips in width (and, with wholePage, in height); 0 when
// none is.
int fitZoom(double referenceWidth, double referenceHeight, float viewportWidth,
            float viewportHeight, bool wholePage);

// A scroll bar's maximum: (excess + 1200) / 10 with halves to even, 0 when the
// page is smaller than the viewport. Kept within a 16-bit bar's range.
int scrollMaximum(float page, float viewport);

// The middle of a bar's range, halves to even.
int scrollMiddle(int maximum);

} // namespace lumaris::zoom
