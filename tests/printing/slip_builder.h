#pragma once
// Slip sections for the printing tests, with the keys the slip writer writes.

#include "printing_support.h"

namespace lumaris::testing {

struct Item {
    int id = 1;
    int type = 1;                                               // 1 text, 2 data field, 3 logo
    double left = 1440, top = 1440, width = 2880, height = 600; // twips
    Keys extra; // keys that differ from a plain left-aligned 12 pt text
};

inline std::pair<QString, Keys> control(const Item& item) {
    Keys keys = {{"Id", QString::number(item.id)},
                 {"Text", QString()},
                 {"Field", "0"},
                 {"Type", QString::number(item.type)},
                 {"Alignment", "0"},
                 {"VAlignment", "0"},
                 {"Border", "False"},
                 {"FontBold", "False"},
                 {"FontItalic", "False"},
                 {"FontName", "Arial"},
                 {"FontUnderline", "False"},
                 {"FontSize", "12"},
                 {"Left", QString::number(item.left)},
                 {"Top", QString::number(item.top)},
                 {"Width", QString::number(item.width)},
                 {"Height", QString::number(item.height)},
                 {"BackStyle", "True"},
                 {"BackColor", "16777215"},
                 {"ForeColor", "-2147483640"},
                 {"IgnorePrint", "False"},
                 {"FilePath", QString()},
                 {"Wordwrap", "False"}};
    for (const auto& [key, value] : item.extra) {
        auto it =
            std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.first == key; });
        if (it != keys.end())
            it->second = value;
        else
            keys.emplace_back(key, value);
    }
    return {QStringLiteral("CTL_%1").arg(item.id, 3, 10, QLatin1Char('0')), keys};
}

// A slip of the given paper with these controls; CTL_Count is the highest id
// unless given.
inline Sections slip(const std::vector<Item>& items, int paper = 9, int orientation = 1,
                     int count = -1) {
    int highest = 0;
    for (const Item& i : items)
        highest = std::max(highest, i.id);
    Sections s = {{"Main",
                   {{"Ver", "2"},
                    {"FormNum", "1"},
                    {"CTL_Count", QString::number(count < 0 ? highest : count)}}},
                  {"Page",
                   {{"Size", QString::number(paper)},
                    {"Width", "210"},
                    {"Height", "297"},
                    {"Orientation", QString::number(orientation)}}}};
    for (const Item& i : items)
        s.push_back(control(i));
    return s;
}

} // namespace lumaris::testing
