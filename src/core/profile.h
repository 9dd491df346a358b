#pragma once
// The INI-style reader that slip files are read with.
//
// Rules: a section starts at a line holding its name in square brackets; a key
// line is the key, "=" and the value, blanks before the key allowed; section
// and key names match without regard to case; the value is the text after "="
// without the blanks around it, and a value in a pair of double or single
// quotes comes back without them; lines without "=" are ignored; a missing
// file, section or key and an empty value give ""; a value is cut before its
// first NUL and to its first 254 bytes. CR LF, LF and CR end lines. When a
// section or key occurs twice, the first occurrence wins.
//
// The bytes are returned as they stand in the file (code page 1256 for slips).
// A parsed file is kept and parsed again only when the file changes (inode,
// size, modification time), so repeated reads cost a lookup. A file is read
// only as far as its first 256 MiB or 32 MiB of parsed entries (hundreds of
// thousands of keys); what follows reads as missing.

#include <string>
#include <string_view>
#include <vector>

namespace lumaris {

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key);

// The section names of the file in file order (a repeated name only where it
// first occurs), as written; empty when the file cannot be read. Lets a reader
// visit the sections that exist instead of counting up to a huge CTL_Count.
std::vector<std::string> profileSectionNames(const std::string& path);

// Drops every parsed file kept by readProfileString.
void clearProfileCache();

} // namespace lumaris
