#pragma once
// Whole-file reads and crash-safe replacement of files.

#include <optional>
#include <string>
#include <string_view>

namespace lumaris {

// All bytes of a regular file; nullopt when it is missing, not a regular file
// or cannot be read to its end.
std::optional<std::string> readWholeFile(const std::string& path);

enum class LinkPolicy {
    Follow,  // a symlink at the path: the file it names is replaced
    Replace, // the link itself is replaced (files in folders others could plant links in)
};

// Replaces the file at path with bytes so that a reader sees the earlier file
// or the whole new one, never a part: the bytes go to a fresh file beside it,
// are synced and renamed over it. An existing file keeps its permission bits.
// Something other than a regular file at the path is refused. False on any
// failure, and then nothing has changed.
bool replaceFileAtomically(const std::string& path, std::string_view bytes,
                           LinkPolicy links = LinkPolicy::Follow);

} // namespace lumaris
