#include "core/catalogues.h"
#include "core/fieldvalues.h"

#include <set>

#include <gtest/gtest.h>

namespace lumaris {
namespace {

TEST(Catalogues, FormTypeFieldsAllHaveCaptions) {
    // A typo in a list would bind a control to a field without a caption.
    for (int t = 1; t <= 12; ++t) {
        const FormType& type = gFormTypes[t];
        EXPECT_EQ(type.number, t);
        EXPECT_FALSE(type.name.empty()) << t;
        std::set<int> seen;
        for (int field : type.fields) {
            ASSERT_GE(field, 0);
            ASSERT_LE(field, kMaxField);
            EXPECT_FALSE(gFieldNames[field].empty()) << "type " << t << " field " << field;
            EXPECT_TRUE(seen.insert(field).second) << "type " << t << " repeats " << field;
        }
    }
}

TEST(FieldValues, SamplesFillEveryEntry) {
    gFieldValues.fill("stale");
    fillSampleFieldValues();
    for (int n = 0; n <= kMaxField; ++n) {
        ASSERT_FALSE(gFieldValues[n].empty()) << n;
        EXPECT_NE(gFieldValues[n], "stale") << n;
    }
    EXPECT_EQ(gFieldValues[0], "[رقم القسيمة]");
    EXPECT_EQ(gFieldValues[17], "[]");
    EXPECT_EQ(gFieldValues[200], "[]");

    // The three table columns line up: five lines each.
    for (int n : {5, 6, 7}) {
        const std::string& v = gFieldValues[n];
        size_t breaks = 0;
        for (size_t p = v.find("\r\n"); p != std::string::npos; p = v.find("\r\n", p + 2))
            ++breaks;
        EXPECT_EQ(breaks, 4u) << n;
        EXPECT_EQ(v.find('\n'), v.find("\r\n") + 1) << n; // no bare LF
    }
    EXPECT_EQ(gFieldValues[9], gFieldValues[13]);
    EXPECT_EQ(gFieldValues[9].find('['), std::string::npos);
}

} // namespace
} // namespace lumaris
