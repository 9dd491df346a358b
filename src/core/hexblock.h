#pragma once
// A file embedded in a text file as a block of hexadecimal lines:
//
//   >--> Name >-->
//   89504E47...   (64 bytes a line, two uppercase digits a byte)
//   <--< Name <--<
//
// Lines end with CR LF. Paths are native (bytes as the file system takes them).

#include <string>
#include <string_view>

namespace lumaris {

// The block of one file's bytes as text: start line, digit lines, end line.
std::string hexBlockText(std::string_view bytes, std::string_view name);

// Appends the block of the source file to the target (created when missing).
// Nothing happens without a source file. False when a step failed; the target
// then may hold a partial block only if the file system failed mid-write.
bool appendFileAsHexBlock(const std::string& source, const std::string& target,
                          std::string_view name);

// Decodes the named block of the source into a fresh target. Markers match in
// any case; digits may be lower case; what comes before the start line is
// ignored; a missing end line runs the block to the end of the file; no start
// line gives an empty target. Without a source file the target is untouched.
bool extractHexBlock(const std::string& source, const std::string& target, std::string_view name);

// The bytes that the digit lines between the markers stand for, as
// extractHexBlock writes them.
std::string decodeHexBlock(std::string_view text, std::string_view name);

} // namespace lumaris
