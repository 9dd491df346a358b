#include "preview/previewstyle.h"

#include <array>
#include <cmath>

#include "core/values.h"

namespace lumaris {

QColor systemColor(int index) {
    // The classic desktop scheme, so that a slip looks the same on every machine.
    static constexpr std::array<unsigned, 25> kScheme = {
        0xC8C8C8, // scroll bar
        0x000000, // desktop
        0x99B4D1, // active caption
        0xBFCDDB, // inactive caption
        0xF0F0F0, // menu
        0xFFFFFF, // window
        0x646464, // window frame
        0x000000, // menu text
        0x000000, // window text
        0x000000, // caption text
        0xB4B4B4, // active border
        0xF4F7FC, // inactive border
        0xABABAB, // application workspace
        0x3399FF, // highlight
        0xFFFFFF, // highlighted text
        0xF0F0F0, // button face
        0xA0A0A0, // button shadow
        0x6D6D6D, // grey text
        0x000000, // button text
        0x434E54, // inactive caption text
        0xFFFFFF, // button highlight
        0x696969, // 3D dark shadow
        0xE3E3E3, // 3D light
        0x000000, // tooltip text
        0xFFFFE1, // tooltip background
    };
    if (index < 0 || index >= int(kScheme.size()))
        return QColor(Qt::black);
    return QColor::fromRgb(kScheme[size_t(index)]);
}

std::optional<QColor> slipColor(double number) {
    if (!std::isfinite(number))
        return std::nullopt;
    const long long whole = roundHalfEven(number);
    if (whole < -2147483648LL || whole > 0xFFFFFFLL)
        return std::nullopt;
    // Negative numbers are the 32-bit patterns with the high bit set.
    const auto bits = static_cast<unsigned>(whole & 0xFFFFFFFFLL);
    if (bits & 0x80000000u) {
        const unsigned index = bits & 0x7FFFFFFFu;
        if (index > 24)
            return std::nullopt;
        return systemColor(int(index));
    }
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

QString faceName(const QString& fontName) {
    QString name = fontName.trimmed();
    const int open = name.indexOf(QLatin1String(" ("));
    if (open > 0 && name.endsWith(QLatin1Char(')')))
        name.truncate(open);
    return name.trimmed();
}

} // namespace lumaris
