#pragma once
// What the browse panel shows of a field value.

#include <QString>
#include <string>

namespace lumaris {

// Stands for each line break, so that a value of several lines keeps to its row.
inline const QString kBrowseLineBreak = QStringLiteral(" \u23CE ");

// A value on one line: CR LF, and a lone CR or LF, each become kBrowseLineBreak.
QString browseRowText(const std::string& value);

} // namespace lumaris
