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

void refuse(const std::string& folder, const char* reason) {
    std::fprintf(stderr, "lumaris: not using the temporary folder %s: %s\n", folder.c_str(),
                 reason);
}

} // namespace

std::optional<std::filesystem::path> tempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::filesystem::path folder = (base != nullptr && *base != '\0') ? base : "/tmp";
    const uid_t uid = ::geteuid();
    folder /= "lumaris-" + std::to_string(uid);
    const std::string name = folder.string();

    if (::mkdir(name.c_str(), 0700) != 0 && errno != EEXIST) {
        refuse(name, std::strerror(errno));
        return std::nullopt;
    }
    // lstat: a symlink planted by someone else must not be followed.
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0) {
        refuse(name, std::strerror(errno));
        return std::nullopt;
    }
    if (S_ISLNK(st.st_mode)) {
        refuse(name, "it is a symbolic link");
        return std::nullopt;
    }
    if (!S_ISDIR(st.st_mode)) {
        refuse(name, "it is not a folder");
        return std::nullopt;
    }
    if (st.st_uid != uid) {
        refuse(name, "it belongs to another user");
        return std::nullopt;
    }
    if ((st.st_mode & 07777) != 0700 && ::chmod(name.c_str(), 0700) != 0) {
        refuse(name, std::strerror(errno));
        return std::nullopt;
    }
    return folder;
}

std::string makeTempFile(std::string_view extension) {
    if (extension.find('/') != std::string_view::npos ||
        extension.find('\0') != std::string_view::npos)
        return {};
    const auto folder = tempFolder();
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
    if (fd < 0)
        return {};
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

} // namespace lumaris
