#include "core/values.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace lumaris {
namespace {

TEST(Values, RoundHalfEven) {
    struct Row {
        double in;
        long long out;
    };
    const Row rows[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4}, // halves go to the even neighbour
        {2.4, 2},
        {2.6, 3},
        {-0.5, 0},
        {0.5, 0},
        {1.5, 2},
        {12190.5, 12190}, // 215 mm * 56.7
        {1e300, LLONG_MAX},
        {-1e300, LLONG_MIN}, // saturate, not undefined behaviour
        {9223372036854775808.0, LLONG_MAX},
        {INFINITY, LLONG_MAX},
        {-INFINITY, LLONG_MIN},
        {NAN, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(roundHalfEven(row.in), row.out) << row.in;
}

TEST(Values, LeadingNumber) {
    struct Row {
        std::string in;
        double out;
    };
    const Row rows[] = {
        {"12", 12},    {"  12abc", 12}, // blanks skipped, the number stops at the first non-digit
        {"\t7", 7},    {"-3.25", -3.25},
        {"+4", 4},     {".5", 0.5},
        {"5.", 5},     {"1.2.3", 1.2}, // one decimal point only
        {"1e400", 1},                  // no exponent
        {"1E5", 1},    {"", 0},
        {"abc", 0},    {"-", 0},
        {".", 0},      {"- 5", 0},
        {"0x1F", 0},   {"-2147483640", -2147483640.0},
        {"00012", 12}, {"0." + std::string(400, '0') + "1", 0}, // underflow is 0, not an error
        {"1,5", 1},                                             // never the locale's decimal comma
    };
    for (const auto& row : rows)
        EXPECT_EQ(leadingNumber(row.in), row.out) << '"' << row.in << '"';

    EXPECT_EQ(leadingNumber("-0"), 0.0);
    // 400 digits overflow a double: the result saturates and stays finite.
    const double huge = leadingNumber(std::string(400, '9'));
    EXPECT_TRUE(std::isfinite(huge));
    EXPECT_EQ(huge, DBL_MAX);
    EXPECT_EQ(leadingNumber("-" + std::string(400, '9')), -DBL_MAX);
}

TEST(Values, FlagsAndTrimming) {
    // Only "TRUE" counts; "1", "yes" and "-1" (VB's True) do not.
    for (const char* yes : {"True", "TRUE", "true", "  tRuE  "})
        EXPECT_TRUE(isTrueFlag(yes)) << yes;
    for (const char* no : {"", "False", "1", "-1", "yes", "TRUEX", "T RUE", "\tTrue"})
        EXPECT_FALSE(isTrueFlag(no)) << no;

    // Blanks are the space character only.
    EXPECT_EQ(trimmed("  a b  "), "a b");
    EXPECT_EQ(trimmed("    "), "");
    EXPECT_EQ(trimmed("\ta\t"), "\ta\t");
}

TEST(Values, CaptionRules) {
    struct Row {
        std::string in;
        std::string out;
    };
    const Row rows[] = {
        {"abc", "abc"},
        {"  one||two  ", "one\r\ntwo"},
        {"one\\ntwo", "one\r\ntwo"},
        {"end||", "end\r\n"},
        {"|||", "\r\n|"},     // pairs are taken from the left
        {": name ", "name:"}, // the leading colon moves to the end
        {":  ", ":"},
        {"  :x||y", "x\r\ny:"}, // trimmed first, so the colon is seen
        {"a:b", "a:b"},
        {"", ""},
        {"\\\\n", "\\\r\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(captionText(row.in), row.out) << '"' << row.in << '"';

    // colonRule alone does not trim what has no colon.
    EXPECT_EQ(colonRule(" a "), " a ");
    EXPECT_EQ(colonRule(":"), ":");
}

TEST(Values, ControlSection) {
    EXPECT_EQ(controlSection(1), "CTL_001");
    EXPECT_EQ(controlSection(12), "CTL_012");
    EXPECT_EQ(controlSection(100), "CTL_100");
    EXPECT_EQ(controlSection(1000), "CTL_1000");
    EXPECT_EQ(controlSection(2147483647), "CTL_2147483647");
    // Callers never pass these; they only must not crash.
    EXPECT_FALSE(controlSection(-5).empty());
    EXPECT_FALSE(controlSection(LLONG_MIN).empty());
}

} // namespace
} // namespace lumaris
