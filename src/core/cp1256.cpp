#include "core/cp1256.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iconv.h>
#include <utility>

namespace lumaris {

namespace {

// The mapping comes from glibc's iconv, asked once per byte. Converting whole
// texts through iconv itself is quadratic when many characters fail: glibc
// converts the input again from its start after each error.
struct Tables {
    std::array<char32_t, 256> toUnicode{};
    std::array<std::pair<char32_t, unsigned char>, 128> fromUnicode{}; // upper half, sorted

    Tables() {
        for (int b = 0; b < 256; ++b)
            toUnicode[b] = b < 128 ? static_cast<char32_t>(b) : U'?';
        const iconv_t cd = iconv_open("UTF-32LE", "CP1256");
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            for (int b = 128; b < 256; ++b) {
                char in = static_cast<char>(b);
                unsigned char out[4] = {};
                char* inPtr = &in;
                char* outPtr = reinterpret_cast<char*>(out);
                size_t inLeft = 1, outLeft = 4;
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) &&
                    outLeft == 0)
                    toUnicode[b] = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 |
                                                         static_cast<uint32_t>(out[3]) << 24);
            }
            iconv_close(cd);
        }
        for (int b = 128; b < 256; ++b)
            fromUnicode[b - 128] = {toUnicode[b], static_cast<unsigned char>(b)};
        std::sort(fromUnicode.begin(), fromUnicode.end());
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the UTF-8 sequence at text[i]; advances i past it. An ill-formed
// sequence (bad lead, missing continuation, overlong form, surrogate, beyond
// U+10FFFF) gives U+FFFD and advances past its lead byte and any continuation
// bytes that belong to it, so one bad sequence costs one "?".
char32_t nextCodePoint(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80)
        return lead;
    size_t length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0xFFFD;
    }
    size_t k = 1;
    for (; k < length && i < text.size() && (byte(i) & 0xC0) == 0x80; ++k)
        c = c << 6 | (byte(i++) & 0x3F);
    if (k < length)
        return 0xFFFD;
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return 0xFFFD;
    return c;
}

} // namespace

std::string cp1256ToUtf8(std::string_view bytes) {
    const auto& t = tables();
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char b : bytes)
        appendUtf8(out, t.toUnicode[static_cast<unsigned char>(b)]);
    return out;
}

std::string utf8ToCp1256(std::string_view text) {
    const auto& map = tables().fromUnicode;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t c = nextCodePoint(text, i);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // 1256 has no Arabic-Indic digits; a number must keep its value.
        if ((c >= 0x660 && c <= 0x669) || (c >= 0x6F0 && c <= 0x6F9)) {
            out += static_cast<char>('0' + (c & 0xF));
            continue;
        }
        const auto it =
            std::lower_bound(map.begin(), map.end(), std::make_pair(c, (unsigned char)0));
        out += (it != map.end() && it->first == c) ? static_cast<char>(it->second) : '?';
    }
    return out;
}

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        appendUtf8(out, nextCodePoint(text, i));
    return out;
}

} // namespace lumaris
