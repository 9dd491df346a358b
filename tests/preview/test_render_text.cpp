// Slip text measured as the printer's text call measures it.

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "preview/sliptext.h"

using lumaris::SlipAlign;
using lumaris::slipTextSize;

namespace {

QFont slipFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    return f;
}

// Line counts and widths follow the caption rules: CR LF, LF and a lone CR
// each break a line, a break at the end opens an empty last line, "&" before
// a letter takes no room and "&&" is one "&".
TEST(SlipText, LinesAndMnemonics) {
    QImage device(10, 10, QImage::Format_RGB32);
    const QFont font = slipFont();
    const double line = QFontMetricsF(font, &device).height();
    auto size = [&](const char* text) {
        return slipTextSize(font, &device, QString::fromUtf8(text), SlipAlign::Right);
    };
    struct Row {
        const char* text;
        int lines;
    } rows[] = {{"", 1},     {"one", 1},      {"a\r\nb", 2},     {"a\nb", 2},
                {"a\rb", 2}, {"ends\r\n", 2}, {"a\r\n\r\nb", 3}, {"&&", 1}};
    for (const Row& r : rows)
        EXPECT_DOUBLE_EQ(size(r.text).height(), r.lines * line) << r.text;

    EXPECT_DOUBLE_EQ(size("").width(), 0);
    EXPECT_DOUBLE_EQ(size("&Copy").width(), size("Copy").width());
    EXPECT_DOUBLE_EQ(size("A&B").width(), size("AB").width());
    EXPECT_GT(size("A&&B").width(), size("AB").width()); // "A&B" shown
    EXPECT_DOUBLE_EQ(size("Copy&").width(), size("Copy").width());
    EXPECT_DOUBLE_EQ(size("wide line\r\nw").width(), size("wide line").width());
}

// Arabic lines advance by the item's face like Latin ones, whichever taller
// face supplies the Arabic letters.
TEST(SlipText, ArabicLinesKeepTheFacesPitch) {
    QImage device(10, 10, QImage::Format_RGB32);
    const QFont font = slipFont();
    const QSizeF latin = slipTextSize(font, &device, QStringLiteral("ab\r\ncd"), SlipAlign::Left);
    const QSizeF arabic =
        slipTextSize(font, &device, QString::fromUtf8("رقم الحساب\r\nالتوقيع"), SlipAlign::Left);
    EXPECT_DOUBLE_EQ(arabic.height(), latin.height());
    EXPECT_GT(arabic.width(), 0);
}

// Wrapping breaks at blanks within the width and never inside a word.
TEST(SlipText, WrapsAtWordsWithinTheWidth) {
    QImage device(10, 10, QImage::Format_RGB32);
    const QFont font = slipFont();
    const QString words = QString::fromUtf8("كلمة كلمة كلمة كلمة");
    const QSizeF one = slipTextSize(font, &device, QString::fromUtf8("كلمة"), SlipAlign::Right);
    const QSizeF flat = slipTextSize(font, &device, words, SlipAlign::Right);
    const QSizeF wrapped = slipTextSize(font, &device, words, SlipAlign::Right, one.width() + 2);
    EXPECT_DOUBLE_EQ(flat.height(), one.height());
    EXPECT_DOUBLE_EQ(wrapped.height(), 4 * one.height());
    EXPECT_LE(wrapped.width(), one.width() + 2);
    // A word longer than the width stays whole on its line.
    const QSizeF narrow = slipTextSize(font, &device, words, SlipAlign::Right, 3);
    EXPECT_DOUBLE_EQ(narrow.height(), 4 * one.height());
    EXPECT_DOUBLE_EQ(narrow.width(), one.width());
}

} // namespace
