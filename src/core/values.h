#pragma once
// The rules by which slip-file values are read. Every reader of slip data goes
// through these; never re-implement them inline.

#include <string>
#include <string_view>

namespace lumaris {

// Round to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Values beyond the range of long long saturate; NaN gives 0.
long long roundHalfEven(double value);

// The decimal number at the start of a value: leading blanks skipped, an optional
// sign, digits, one decimal point, more digits. No exponent. 0 when there is none.
// Overlong digit runs saturate to +-infinity-free finite results (never NaN).
double leadingNumber(std::string_view value);

// True only when the value, blanks removed at both ends, is "TRUE" in any case.
bool isTrueFlag(std::string_view value);

// ASCII letters in capitals; every other byte as it is (names in slip files
// match without regard to case, whatever the code page).
std::string upperAscii(std::string_view text);

// Blanks (spaces) removed at both ends.
std::string trimmed(std::string_view value);

// Caption rules of the renderers for a text box's Text: trimmed; every "||" and
// then every "\n" (backslash, n) becomes CR LF; then colonRule.
std::string captionText(std::string_view text);

// If the text begins with ":", the rest trimmed followed by ":"; else unchanged.
std::string colonRule(std::string_view text);

// Section name of a control: "CTL_" and the number in at least three digits.
std::string controlSection(long long number);

} // namespace lumaris
