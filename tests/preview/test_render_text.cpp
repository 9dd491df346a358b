// Slip text measured as the printer's text call measures it.

#include <QFontMetricsF>
#include <QImage>
#include <gtest/gtest.h>

#include "preview/sliptext.h"

namespace {

// Sizes in a 16 px Arial on an image; line is the face's own line height.
struct Measure {
    QImage device{10, 10, QImage::Format_RGB32};
    QFont font{QStringLiteral("Arial")};
    Measure() { font.setPixelSize(16); }
    double line() const { return QFontMetricsF(font, &device).height(); }
    QSizeF operator()(const char* text, double wrapWidth = -1) const {
        return lumaris::slipTextSize(font, &device, QString::fromUtf8(text),
                                     lumaris::SlipAlign::Right, wrapWidth);
    }
};

// CR LF, LF and a lone CR each break a line, a break at the end opens an empty
// last line; "&" before a letter takes no room and "&&" is one "&". Arabic
// lines advance by the item's own face, whichever taller face draws them.
TEST(SlipText, LinesAndMnemonics) {
    const Measure size;
    const std::pair<const char*, int> rows[] = {
        {"", 1},           {"one", 1},  {"a\r\nb", 2},
        {"a\nb", 2},       {"a\rb", 2}, {"ends\r\n", 2},
        {"a\r\n\r\nb", 3}, {"&&", 1},   {"رقم الحساب\r\nالتوقيع", 2}};
    for (const auto& [text, lines] : rows)
        EXPECT_DOUBLE_EQ(size(text).height(), lines * size.line()) << text;
    const std::pair<const char*, const char*> sameWidth[] = {
        {"&Copy", "Copy"}, {"A&B", "AB"}, {"Copy&", "Copy"}, {"wide line\r\nw", "wide line"}};
    for (const auto& [text, shown] : sameWidth)
        EXPECT_DOUBLE_EQ(size(text).width(), size(shown).width()) << text;
    EXPECT_GT(size("A&&B").width(), size("AB").width()); // "A&B" shown
}

// Wrapping breaks at blanks within the width and never inside a word.
TEST(SlipText, WrapsAtWordsWithinTheWidth) {
    const Measure size;
    const char* words = "كلمة كلمة كلمة كلمة";
    const QSizeF one = size("كلمة");
    EXPECT_DOUBLE_EQ(size(words).height(), one.height());
    EXPECT_EQ(size(words, one.width() + 2), QSizeF(one.width(), 4 * one.height()));
    EXPECT_EQ(size(words, 3), QSizeF(one.width(), 4 * one.height())) << "words stay whole";
}

} // namespace
