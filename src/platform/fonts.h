#pragma once

#include <QString>

namespace lumaris::platform {

// Maps the Windows faces that slips name (Tahoma, Arial, MS Sans Serif, the
// magnetic-ink face) to installed ones with Arabic coverage. Call once after
// the QApplication exists.
void installFontSubstitutes();

// The face that sets the Arabic of a face a slip names but this machine lacks,
// and its width in percent: condensed so that captions fitted to the Windows
// faces' Arabic fit as they were designed.
struct ArabicStandIn {
    QString family;
    int stretch = 100;
};
ArabicStandIn arabicStandIn();

// Whether the face is installed here, rather than drawn by substitutes.
bool faceInstalled(const QString& family);

} // namespace lumaris::platform
