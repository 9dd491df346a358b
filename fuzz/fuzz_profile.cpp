// The profile reader against a plain model of its rules (profile.h): the
// sections it lists and every key of every section, looked up with names
// taken from the input in other letter cases, and names that are not there.

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/profile.h"
#include "core/values.h"
#include "fuzz_util.h"

namespace {

struct Entry {
    std::string section, key, value;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return out;
}

// Whole lines at a time, first occurrence wins. Inputs stay far below the
// reader's size limits, so the model has none.
struct Model {
    std::vector<std::string> sections; // as written, first occurrences
    std::vector<Entry> entries;        // first occurrences
    std::set<std::string> upperSections;
    std::map<std::pair<std::string, std::string>, size_t> index; // upper-cased names -> entry

    explicit Model(std::string_view text) {
        bool inSection = false;
        std::string current;
        size_t i = 0;
        while (i <= text.size()) {
            size_t end = text.find_first_of("\r\n", i);
            if (end == std::string_view::npos)
                end = text.size();
            line(text.substr(i, end - i), inSection, current);
            if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
                ++end;
            i = end + 1;
        }
    }

    const Entry* find(std::string_view section, std::string_view key) const {
        const auto it = index.find({lumaris::upperAscii(section), lumaris::upperAscii(key)});
        return it == index.end() ? nullptr : &entries[it->second];
    }

    void line(std::string_view raw, bool& inSection, std::string& current) {
        const std::string_view l =
            trimBlanks(raw).empty() ? raw : raw.substr(raw.find_first_not_of(" \t"));
        const size_t close = l.find(']');
        if (!l.empty() && l.front() == '[' && close != std::string_view::npos) {
            const std::string name(trimBlanks(l.substr(1, close - 1)));
            inSection = upperSections.insert(lumaris::upperAscii(name)).second;
            current = name;
            if (inSection)
                sections.push_back(name);
            return;
        }
        const size_t eq = l.find('=');
        if (!inSection || eq == std::string_view::npos)
            return;
        const std::string_view key = trimBlanks(l.substr(0, eq));
        std::string_view value = trimBlanks(l.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        value = value.substr(0, std::min(value.find('\0'), size_t(254)));
        if (index
                .try_emplace({lumaris::upperAscii(current), lumaris::upperAscii(key)},
                             entries.size())
                .second)
            entries.push_back({current, std::string(key), std::string(value)});
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::writeFile("in.ini", text);
    const Model model(text);
    // One parse for all the lookups: a file written this second is otherwise
    // parsed again at every read.
    const lumaris::ProfilePin pin(path);

    FUZZ_CHECK(lumaris::profileSectionNames(path) == model.sections);
    for (const Entry& e : model.entries) {
        FUZZ_CHECK(lumaris::readProfileString(path, e.section, e.key) == e.value);
        FUZZ_CHECK(lumaris::readProfileString(path, lowerAscii(e.section),
                                              lumaris::upperAscii(e.key)) == e.value);
        // A near miss: one byte more on the key.
        const std::string other = e.key + "x";
        const Entry* expected = model.find(e.section, other);
        FUZZ_CHECK(lumaris::readProfileString(path, e.section, other) ==
                   (expected ? expected->value : std::string()));
    }
    // Names straight from the input's first line, present or not.
    const std::string_view first = text.substr(0, std::min(text.find_first_of("\r\n"), size_t(64)));
    for (size_t cut = 0; cut <= first.size(); cut += 1 + first.size() / 4) {
        const std::string_view a = first.substr(0, cut), b = first.substr(cut);
        const Entry* expected = model.find(a, b);
        FUZZ_CHECK(lumaris::readProfileString(path, a, b) ==
                   (expected ? expected->value : std::string()));
    }
    return 0;
}
