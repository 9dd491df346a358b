#pragma once
// The catalogues of data fields, form types and papers.

#include <array>
#include <string>
#include <vector>

namespace lumaris {

constexpr int kMaxField = 200;

// Caption of each field number 0..200 (UTF-8); "" where a number has none.
extern const std::array<std::string, kMaxField + 1> gFieldNames;

struct FormType {
    int number = 0;
    std::string name;        // Arabic name (UTF-8)
    std::vector<int> fields; // data fields a control of this type may be bound to
};

// The twelve form types, index 1..12; index 0 is unused.
extern const std::array<FormType, 13> gFormTypes;

struct PaperSize {
    std::string name;
    int widthMm = 0;
    int heightMm = 0;
    int printerCode = 0; // 0 marks an unused entry
};

// The paper table, indexed by paper code (1, 5, 9, 11, 50 are used).
extern const std::array<PaperSize, 51> gPaper;

} // namespace lumaris
