#pragma once
// The report file (.Dqmx): the slip shown, with every data field's current
// value written in as fixed text, followed by the logo as a hex block named
// "Logo". Code page 1256, CR LF.

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "core/catalogues.h"

namespace lumaris {

using FieldValueArray = std::array<std::string, kMaxField + 1>;

struct ReportText {
    std::string text;     // the text part, code page 1256, ending with its empty line
    bool hasLogo = false; // some control is written as a logo
};

// The text part of the report of a slip file. Values are copied as the profile
// reader gives them; data fields take their value from `values` (UTF-8). A line
// break inside a text is written as "||", which the readers turn back into one.
ReportText buildReportText(const std::string& slipPath, const FieldValueArray& values);

// A path typed without any "." gets its blanks trimmed and ".Dqmx" appended.
QString withReportExtension(const QString& path);

// Writes the text and then the hex block of logoFile (when that file exists)
// to a fresh file beside `path` and renames it over `path`: a failed save
// leaves the old file as it was. Saving through a symlink replaces the file
// it names.
bool writeReportFile(const std::string& path, const std::string& text, const std::string& logoFile);

} // namespace lumaris
