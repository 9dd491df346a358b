#pragma once
// Temporary files, kept in a private per-user folder of mode 0700 so no other
// user can plant or read them: $XDG_RUNTIME_DIR/lumaris when that is set and
// the user's own, else $TMPDIR/lumaris-<uid> (/tmp when TMPDIR is unset). When
// that one is refused (a symlink, or someone else's) the run gets a fresh
// folder of its own, $TMPDIR/lumaris-<uid>-XXXXXX, said on stderr and removed
// at exit. A folder that is not the user's own is never written into.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumaris {

// The private folder, created when missing; nullopt when none can be had, and
// then *error (when given) says which folder and why.
std::optional<std::filesystem::path> tempFolder(std::string* error = nullptr);

// A new unique file (created empty, so the name stays ours) in the temp folder
// with the given extension ("tmp"), recorded for deletion; "" on failure, and
// then *error (when given) names the file or folder and the reason.
std::string makeTempFile(std::string_view extension, std::string* error = nullptr);

// The recorded list, joined by "|".
std::string recordedTempFiles();

// Takes a path off the list (a file being opened must outlive the cleanup).
void unrecordTempFile(const std::string& path);

// Deletes every recorded file and empties the list.
void deleteRecordedTempFiles();

// Deletes the recorded files and the run's own folder, if it had to make one.
// Also done at normal exit; a program ending otherwise calls it itself.
void cleanUpTempFiles();

// Qt keeps its runtime files in $XDG_RUNTIME_DIR and, where that is not set,
// makes $TMPDIR/runtime-<user>: the private folder is lent to it instead, so
// that a run writes nowhere else. The folder lent is not taken for a runtime
// folder of the user's. Call before the application object exists.
void lendTempFolderAsRuntimeFolder();

// "PATH: reason" for the last failed call, from errno ("failed" when unset).
std::string fileError(const std::string& path);

} // namespace lumaris
