#include "core/fieldvalues.h"

namespace lumaris {

std::array<std::string, kMaxField + 1> gFieldValues;

void fillSampleFieldValues() {
    for (int n = 0; n <= kMaxField; ++n)
        gFieldValues[n] = "[" + gFieldNames[n] + "]";

    // The currency table: names, note counts and values, one currency a line.
    gFieldValues[5] = "دينار ليبي\r\nدولار أمريكي\r\nيورو\r\nجنيه إسترليني\r\nدينار تونسي";
    gFieldValues[6] = "120\r\n45\r\n30\r\n12\r\n8";
    gFieldValues[7] = "12000.000\r\n6345.000\r\n4620.500\r\n2214.750\r\n356.250";

    // A cheque line in E-13B as magnetic-ink fonts map it: A transit, C on-us.
    const std::string micr = "C000123C A021000089A 1234567890C";
    gFieldValues[9] = micr;
    gFieldValues[13] = micr;
}

} // namespace lumaris
