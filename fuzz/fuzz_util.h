#pragma once
// What every target shares: the readers take paths, so inputs go to files in
// a folder of this process's own, removed at exit.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

#include "core/fileio.h"
#include "core/profile.h"

namespace fuzz {

inline const std::filesystem::path& folder() {
    static const std::filesystem::path dir = [] {
        // Memory backed when there is such a folder: the writer syncs every file.
        const char* base = std::getenv("TMPDIR");
        std::error_code ec;
        if (std::filesystem::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0)
            base = "/dev/shm";
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/lumaris-fuzz.XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(folder(), ec);
        });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

inline std::string file(const char* name) {
    return (folder() / name).string();
}

// Writes bytes to a file of the folder. The profile reader keeps parsed files
// by inode, size and modification time; two inputs of one size written within
// a clock tick would look alike, so its cache is dropped with every write.
inline std::string writeFile(const char* name, std::string_view bytes) {
    const std::string path = file(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::perror(path.c_str());
        std::abort();
    }
    lumaris::clearProfileCache();
    return path;
}

inline std::string readFile(const std::string& path) {
    return lumaris::readWholeFile(path).value_or(std::string("<unreadable>"));
}

// A finding that is no crash: libFuzzer keeps the input as crash-*.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);          \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace fuzz
