#pragma once
// The captions that the browse panel shows beside the field values. The panel
// has its own table: it names some fields differently from the field
// catalogue and leaves fields above 132 without a caption.

#include <QString>
#include <array>

namespace lumaris {

struct BrowseCaption {
    int field;
    const char* caption; // UTF-8
};

// Ascending by field number.
extern const std::array<BrowseCaption, 95> kBrowseCaptions;

// The caption of a field number; empty when the table has none.
QString browseCaption(int field);

} // namespace lumaris
