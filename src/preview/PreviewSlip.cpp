#include "preview/PreviewSlip.h"

#include <QCoreApplication>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cerrno>
#include <unistd.h>

#include "core/fieldvalues.h"
#include "core/slipdoc.h"
#include "core/tempfiles.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"

namespace lumaris {

QImage builtInLogo() {
    QImage logo(240, 160, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 160);
    sky.setColorAt(0, QColor(18, 74, 138));
    sky.setColorAt(1, QColor(40, 130, 190));
    QPainterPath shield;
    shield.moveTo(120, 10);
    shield.lineTo(210, 40);
    shield.quadTo(205, 120, 120, 150);
    shield.quadTo(35, 120, 30, 40);
    shield.closeSubpath();
    p.fillPath(shield, sky);
    p.setPen(QPen(QColor(212, 175, 55), 6));
    p.drawPath(shield);
    // Three columns of a bank front.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawPolygon(QPolygonF({QPointF(75, 62), QPointF(120, 38), QPointF(165, 62)}));
    for (int x : {84, 112, 140})
        p.drawRect(x, 68, 16, 44);
    p.drawRect(72, 116, 96, 10);
    return logo;
}

bool PreviewSlip(std::string* error) {
    fillSampleFieldValues();
    QCoreApplication::processEvents();
    const std::string path = makeTempFile("tmp", error);
    if (path.empty())
        return false;
    errno = 0;
    if (!WriteSlipFile(path)) {
        // An empty copy would preview as a blank page.
        if (error)
            *error = fileError(path);
        ::unlink(path.c_str());
        unrecordTempFile(path);
        return false;
    }
    frmGeneralSlip& window = frmGeneralSlip::instance();
    // Loading runs events: the window may have been closed meanwhile.
    if (frmGeneralSlip::isLoaded()) {
        window.picLogo->setPicture(builtInLogo());
        window.ShowSlip(QFile::decodeName(QByteArray::fromStdString(path)), false, false);
    }
    ::unlink(path.c_str());
    unrecordTempFile(path);
    return true;
}

} // namespace lumaris
