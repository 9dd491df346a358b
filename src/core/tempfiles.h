#pragma once
// Temporary files, kept in a private per-user folder ($TMPDIR/lumaris-<uid>,
// /tmp when TMPDIR is unset) of mode 0700 so no other user can plant or read
// them. The folder is refused (with a line on stderr) when it is a symlink or
// owned by someone else.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumaris {

// The private folder, created when missing; nullopt when it cannot be used.
std::optional<std::filesystem::path> tempFolder();

// A new unique file (created empty, so the name stays ours) in the temp folder
// with the given extension ("tmp"), recorded for deletion; "" on failure.
std::string makeTempFile(std::string_view extension);

// The recorded list, joined by "|".
std::string recordedTempFiles();

// Takes a path off the list (a file being opened must outlive the cleanup).
void unrecordTempFile(const std::string& path);

// Deletes every recorded file and empties the list.
void deleteRecordedTempFiles();

} // namespace lumaris
