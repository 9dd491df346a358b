#pragma once
// Shared by the template tests: a private temporary folder per test, the
// figures the templates are known by, and a reader for the written file.

#include "core/cp1256.h"
#include "core/tempfiles.h"
#include "templates/modTemplateSlips.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tpltest {

namespace fs = std::filesystem;

// What each template is known to be. Counts of lines, sections and gaps are the
// figures the templates were designed to; the byte counts are those known for
// the files as a whole; the font names and the logo caption keep their case.
struct Stated {
    int form;
    int ver;
    int orientation;
    int ctlCount;
    std::set<int> gaps; // control numbers up to ctlCount with no section
    int lines;
    std::optional<size_t> bytes;
    int fixedTexts, dataFields, logos;
    std::set<std::string> fontNames;
    std::string logoText; // "" when the template has no logo
};

inline const std::vector<Stated>& statedFigures() {
    // clang-format off
    static const std::vector<Stated> all = {
        {1, 2, 1, 34, {8, 14, 16, 21, 28, 32}, 653, {}, 12, 15, 1,
         {"ARIAL (ARABIC)", "Arial (Arabic)", "MS Sans Serif"}, "شعار"},
        {2, 2, 2, 14, {}, 331, {}, 0, 14, 0, {"Arial (Arabic)", "MICR QUILLMARO"}, ""},
        {3, 1, 1, 9, {}, 207, {}, 0, 9, 0, {"Arial (Arabic)"}, ""},
        {4, 2, 1, 33, {4, 10, 12, 13, 14, 15, 20, 24, 25}, 561, {}, 9, 14, 1,
         {"Arial (Arabic)", "ARIAL (ARABIC)", "MS Sans Serif"}, "شعار"},
        {5, 2, 2, 19, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 19}, 170, {}, 0, 7, 0,
         {"Arial (Arabic)", "ARIAL (ARABIC)", "MICR QUILLMARO"}, ""},
        {6, 2, 1, 43, {}, 998, {}, 20, 22, 1, {"ARIAL (arabic)", "Arial (arabic)"}, "Logo"},
        {7, 2, 1, 48, {12, 22, 30}, 1044, {}, 20, 24, 1, {"Arial (Arabic)", "ARIAL (ARABIC)"}, "شعار"},
        {8, 2, 1, 47, {18, 19, 22, 27, 30, 46}, 952, {}, 20, 20, 1,
         {"Arial (Arabic)", "ARIAL (ARABIC)"}, "شعار"},
        {9, 2, 1, 0, {}, 9, 107, 0, 0, 0, {}, ""},
        // 19 fields bound once, 105 and 111 four times each.
        {10, 2, 1, 54, {1, 2, 4, 28, 30}, 1136, 18952, 21, 27, 1, {"Arial (Arabic)"}, "شعار"},
        // 16 fields bound once, 81, 84 and 120 twice each.
        {11, 2, 1, 60, {}, 1389, 23374, 37, 22, 1, {"Arial (arabic)", "ARIAL (arabic)"}, "Logo"},
        {12, 2, 2, 19, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 19}, 170, {}, 0, 7, 0,
         {"Arial (Arabic)", "ARIAL (ARABIC)", "MICR QUILLMARO"}, ""},
    };
    // clang-format on
    return all;
}

// Runs each test against its own $TMPDIR, so the real temporary folder is never
// touched and no test sees another's files.
class TemplateFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("TMPDIR")) {
            savedTmpdir_ = old;
        }
        char base[] = "/tmp/lumaris-template-test-XXXXXX";
        ASSERT_NE(::mkdtemp(base), nullptr);
        base_ = base;
        ::setenv("TMPDIR", base, 1);
    }

    void TearDown() override {
        if (savedTmpdir_) {
            ::setenv("TMPDIR", savedTmpdir_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
        std::error_code ec;
        fs::remove_all(base_, ec);
    }

    fs::path base_;

  private:
    std::optional<std::string> savedTmpdir_;
};

inline std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Names in a folder, sorted: shows any stray file a write may have left.
inline std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Splits file bytes at CR LF; false when a line end is anything else or the
// last line lacks its CR LF.
inline bool splitCrLf(const std::string& bytes, std::vector<std::string>& lines) {
    lines.clear();
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            return false;
        }
        const std::string line = bytes.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) {
            return false;
        }
        lines.push_back(line);
        start = end + 2;
    }
    return true;
}

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys; // in file order, UTF-8

    std::string get(const std::string& key) const {
        for (const auto& [k, v] : keys) {
            if (k == key) {
                return v;
            }
        }
        return "<missing>";
    }
};

// Parses template lines (UTF-8) strictly in the written form: "[name]" or two
// blanks, key, "=", value. A line of any other form is reported as a failure.
inline std::vector<Section> parseSections(const std::vector<std::string>& lines) {
    std::vector<Section> sections;
    for (const std::string& line : lines) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            sections.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (sections.empty() || line.rfind("  ", 0) != 0 || eq == std::string::npos ||
            line[2] == ' ' || line[eq - 1] == ' ') {
            ADD_FAILURE() << "malformed line: " << line;
            continue;
        }
        sections.back().keys.emplace_back(line.substr(2, eq - 2), line.substr(eq + 1));
    }
    return sections;
}

// Writes template n and returns the file's bytes.
inline std::string writeTemplate(int n) {
    lumaris::modTemplateSlips::SelectTempFile(n);
    return readBytes(lumaris::modTemplateSlips::tmpSlpPath());
}

inline int ctlNumber(const std::string& sectionName) {
    if (sectionName.rfind("CTL_", 0) != 0 || sectionName.size() != 7) {
        return -1;
    }
    return std::atoi(sectionName.c_str() + 4);
}

} // namespace tpltest
