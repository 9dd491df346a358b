// Value rules, code page 1256 and the catalogues.

#include "core/catalogues.h"
#include "core/cp1256.h"
#include "core/fieldvalues.h"
#include "core/values.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

using namespace lumaris;

TEST(Values, RoundHalfEven) {
    // Halves go to the even neighbour; out-of-range values saturate instead of
    // being undefined behaviour. 12190.5 is 215 mm at 56.7 twips a millimetre.
    // clang-format off
    const std::pair<double, long long> rows[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.6, 3}, {-0.5, 0}, {12190.5, 12190},
        {NAN, 0}, {1e300, LLONG_MAX}, {-1e300, LLONG_MIN}, {INFINITY, LLONG_MAX}, {0x1p63, LLONG_MAX}};
    // clang-format on
    for (const auto& [in, out] : rows)
        EXPECT_EQ(roundHalfEven(in), out) << in;
}

TEST(Values, LeadingNumber) {
    // Blanks skipped, then sign, digits and one decimal point: no exponent, no
    // hex, never the locale's decimal comma.
    // clang-format off
    const std::pair<std::string, double> rows[] = {
        {"  12abc", 12}, {"\t7", 7}, {"-3.25", -3.25}, {"+4", 4}, {".5", 0.5}, {"1.2.3", 1.2},
        {"1e400", 1}, {"", 0}, {"-", 0}, {".", 0}, {"- 5", 0}, {"0x1F", 0}, {"1,5", 1},
        {"-2147483640", -2147483640.0}, {"0." + std::string(400, '0') + "1", 0}, // underflow
        {std::string(400, '9'), DBL_MAX}, {"-" + std::string(400, '9'), -DBL_MAX}}; // saturate
    // clang-format on
    for (const auto& [in, out] : rows)
        EXPECT_EQ(leadingNumber(in), out) << '"' << in << '"';
}

TEST(Values, FlagsTrimmingAndSectionNames) {
    // Only "TRUE" counts; "1", "yes" and "-1" (other spellings of true) do not.
    for (const char* yes : {"True", "TRUE", "  tRuE  "})
        EXPECT_TRUE(isTrueFlag(yes)) << yes;
    for (const char* no : {"", "False", "1", "-1", "yes", "TRUEX", "T RUE", "\tTrue"})
        EXPECT_FALSE(isTrueFlag(no)) << no;
    EXPECT_EQ(trimmed("  \ta b\t "), "\ta b\t"); // blanks are the space character only
    EXPECT_EQ(controlSection(12), "CTL_012");
    EXPECT_EQ(controlSection(2147483647), "CTL_2147483647"); // three digits at least, never cut
    EXPECT_FALSE(controlSection(LLONG_MIN).empty());         // must not crash
}

TEST(Values, CaptionRules) {
    // "||" and "\n" are line breaks (pairs taken from the left); the text is
    // trimmed first, then a leading colon moves to the end.
    // clang-format off
    const std::pair<std::string, std::string> rows[] = {
        {"  one||two  ", "one\r\ntwo"}, {"one\\ntwo", "one\r\ntwo"}, {"|||", "\r\n|"},
        {": name ", "name:"}, {":  ", ":"}, {"  :x||y", "x\r\ny:"}, {"a:b", "a:b"},
        {"\\\\n", "\\\r\n"}};
    // clang-format on
    for (const auto& [in, out] : rows)
        EXPECT_EQ(captionText(in), out) << '"' << in << '"';
}

TEST(Cp1256, AllBytesRoundTripAndUnknownCharactersBecomeQuestionMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1256(cp1256ToUtf8(all)), all);
    EXPECT_EQ(cp1256ToUtf8("\xC7\xE1\x80"), "ال€"); // ALEF, LAM, the euro sign

    // One "?" per character with no byte in 1256 (CJK, emoji) and per malformed
    // sequence (cut short, overlong, surrogate, bare 0xFF). Both sets of
    // Arabic-Indic digits keep their value as ASCII digits, among Arabic too.
    // clang-format off
    const std::pair<std::string, std::string> rows[] = {
        {"شعار", "\xD4\xDA\xC7\xD1"}, {"ع٣٣ع", "\xDA" "33\xDA"}, {"٠١٢٣٤٥٦٧٨٩", "0123456789"},
        {"۰۱۲۳۴۵۶۷۸۹", "0123456789"}, {"رقم ١٢٣ و۴", "\xD1\xDE\xE3 123 \xE6" "4"},
        {"日本", "??"}, {"x😀y", "x?y"},
        {"a\xFF" "b", "a?b"}, {"a\xC3", "a?"}, {"\xC3(", "?("}, {"\xE0\x80\x80z", "?z"},
        {"\xED\xA0\x80x", "?x"}};
    // clang-format on
    for (const auto& [in, out] : rows)
        EXPECT_EQ(utf8ToCp1256(in), out) << in;
}

TEST(Catalogues, FormTypeFieldsHaveCaptionsAndSamples) {
    // A typo in a list would bind a control to a field without a caption.
    for (int t = 1; t <= 12; ++t) {
        std::set<int> seen;
        for (int field : gFormTypes[t].fields) {
            ASSERT_TRUE(field >= 0 && field <= kMaxField) << t;
            EXPECT_FALSE(gFieldNames[field].empty()) << "type " << t << " field " << field;
            EXPECT_TRUE(seen.insert(field).second) << "type " << t << " repeats " << field;
        }
    }
    // Samples fill every entry; the table columns line up at five CR LF lines.
    gFieldValues.fill("stale");
    fillSampleFieldValues();
    EXPECT_EQ(std::count(gFieldValues.begin(), gFieldValues.end(), "stale"), 0);
    for (int n : {5, 6, 7}) {
        const std::string& v = gFieldValues[n];
        EXPECT_EQ(std::count(v.begin(), v.end(), '\n') + std::count(v.begin(), v.end(), '\r'), 8);
        EXPECT_EQ(v.find('\n'), v.find("\r\n") + 1) << n;
    }
    EXPECT_TRUE(gFieldValues[9] == gFieldValues[13] && gFieldValues[9][0] != '[');
    // The paper table as the designer lists it; every other code is unused.
    const std::map<int, PaperSize> papers = {{1, {"1-Letter, 8 1/2 x 11 in", 216, 280, 1}},
                                             {5, {"5-Legal, 8 1/2 x 14 in", 216, 355, 5}},
                                             {9, {"9-A4, 210 x 297 mm", 210, 297, 9}},
                                             {11, {"11-A5, 148 x 210 mm", 148, 210, 11}},
                                             {50, {"50-Slip 50, 215 x 205 mm", 215, 205, 256}}};
    for (size_t code = 0; code < gPaper.size(); ++code) {
        const PaperSize& p = gPaper[code];
        const PaperSize want = papers.count(int(code)) ? papers.at(int(code)) : PaperSize{};
        EXPECT_EQ(std::tie(p.name, p.widthMm, p.heightMm, p.printerCode),
                  std::tie(want.name, want.widthMm, want.heightMm, want.printerCode))
            << code;
    }
}
