#pragma once

namespace lumaris::platform {

// Maps the Windows faces that slips name (Tahoma, Arial, MS Sans Serif, the
// magnetic-ink face) to installed ones with Arabic coverage. Call once after
// the QApplication exists.
void installFontSubstitutes();

} // namespace lumaris::platform
