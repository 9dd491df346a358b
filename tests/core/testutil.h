#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/tempfiles.h"

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

// Also the temporary folder of the run (TMPDIR, no runtime folder) until the end.
struct TmpdirScope : ScratchDir {
    TmpdirScope() { ::setenv("TMPDIR", path.c_str(), 1), ::unsetenv("XDG_RUNTIME_DIR"); }
    ~TmpdirScope() { cleanUpTempFiles(), ::unsetenv("TMPDIR"); }
};

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace lumaris::test
