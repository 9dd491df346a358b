#include "preview/zoomrules.h"

#include <algorithm>

#include "core/values.h"

namespace lumaris::zoom {

double pageExtent(double reference, int z) {
    return reference * ((z / 100.0) / 20.0);
}

int fitZoom(double referenceWidth, double referenceHeight, float viewportWidth,
            float viewportHeight, bool wholePage) {
    const double roomWidth = float(viewportWidth - kFitMargin);
    const double roomHeight = float(viewportHeight - kFitMargin);
    // 2000 candidates of two multiplications each: cheaper to try them all
    // than to prove that a closed form rounds the same way.
    for (int z = kMaxZoom; z >= 1; --z) {
        if (!(pageExtent(referenceWidth, z) < roomWidth))
            continue;
        if (wholePage && !(pageExtent(referenceHeight, z) < roomHeight))
            continue;
        return z;
    }
    return 0;
}

int scrollMaximum(float page, float viewport) {
    const float excess = page - viewport;
    const float range = excess < 0 ? 0.0f : excess + kRangeMargin;
    // A bar holds 16-bit values: a page too large for it scrolls as far as it can.
    return int(std::clamp<long long>(roundHalfEven(range / 10.0f), 0, 32767));
}

int scrollMiddle(int maximum) {
    return int(roundHalfEven(maximum / 2.0));
}

} // namespace lumaris::zoom
