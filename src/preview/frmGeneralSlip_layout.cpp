#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>

#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"

namespace lumaris {

using namespace platform;

namespace {

constexpr float kViewportLeft = 200;
constexpr float kWidthAllowance = 500;
constexpr float kHeightAllowance = 1200;
constexpr float kPrintPanelGap = 300;
constexpr float kBarThickness = 300;
constexpr float kBarEndGap = 60;
constexpr float kBarEdgeGap = 45;
constexpr float kCornerLift = 15;
constexpr float kShadowOffset = 100;

// The page position for a scroll value, in 16-bit arithmetic. A value whose
// position would leave the 16-bit range stops at its end instead of failing.
float pagePosition(int value) {
    long position = (long(value) - 20) * -10;
    return float(std::clamp<long>(position, -32768, 32767));
}

} // namespace

void frmGeneralSlip::fitToScreen() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    // Before a window manager has framed the window its frame adds nothing;
    // the fit is made again once the frame is known.
    mFittedFrame = frameGeometry().size() - size();
    resize((area.size() - mFittedFrame).expandedTo(QSize(1, 1)));
    move(area.topLeft());
}

void frmGeneralSlip::refitToFrame() {
    // A maximised or minimised window is the window manager's to size.
    if (!isVisible() ||
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) ||
        frameGeometry().size() - size() == mFittedFrame)
        return;
    fitToScreen();
    // The layout counts the frame: lay out again also when the inner size
    // happens to stay.
    Form_Resize();
}

void frmGeneralSlip::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refitToFrame();
}

void frmGeneralSlip::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    // Framing the window moves it: its frame is known from then on.
    refitToFrame();
}

void frmGeneralSlip::Form_Resize() {
    const float width = float(frameGeometry().width() * kTwipsPerPixel);
    const float height = float(frameGeometry().height() * kTwipsPerPixel);

    // Width then height, each change of size re-laying the bars at once; a
    // refused (negative) size keeps the viewport's previous one.
    setTwipsLeft(picWorkSpace, kViewportLeft);
    setTwipsTop(picWorkSpace, twipsHeight(picToolbar));
    if (twipsWidth(picWorkSpace) != width - kWidthAllowance &&
        setTwipsWidth(picWorkSpace, width - kWidthAllowance))
        picWorkSpace_Resize();
    if (twipsHeight(picWorkSpace) != height - kHeightAllowance &&
        setTwipsHeight(picWorkSpace, height - kHeightAllowance))
        picWorkSpace_Resize();
    picWorkSpace->show();

    setTwipsLeft(picToolbar, 0);
    setTwipsWidth(picToolbar, width);
    setTwipsLeft(picFormPrint, twipsWidth(picToolbar) - twipsWidth(picFormPrint) - kPrintPanelGap);
    picBrowse->raise();

    QCoreApplication::processEvents();
}

void frmGeneralSlip::picWorkSpace_Resize() {
    const float w = twipsWidth(picWorkSpace);
    const float h = twipsHeight(picWorkSpace);
    const float t = kBarThickness;
    picWorkSpace->fitClient();
    // In a viewport smaller than a bar a negative length is refused and the
    // bar keeps its last one; its other steps still run.
    setTwipsLeft(HScroll1, 0);
    setTwipsWidth(HScroll1, w - t - kBarEndGap);
    setTwipsTop(HScroll1, h - t - kBarEdgeGap);
    setTwipsTop(VScroll1, 0);
    setTwipsHeight(VScroll1, h - t - kBarEndGap);
    setTwipsLeft(VScroll1, w - t - kBarEndGap);
    setTwipsTop(picCorner, twipsTop(HScroll1) - kCornerLift);
    setTwipsLeft(picCorner, twipsLeft(VScroll1));
}

void frmGeneralSlip::HScroll1_Change() {
    setTwipsLeft(picPrinter, pagePosition(HScroll1->value()));
    setTwipsLeft(picShadow, twipsLeft(picPrinter) + kShadowOffset);
}

void frmGeneralSlip::VScroll1_Change() {
    setTwipsTop(picPrinter, pagePosition(VScroll1->value()));
    setTwipsTop(picShadow, twipsTop(picPrinter) + kShadowOffset);
}

} // namespace lumaris
