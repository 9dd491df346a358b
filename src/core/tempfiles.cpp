#include "core/tempfiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace lumaris {

namespace {

std::mutex gListMutex;
std::vector<std::string> gRecorded;

// The folder this run made because its usual one was refused, and that one.
std::mutex gRunMutex;
std::string gRunFolder;
std::string gLentRuntime;
std::string gRunFolderFor;

// Why name cannot be our private folder; "" when it can. A missing folder is
// made when create is set; a wide mode on our own folder is narrowed.
std::string notOurFolder(const std::string& name, bool create) {
    if (create && ::mkdir(name.c_str(), 0700) != 0 && errno != EEXIST)
        return std::strerror(errno);
    // lstat: a symlink planted by someone else must not be followed.
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0)
        return std::strerror(errno);
    if (S_ISLNK(st.st_mode))
        return "it is a symbolic link";
    if (!S_ISDIR(st.st_mode))
        return "it is not a folder";
    if (st.st_uid != ::geteuid())
        return "it belongs to another user";
    if ((st.st_mode & 07777) != 0700 && ::chmod(name.c_str(), 0700) != 0)
        return std::strerror(errno);
    return {};
}

// $XDG_RUNTIME_DIR/lumaris, when the runtime folder is set, ours and private.
std::optional<std::filesystem::path> runtimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || *runtime != '/' || runtime == gLentRuntime)
        return std::nullopt;
    struct stat st {};
    if (::stat(runtime, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
        (st.st_mode & 077) != 0)
        return std::nullopt;
    const std::filesystem::path folder = std::filesystem::path(runtime) / "lumaris";
    if (!notOurFolder(folder.string(), true).empty())
        return std::nullopt;
    return folder;
}

void removeRunFolder() {
    std::lock_guard lock(gRunMutex);
    if (gRunFolder.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(gRunFolder, ec);
    gRunFolder.clear();
    gRunFolderFor.clear();
}

} // namespace

std::optional<std::filesystem::path> tempFolder(std::string* error) {
    if (auto runtime = runtimeFolder())
        return runtime;
    const char* base = std::getenv("TMPDIR");
    std::filesystem::path folder = (base != nullptr && *base != '\0') ? base : "/tmp";
    folder /= "lumaris-" + std::to_string(::geteuid());
    const std::string name = folder.string();
    const std::string why = notOurFolder(name, true);
    if (why.empty())
        return folder;

    // The same stand-in for the whole run, so files written early are found later.
    std::lock_guard lock(gRunMutex);
    if (gRunFolderFor == name && notOurFolder(gRunFolder, false).empty())
        return gRunFolder;
    std::string fresh = name + "-XXXXXX";
    if (::mkdtemp(fresh.data()) == nullptr) {
        if (error)
            *error = name + ": " + why + "; " + fileError(fresh);
        return std::nullopt;
    }
    std::fprintf(stderr, "lumaris: not using the temporary folder %s: %s; using %s for this run\n",
                 name.c_str(), why.c_str(), fresh.c_str());
    static const bool registered = std::atexit(removeRunFolder) == 0;
    (void)registered;
    if (!gRunFolder.empty() && gRunFolder != fresh) {
        std::error_code ec;
        std::filesystem::remove_all(gRunFolder, ec);
    }
    gRunFolder = fresh;
    gRunFolderFor = name;
    return gRunFolder;
}

std::string makeTempFile(std::string_view extension, std::string* error) {
    if (extension.find('/') != std::string_view::npos ||
        extension.find('\0') != std::string_view::npos) {
        if (error)
            *error = "invalid extension";
        return {};
    }
    const auto folder = tempFolder(error);
    if (!folder)
        return {};
    std::string name = (*folder / "lumaris-XXXXXX").string();
    int suffix = 0;
    if (!extension.empty()) {
        name += '.';
        name += extension;
        suffix = static_cast<int>(extension.size()) + 1;
    }
    const int fd = ::mkstemps(name.data(), suffix);
    if (fd < 0) {
        if (error)
            *error = fileError(folder->string());
        return {};
    }
    ::close(fd);
    std::lock_guard lock(gListMutex);
    gRecorded.push_back(name);
    return name;
}

std::string recordedTempFiles() {
    std::lock_guard lock(gListMutex);
    std::string joined;
    for (const auto& path : gRecorded) {
        if (!joined.empty())
            joined += '|';
        joined += path;
    }
    return joined;
}

void unrecordTempFile(const std::string& path) {
    std::lock_guard lock(gListMutex);
    std::erase(gRecorded, path);
}

void deleteRecordedTempFiles() {
    std::vector<std::string> paths;
    {
        std::lock_guard lock(gListMutex);
        paths.swap(gRecorded);
    }
    for (const auto& path : paths)
        ::unlink(path.c_str());
}

void cleanUpTempFiles() {
    deleteRecordedTempFiles();
    removeRunFolder();
}

std::string fileError(const std::string& path) {
    return path + ": " + (errno != 0 ? std::strerror(errno) : "failed");
}

void lendTempFolderAsRuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0')
        return;
    if (const auto folder = tempFolder()) {
        gLentRuntime = folder->string();
        ::setenv("XDG_RUNTIME_DIR", gLentRuntime.c_str(), 1);
    }
}

} // namespace lumaris
