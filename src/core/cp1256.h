#pragma once
// Code page 1256 (Arabic) at the file boundary; UTF-8 everywhere in memory.

#include <string>
#include <string_view>

namespace lumaris {

// Every byte has a character in 1256, so decoding never fails.
std::string cp1256ToUtf8(std::string_view bytes);

// Arabic-Indic and extended Arabic-Indic digits become the ASCII digits of the
// same value; any other character that 1256 cannot hold becomes "?", and so
// do invalid UTF-8 bytes.
std::string utf8ToCp1256(std::string_view text);

// The text with every ill-formed UTF-8 sequence replaced by U+FFFD, for bytes
// that claim to be UTF-8 but come from a file.
std::string validUtf8(std::string_view text);

} // namespace lumaris
