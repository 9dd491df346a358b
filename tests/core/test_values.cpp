#include "core/catalogues.h"
#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "core/values.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <map>
#include <set>

#include <gtest/gtest.h>

using namespace lumaris;

TEST(Values, NumbersFlagsCaptionsAndCodePage1256) {
    // Halves go to even (12190.5 twips is 215 mm); out of range saturates.
    // clang-format off
    for (const auto& [in, out] : std::initializer_list<std::pair<double, long long>>{
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {12190.5, 12190}, {NAN, 0}, {1e300, LLONG_MAX},
        {-1e300, LLONG_MIN}, {0x1p63, LLONG_MAX}})
        EXPECT_EQ(roundHalfEven(in), out) << in;
    // Blanks, sign, digits, one point: no exponent, no hex, no locale comma.
    for (const auto& [in, out] : std::initializer_list<std::pair<std::string, double>>{
        {"  12abc", 12}, {"\t7", 7}, {"-3.25", -3.25}, {"+4", 4}, {".5", 0.5}, {"1.2.3", 1.2},
        {"1e400", 1}, {"", 0}, {"-", 0}, {".", 0}, {"- 5", 0}, {"0x1F", 0}, {"1,5", 1},
        {"0." + std::string(400, '0') + "1", 0}, // underflow
        {std::string(400, '9'), DBL_MAX}, {"-" + std::string(400, '9'), -DBL_MAX}}) // saturate
        EXPECT_EQ(leadingNumber(in), out) << '"' << in << '"';
    // Only "TRUE" counts, trimmed of spaces (only), in any case.
    for (const auto& [in, out] : std::initializer_list<std::pair<const char*, bool>>{
        {"  tRuE  ", true}, {"1", false}, {"-1", false}, {"TRUEX", false}, {"\tTrue", false}})
        EXPECT_EQ(isTrueFlag(in), out) << in;
    // "||" and "\n" break lines; trimmed first, then a leading colon moves to the end.
    for (const auto& [in, out] : std::initializer_list<std::pair<std::string, std::string>>{
        {"  one||two  ", "one\r\ntwo"}, {"one\\ntwo", "one\r\ntwo"}, {"|||", "\r\n|"},
        {":  name ", "name:"}, {":  ", ":"}, {"  :x||y", "x\r\ny:"}, {"\\\\n", "\\\r\n"}})
        EXPECT_EQ(captionText(in), out) << '"' << in << '"';
    EXPECT_EQ(controlSection(2147483647), "CTL_2147483647"); // three digits at least, never cut
    EXPECT_FALSE(controlSection(LLONG_MIN).empty());         // must not crash
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1256(cp1256ToUtf8(all)), all);
    EXPECT_EQ(cp1256ToUtf8("\xC7\xE1\x80"), "ال€"); // ALEF, LAM, the euro sign
    // "?" per character without a byte and per bad sequence; Arabic-Indic digits kept.
    const std::pair<std::string, std::string> rows[] = {
        {"ع٣٣ع", "\xDA" "33\xDA"}, {"٠١٢٣٤٥٦٧٨٩", "0123456789"}, {"۰۱۲۳۴۵۶۷۸۹", "0123456789"},
        {"日本", "??"}, {"x😀y", "x?y"}, {"a\xFF" "b", "a?b"}, {"a\xC3", "a?"}, {"\xC3(", "?("},
        {"\xE0\x80\x80z", "?z"}, {"\xED\xA0\x80x", "?x"}};
    // clang-format on
    for (const auto& [in, out] : rows)
        EXPECT_EQ(utf8ToCp1256(in), out) << in;
}

TEST(Catalogues, FormTypeFieldsHaveCaptionsAndSamples) {
    // A typo in a list would bind a control to a field without a caption.
    for (int t = 1; t <= 12; ++t) {
        std::set<int> seen;
        for (int f : gFormTypes[t].fields)
            EXPECT_TRUE(f >= 0 && f <= kMaxField && !gFieldNames[f].empty() &&
                        seen.insert(f).second)
                << t << "/" << f;
    }
    // Samples fill every entry; the table columns line up at five CR LF lines.
    gFieldValues.fill("stale");
    fillSampleFieldValues();
    EXPECT_EQ(std::count(gFieldValues.begin(), gFieldValues.end(), "stale"), 0);
    for (const std::string& v : {gFieldValues[5], gFieldValues[6], gFieldValues[7]})
        EXPECT_TRUE(std::ranges::count(v, '\n') == 4 && std::ranges::count(v, '\r') == 4 &&
                    v.find('\n') == v.find("\r\n") + 1)
            << v;
    EXPECT_TRUE(gFieldValues[9] == gFieldValues[13] && gFieldValues[9][0] != '[');
    // Paper sizes in mm and the printer's code for them; every other code is unused.
    // clang-format off
    std::map<size_t, std::array<int, 3>> papers = {{1, {216, 280, 1}}, {5, {216, 355, 5}},
        {9, {210, 297, 9}}, {11, {148, 210, 11}}, {50, {215, 205, 256}}};
    for (size_t i = 0; i < gPaper.size(); ++i)
        EXPECT_EQ((std::array{gPaper[i].widthMm, gPaper[i].heightMm, gPaper[i].printerCode}), papers[i]) << i;
    // clang-format on
}
