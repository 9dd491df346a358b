#pragma once
// Geometry kept in twips. Every control of a window knows its rectangle in
// twips (single precision, as the layout computes it); the widget is placed
// from it at 15 twips per logical pixel.

#include <QRectF>

class QWidget;

namespace lumaris::platform {

constexpr double kTwipsPerPixel = 15.0;

// The rectangle last given in twips; for a widget never placed in twips, its
// pixel geometry times 15.
QRectF twipsRect(const QWidget* w);

// Each setter skips a negative width or height (the window system would refuse
// it) and then returns false; the widget keeps its previous rectangle.
bool setTwipsRect(QWidget* w, float left, float top, float width, float height);
bool setTwipsLeft(QWidget* w, float left);
bool setTwipsTop(QWidget* w, float top);
bool setTwipsWidth(QWidget* w, float width);
bool setTwipsHeight(QWidget* w, float height);

inline float twipsLeft(const QWidget* w) {
    return float(twipsRect(w).left());
}
inline float twipsTop(const QWidget* w) {
    return float(twipsRect(w).top());
}
inline float twipsWidth(const QWidget* w) {
    return float(twipsRect(w).width());
}
inline float twipsHeight(const QWidget* w) {
    return float(twipsRect(w).height());
}

} // namespace lumaris::platform
