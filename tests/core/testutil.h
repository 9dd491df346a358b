#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace lumaris::test {

// A fresh folder under /tmp, removed with everything in it at the end.
struct ScratchDir {
    std::filesystem::path path = [] {
        std::string pattern = "/tmp/lumaris-test-XXXXXX";
        return std::filesystem::path(::mkdtemp(pattern.data()) ? pattern : "");
    }();
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

inline void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace lumaris::test
