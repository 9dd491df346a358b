#include "preview/picturebox.h"

#include <QPainter>

#include "platform/twips.h"

namespace lumaris {

PictureBox::PictureBox(QWidget* parent, bool autoSize) : QWidget(parent), mAutoSize(autoSize) {}

void PictureBox::setPicture(const QImage& picture) {
    mPicture = picture;
    if (mAutoSize)
        platform::setTwipsRect(this, platform::twipsLeft(this), platform::twipsTop(this),
                               float(picture.width() * platform::kTwipsPerPixel),
                               float(picture.height() * platform::kTwipsPerPixel));
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (mPicture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), mPicture);
}

SunkenBox::SunkenBox(QWidget* parent) : QFrame(parent), mClient(new QWidget(this)) {
    // Two pixels: dark above and left, light below and right.
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    mClient->setAutoFillBackground(true);
    fitClient();
}

void SunkenBox::fitClient() {
    mClient->setGeometry(contentsRect());
}

void SunkenBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    fitClient();
}

} // namespace lumaris
