#include "core/values.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>

namespace lumaris {

long long roundHalfEven(double value) {
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (value >= 9223372036854775808.0)
        return LLONG_MAX;
    if (value < -9223372036854775808.0)
        return LLONG_MIN;
    return static_cast<long long>(std::nearbyint(value));
}

double leadingNumber(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';
    const size_t start = i;
    bool nonZeroWhole = false;
    while (i < value.size() && value[i] >= '0' && value[i] <= '9')
        nonZeroWhole |= value[i++] != '0';
    const bool wholeDigits = i > start;
    bool fractionDigits = false;
    if (i < value.size() && value[i] == '.') {
        ++i;
        while (i < value.size() && value[i] >= '0' && value[i] <= '9') {
            ++i;
            fractionDigits = true;
        }
    }
    if (!wholeDigits && !fractionDigits)
        return 0;

    // from_chars ignores the locale, which a Qt application sets from the
    // environment (a "," decimal point would otherwise creep in).
    double result = 0;
    const char* first = value.data() + start;
    const auto [ptr, ec] =
        std::from_chars(first, value.data() + i, result, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range)
        result = nonZeroWhole ? DBL_MAX : 0.0; // overlong digit runs or underflow
    else if (ec != std::errc())
        result = 0;
    return negative ? -result : result;
}

std::string trimmed(std::string_view value) {
    const size_t first = value.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = value.find_last_not_of(' ');
    return std::string(value.substr(first, last - first + 1));
}

std::string upperAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

bool isTrueFlag(std::string_view value) {
    return upperAscii(trimmed(value)) == "TRUE";
}

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
}

} // namespace

std::string captionText(std::string_view text) {
    std::string result = trimmed(text);
    replaceAll(result, "||", "\r\n");
    replaceAll(result, "\\n", "\r\n");
    return colonRule(result);
}

std::string colonRule(std::string_view text) {
    if (text.empty() || text.front() != ':')
        return std::string(text);
    return trimmed(text.substr(1)) + ':';
}

std::string controlSection(long long number) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "CTL_%03lld", number);
    return buffer;
}

} // namespace lumaris
