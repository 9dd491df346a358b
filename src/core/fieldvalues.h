#pragma once
// The text shown and printed for each data field.

#include <array>
#include <string>

#include "core/catalogues.h"

namespace lumaris {

// UTF-8; an entry may hold CR LF line breaks.
extern std::array<std::string, kMaxField + 1> gFieldValues;

// What the preview command puts into gFieldValues: "[caption]" for every
// number, then sample texts for the tables (5, 6, 7: five lines each) and a
// magnetic-ink sample line for 9 and 13.
void fillSampleFieldValues();

} // namespace lumaris
