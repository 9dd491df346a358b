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
// section or key occurs twice, the first occurrence wins. A section name of
// 64 KiB or more matches nothing, and neither do the keys under it.
//
// The bytes are returned as they stand in the file (code page 1256 for slips).
// A parsed file is kept and parsed again only when the file changes (device,
// inode, size, modification and change time), so repeated reads cost a
// lookup. A file is read only as far as its first 256 MiB or 32 MiB of parsed
// entries (hundreds of thousands of keys); what follows reads as missing.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumaris {

// One file parsed from one state of it (one open file, read once): every
// lookup answers from the same bytes however the file changes meanwhile.
class ProfileSnapshot {
  public:
    std::string lookup(std::string_view section, std::string_view key) const;
    // The section names in file order (a repeated name only where it first
    // occurs), as written.
    std::vector<std::string> sectionNames() const;

  private:
    friend class ProfileParser;
    struct Section {
        std::string name;
        std::unordered_map<std::string, std::string> keys; // upper-cased key -> value
    };
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> index_; // upper-cased name -> position
};

// The file as it stands now; null when it is not a readable regular file.
std::shared_ptr<const ProfileSnapshot> profileSnapshot(const std::string& path);

// While a pin lives, readProfileString and profileSectionNames on its path in
// this thread answer from the one snapshot taken when it was made, so that an
// operation reading key by key sees one state of the file, never a mix of an
// old and a new one. A pin on a path this thread has pinned already shares the
// outer pin's snapshot.
class ProfilePin {
  public:
    explicit ProfilePin(std::string path);
    ~ProfilePin();
    ProfilePin(const ProfilePin&) = delete;
    ProfilePin& operator=(const ProfilePin&) = delete;

    // Null when the file could not be read when the pin was made.
    const ProfileSnapshot* snapshot() const { return snapshot_.get(); }

  private:
    std::string path_;
    std::shared_ptr<const ProfileSnapshot> snapshot_;
};

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key);

// The section names of the file (see ProfileSnapshot); empty when the file
// cannot be read. Lets a reader visit the sections that exist instead of
// counting up to a huge CTL_Count.
std::vector<std::string> profileSectionNames(const std::string& path);

// Drops every parsed file kept by readProfileString.
void clearProfileCache();

} // namespace lumaris
