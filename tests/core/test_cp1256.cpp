#include "core/cp1256.h"

#include <string>

#include <gtest/gtest.h>

namespace lumaris {
namespace {

TEST(Cp1256, AllBytesRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1256ToUtf8(all);
    EXPECT_GT(utf8.size(), all.size());
    EXPECT_EQ(utf8ToCp1256(utf8), all);
}

TEST(Cp1256, KnownCharacters) {
    // 0xC7 is ALEF, 0xE1 LAM; 0x80 the euro sign.
    EXPECT_EQ(cp1256ToUtf8("\xC7\xE1"), "ال");
    EXPECT_EQ(cp1256ToUtf8("\x80"), "€");
    EXPECT_EQ(utf8ToCp1256("شعار"), "\xD4\xDA\xC7\xD1");
    EXPECT_EQ(cp1256ToUtf8(""), "");
    EXPECT_EQ(utf8ToCp1256(""), "");
}

TEST(Cp1256, WhatCannotBeEncodedBecomesQuestionMark) {
    struct Row {
        std::string in;
        std::string out;
    };
    const Row rows[] = {
        {"a٣b", "a?b"}, // Arabic-Indic digit: no byte in 1256
        {"日本", "??"}, // one "?" per character, not per byte
        {"x😀y", "x?y"}, // four-byte sequence
        {"a\xFF"
         "b",
         "a?b"},                 // a byte that is never UTF-8
        {"a\xC3", "a?"},         // a sequence cut short at the end
        {"\xC3(", "?("},         // a lead byte without its continuation
        {"\xE0\x80\x80z", "?z"}, // overlong form of NUL: one bad sequence
        {"\xED\xA0\x80x", "?x"}, // a surrogate is not a character
        {"ع٣٣ع", "\xDA??\xDA"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(utf8ToCp1256(row.in), row.out) << row.in;
}

} // namespace
} // namespace lumaris
