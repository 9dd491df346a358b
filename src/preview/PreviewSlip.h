#pragma once

#include <QImage>
#include <string>

namespace lumaris {

// The logo every preview shows: the program's built-in picture.
QImage builtInLogo();

// Fills the field values with samples, writes the open slip to a temporary
// file and previews it modally; the file is deleted when the window closes.
// False, with *error naming the file and the reason, when the copy cannot be
// written: nothing is shown then.
bool PreviewSlip(std::string* error = nullptr);

} // namespace lumaris
