#pragma once
// How a template slip is held: one row per control, as the slip shows it, plus
// the values its controls share. The .slp lines are produced from the rows.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumaris::modTemplateSlips {

// What a control sets differently from its template's shared values.
struct Other {
    std::string_view font{};
    std::optional<int> back{};
    std::optional<int> fore{};
};

struct CtlRow {
    int id;    // control number: section name, Id and stacking order (1 in front)
    int type;  // 1 fixed text, 2 data field, 3 logo
    int field; // field catalogue number; 0 for fixed texts and logos
    std::string_view text;
    int left, top, width, height; // twips
    int align, valign;            // 0 left/top, 1 right/middle, 2 centre/bottom
    int size;                     // points
    // The Booleans that are True, blank-separated: B bold, I italic,
    // U underline, Br border, T transparent, X excluded from print, W wrap.
    std::string_view flags;
    Other other{};
};

struct TemplateDef {
    int formNum;
    int ver; // 1 has no Wordwrap keys
    int orientation;
    int ctlCount; // may exceed the highest id: trailing free slots
    std::string_view fontName;
    int backColor;
    int foreColor;
    std::span<const CtlRow> rows;
};

inline constexpr int kWindowText = -2147483640; // system colour 8, high bit set
inline constexpr int kWhite = 16777215;

constexpr bool knownFlag(std::string_view f) {
    for (std::string_view k : {"B", "I", "U", "Br", "T", "X", "W"}) {
        if (f == k) {
            return true;
        }
    }
    return false;
}

constexpr bool flagsWellFormed(std::string_view flags) {
    while (!flags.empty()) {
        const auto blank = flags.find(' ');
        const auto token = flags.substr(0, blank);
        if (!knownFlag(token)) {
            return false;
        }
        flags = blank == std::string_view::npos ? std::string_view{} : flags.substr(blank + 1);
    }
    return true;
}

// Checked at compile time for every template, so that a mistyped row does not
// build: ascending ids within the count, known types and flags, and no field
// on a fixed text or logo.
constexpr bool wellFormed(const TemplateDef& t) {
    if (t.ver != 1 && t.ver != 2) {
        return false;
    }
    if (t.orientation != 1 && t.orientation != 2) {
        return false;
    }
    int previous = 0;
    for (const CtlRow& r : t.rows) {
        if (r.id <= previous || r.id > t.ctlCount || r.id > 999) {
            return false;
        }
        previous = r.id;
        if (r.type < 1 || r.type > 3 || (r.type != 2 && r.field != 0)) {
            return false;
        }
        if (r.field < 0 || r.field > 200 || r.align < 0 || r.align > 2 || r.valign < 0 ||
            r.valign > 2) {
            return false;
        }
        if (!flagsWellFormed(r.flags)) {
            return false;
        }
    }
    return true;
}

extern const TemplateDef kTemplet01, kTemplet02, kTemplet03, kTemplet04, kTemplet05, kTemplet06,
    kTemplet07, kTemplet08, kTemplet09, kTemplet10, kTemplet11, kTemplet12;

// The .slp lines of a template, UTF-8, without line ends.
std::vector<std::string> slipLines(const TemplateDef& t);

} // namespace lumaris::modTemplateSlips
