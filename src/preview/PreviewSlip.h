#pragma once

#include <QImage>

namespace lumaris {

// The logo every preview shows: the program's built-in picture.
QImage builtInLogo();

// Fills the field values with samples, writes the open slip to a temporary
// file and previews it modally; the file is deleted when the window closes.
void PreviewSlip();

} // namespace lumaris
