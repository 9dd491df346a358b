#include "preview/previewitems.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>

#include "platform/mouse.h"
#include "platform/twips.h"
#include "preview/previewstyle.h"
#include "preview/sliptext.h"

namespace lumaris {

using platform::kTwipsPerPixel;

namespace {

// A label needs whole pixels for its text, like the window system's labels.
double pixelsToTwips(double pixels) {
    return std::max(0.0, std::ceil(pixels - 1e-6)) * kTwipsPerPixel;
}

// Far beyond any slip's largest text at the largest zoom; keeps the font
// engine away from sizes it cannot raster.
constexpr double kMaxPoints = 16000.0;

} // namespace

PreviewLabel::PreviewLabel(QWidget* parent) : QWidget(parent) {
    mFont = font();
    applyFont();
}

void PreviewLabel::copyFrom(const PreviewLabel& other) {
    mCaption = other.mCaption;
    mAlignment = other.mAlignment;
    mFont = other.mFont;
    mPoints = other.mPoints;
    mForeColor = other.mForeColor;
    mBackOpaque = other.mBackOpaque;
    mBackColor = other.mBackColor;
    mTag = other.mTag;
    mWordWrap = other.mWordWrap;
    mUseMnemonic = other.mUseMnemonic;
    mTextCache = other.mTextCache;
    applyFont();
    const QRectF r = platform::twipsRect(&other);
    platform::setTwipsRect(this, float(r.left()), float(r.top()), float(r.width()),
                           float(r.height()));
}

void PreviewLabel::setCaption(const QString& caption) {
    mCaption = caption;
    update();
}

void PreviewLabel::setUseMnemonic(bool on) {
    mUseMnemonic = on;
    update();
}

bool PreviewLabel::setAlignment(int alignment) {
    if (alignment < AlignLeft || alignment > AlignCenter)
        return false;
    mAlignment = alignment;
    update();
    return true;
}

void PreviewLabel::setFontName(const QString& name) {
    const QString face = faceName(name);
    if (face.isEmpty())
        return;
    mFont.setFamily(face);
    applyFont();
}

bool PreviewLabel::setFontSize(double points) {
    if (!(points > 0) || points > kMaxPoints)
        return false;
    mPoints = points;
    applyFont();
    return true;
}

void PreviewLabel::setFontBold(bool on) {
    mFont.setBold(on);
    applyFont();
}

void PreviewLabel::setFontItalic(bool on) {
    mFont.setItalic(on);
    applyFont();
}

void PreviewLabel::setFontUnderline(bool on) {
    mFont.setUnderline(on);
    applyFont();
}

QFont PreviewLabel::drawFont() const {
    // 15 twips per pixel and 20 twips per point make a point 4/3 of a pixel,
    // whatever dpi the screen claims.
    QFont f = mFont;
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    f.setPointSizeF(mPoints * 96.0 / dpi);
    return f;
}

void PreviewLabel::applyFont() {
    setFont(drawFont());
    update();
}

void PreviewLabel::setForeColor(const QColor& colour) {
    mForeColor = colour;
    update();
}

void PreviewLabel::setBackOpaque(bool opaque) {
    mBackOpaque = opaque;
    update();
}

void PreviewLabel::setBackColor(const QColor& colour) {
    mBackColor = colour;
    update();
}

void PreviewLabel::setWordWrap(bool on) {
    mWordWrap = on;
    update();
}

SlipAlign PreviewLabel::slipAlign() const {
    return mAlignment == AlignRight    ? SlipAlign::Right
           : mAlignment == AlignCenter ? SlipAlign::Center
                                       : SlipAlign::Left;
}

SlipAmpersand PreviewLabel::ampersand() const {
    return mUseMnemonic ? SlipAmpersand::Mnemonic : SlipAmpersand::Literal;
}

QSizeF PreviewLabel::captionExtent(double wrapWidth) const {
    const QSizeF size =
        slipTextSize(drawFont(), this, mCaption, slipAlign(),
                     wrapWidth >= 0 ? wrapWidth / kTwipsPerPixel : -1, ampersand(), mTextCache);
    return QSizeF(pixelsToTwips(size.width()), pixelsToTwips(size.height()));
}

void PreviewLabel::autoSize() {
    const QSizeF extent = captionExtent();
    platform::setTwipsRect(this, platform::twipsLeft(this), platform::twipsTop(this),
                           float(extent.width()), float(extent.height()));
}

void PreviewLabel::autoSizeWrapped() {
    const QSizeF extent = captionExtent(platform::twipsWidth(this));
    platform::setTwipsHeight(this, float(extent.height()));
}

void PreviewLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (mBackOpaque)
        painter.fillRect(rect(), mBackColor);
    if (mCaption.isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(mForeColor);
    // Lay out in the twips width so that lines wrap where they were measured.
    const QRectF box(0, 0, platform::twipsWidth(this) / kTwipsPerPixel,
                     platform::twipsHeight(this) / kTwipsPerPixel);
    drawSlipText(painter, box, mCaption, slipAlign(), mWordWrap, ampersand(), mTextCache);
}

void PreviewLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void PreviewLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const int button = platform::buttonCode(event->button());
    // Only the three buttons a slip knows raise a mouse-up.
    if (button == 0)
        return;
    const bool click =
        event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    // A handler may re-render the page and so delete this label.
    QPointer<PreviewLabel> self(this);
    emit mouseUp(mIndex, button);
    if (self && click)
        emit clicked(mIndex);
}

PreviewShape::PreviewShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    mOutlineColor = systemColor(8);
}

void PreviewShape::copyFrom(const PreviewShape& other) {
    mFilled = other.mFilled;
    mFillColor = other.mFillColor;
    mOutlined = other.mOutlined;
    mOutlineColor = other.mOutlineColor;
    const QRectF r = platform::twipsRect(&other);
    platform::setTwipsRect(this, float(r.left()), float(r.top()), float(r.width()),
                           float(r.height()));
    update();
}

void PreviewShape::setFilled(bool on) {
    mFilled = on;
    update();
}

void PreviewShape::setFillColor(const QColor& colour) {
    mFillColor = colour;
    update();
}

void PreviewShape::setOutlined(bool on) {
    mOutlined = on;
    update();
}

void PreviewShape::setOutlineColor(const QColor& colour) {
    mOutlineColor = colour;
    update();
}

void PreviewShape::paintEvent(QPaintEvent*) {
    if (!mFilled && !mOutlined)
        return;
    QPainter painter(this);
    if (mFilled)
        painter.fillRect(rect(), mFillColor);
    if (mOutlined && width() > 0 && height() > 0) {
        painter.setPen(QPen(mOutlineColor, 0));
        painter.setBrush(Qt::NoBrush);
        // The line lies inside the rectangle, as a thin outline does.
        painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    }
}

PreviewImage::PreviewImage(QWidget* parent) : QWidget(parent) {}

void PreviewImage::copyFrom(const PreviewImage& other) {
    mPicture = other.mPicture;
    mBordered = other.mBordered;
    const QRectF r = platform::twipsRect(&other);
    platform::setTwipsRect(this, float(r.left()), float(r.top()), float(r.width()),
                           float(r.height()));
    update();
}

void PreviewImage::setPicture(const QImage& picture) {
    mPicture = picture;
    update();
}

void PreviewImage::setBordered(bool on) {
    mBordered = on;
    update();
}

void PreviewImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!mPicture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), mPicture);
    }
    if (mBordered && width() > 0 && height() > 0) {
        painter.setPen(QPen(systemColor(6), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    }
}

// A press on a logo belongs to the logo: the page under it must not take it as
// a click on the empty page.
void PreviewImage::mousePressEvent(QMouseEvent* event) {
    event->accept();
}
void PreviewImage::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

} // namespace lumaris
