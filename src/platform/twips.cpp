#include "platform/twips.h"

#include <QVariant>
#include <QWidget>
#include <cmath>

namespace lumaris::platform {

namespace {

constexpr const char* kProperty = "lumarisTwips";

int toPixels(double twips) {
    double px = std::nearbyint(twips / kTwipsPerPixel);
    // Far outside any screen: clamp rather than overflow.
    return int(std::clamp(px, -1.0e7, 1.0e7));
}

void place(QWidget* w, const QRectF& r) {
    w->setProperty(kProperty, r);
    // Edges are rounded one by one so that neighbours meet without a gap.
    int x = toPixels(r.left()), y = toPixels(r.top());
    int right = toPixels(r.left() + r.width()), bottom = toPixels(r.top() + r.height());
    w->setGeometry(x, y, std::max(0, right - x), std::max(0, bottom - y));
}

} // namespace

QRectF twipsRect(const QWidget* w) {
    QVariant v = w->property(kProperty);
    if (v.isValid())
        return v.toRectF();
    QRect g = w->isWindow() ? w->frameGeometry() : w->geometry();
    return QRectF(g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel, g.width() * kTwipsPerPixel,
                  g.height() * kTwipsPerPixel);
}

bool setTwipsRect(QWidget* w, float left, float top, float width, float height) {
    if (!(width >= 0) || !(height >= 0) || !std::isfinite(left) || !std::isfinite(top))
        return false;
    place(w, QRectF(left, top, width, height));
    return true;
}

bool setTwipsLeft(QWidget* w, float left) {
    QRectF r = twipsRect(w);
    return setTwipsRect(w, left, float(r.top()), float(r.width()), float(r.height()));
}

bool setTwipsTop(QWidget* w, float top) {
    QRectF r = twipsRect(w);
    return setTwipsRect(w, float(r.left()), top, float(r.width()), float(r.height()));
}

bool setTwipsWidth(QWidget* w, float width) {
    QRectF r = twipsRect(w);
    return setTwipsRect(w, float(r.left()), float(r.top()), width, float(r.height()));
}

bool setTwipsHeight(QWidget* w, float height) {
    QRectF r = twipsRect(w);
    return setTwipsRect(w, float(r.left()), float(r.top()), float(r.width()), height);
}

} // namespace lumaris::platform
