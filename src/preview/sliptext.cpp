#include "preview/sliptext.h"

#include <QCache>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>

#include "platform/fonts.h"

namespace lumaris {

namespace {

// The text with its line breaks as Qt's line separator, its mnemonics resolved
// into underlined letters, and its Arabic set apart where the face is missing.
struct Prepared {
    QString text;
    QList<QTextLayout::FormatRange> formats;
};

bool isArabic(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x0600 && u <= 0x06FF) || (u >= 0x0750 && u <= 0x077F) ||
           (u >= 0x08A0 && u <= 0x08FF) || (u >= 0xFB50 && u <= 0xFDFF) ||
           (u >= 0xFE70 && u <= 0xFEFF);
}

Prepared prepare(const QString& raw, const QFont& font, SlipAmpersand ampersand) {
    Prepared p;
    p.text.reserve(raw.size());
    std::vector<qsizetype> underlined;
    const bool mnemonic = ampersand == SlipAmpersand::Mnemonic;
    bool underlineNext = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (mnemonic && c == QLatin1Char('&') && !underlineNext) {
            if (i + 1 < raw.size() && raw[i + 1] == QLatin1Char('&')) {
                p.text += c;
                ++i;
            } else {
                underlineNext = true; // a last "&" shows nothing
            }
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < raw.size() && raw[i + 1] == QLatin1Char('\n'))
                ++i;
            p.text += QChar::LineSeparator;
            underlineNext = false;
            continue;
        }
        if (underlineNext) {
            underlined.push_back(p.text.size());
            underlineNext = false;
        }
        p.text += c;
    }

    // One range per run of letters formatted alike, so that words shape whole:
    // bit 1 underlined by a mnemonic, bit 2 Arabic set in the stand-in.
    const bool standIn = !platform::faceInstalled(font.family());
    auto kindAt = [&](qsizetype i) {
        return int(std::find(underlined.begin(), underlined.end(), i) != underlined.end()) |
               (standIn && isArabic(p.text[i]) ? 2 : 0);
    };
    for (qsizetype i = 0; i < p.text.size();) {
        const int kind = kindAt(i);
        qsizetype end = i + 1;
        while (end < p.text.size() && kindAt(end) == kind)
            ++end;
        if (kind != 0) {
            QTextCharFormat f;
            if (kind & 1)
                f.setFontUnderline(true);
            if (kind & 2) {
                const platform::ArabicStandIn arabic = platform::arabicStandIn();
                f.setFontFamilies(QStringList{arabic.family});
                f.setFontStretch(arabic.stretch);
            }
            p.formats.append({int(i), int(end - i), f});
        }
        i = end;
    }
    return p;
}

Qt::Alignment horizontal(SlipAlign align) {
    switch (align) {
    case SlipAlign::Right:
        return Qt::AlignRight | Qt::AlignAbsolute;
    case SlipAlign::Center:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft | Qt::AlignAbsolute;
    }
}

QRectF lineInk(const QTextLine& line) {
    QRectF ink;
    for (const QGlyphRun& run : line.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRectF glyph = font.boundingRect(glyphs[i]);
            if (!glyph.isEmpty())
                ink |= glyph.translated(positions[i]);
        }
    }
    return ink;
}

// How far to move ink spanning [from, to] to bring it within [low, high], as
// far as the other side allows.
double fitShift(double from, double to, double low, double high) {
    if (to > high)
        return -std::min(to - high, std::max(0.0, from - low));
    if (from < low)
        return std::min(low - from, std::max(0.0, high - to));
    return 0;
}

// A text laid out in lines of lineWidth, each in a line of the item's face
// below the last, and its extent.
struct Laid {
    Laid(const QString& text, const QFont& font, const QPaintDevice* device)
        : layout(text, font, device) {}
    QTextLayout layout;
    QSizeF size;
};

std::unique_ptr<Laid> layOut(const QFont& font, const QPaintDevice* device, const QString& text,
                             SlipAlign align, double lineWidth, bool wrap,
                             SlipAmpersand ampersand) {
    const Prepared p = prepare(text, font, ampersand);
    auto laid = std::make_unique<Laid>(p.text, font, device);
    QTextLayout& layout = laid->layout;
    QTextOption option;
    option.setAlignment(horizontal(align));
    option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTextDirection(Qt::RightToLeft);
    layout.setTextOption(option);
    layout.setFormats(p.formats);
    // Keep the shaped glyphs after endLayout: the ink below and every draw
    // would otherwise shape the text again, the dearest part of it all.
    layout.setCacheEnabled(true);

    const QFontMetricsF metrics(font, device);
    const double height = metrics.height();
    int lines = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lineWidth);
        line.setPosition(QPointF(0, lines * height + metrics.ascent() - line.ascent()));
        ++lines;
    }
    layout.endLayout();

    // A line whose ink leaves its line moves within it as far as its ink
    // allows; what still sticks out above the first line or below the last
    // widens the extent. The last pixel is kept clear: the printer's clip may
    // round a pixel short of the measured height.
    const int count = layout.lineCount();
    const double end = count * height - 1;
    double above = 0;
    double below = 0;
    double width = 0;
    for (int i = 0; i < count; ++i) {
        QTextLine line = layout.lineAt(i);
        width = std::max(width, line.naturalTextWidth());
        const QRectF ink = lineInk(line);
        if (ink.isEmpty())
            continue;
        const double dx = fitShift(ink.left(), ink.right(), 0, lineWidth);
        const double dy =
            fitShift(ink.top(), ink.bottom(), i * height, i + 1 == count ? end : (i + 1) * height);
        line.setPosition(line.position() + QPointF(dx, dy));
        above = std::max(above, -(ink.top() + dy));
        below = std::max(below, ink.bottom() + dy - end);
    }
    if (above > 0)
        for (int i = 0; i < count; ++i)
            layout.lineAt(i).setPosition(layout.lineAt(i).position() + QPointF(0, above));
    laid->size = QSizeF(width, std::max(lines, 1) * height + above + below);
    return laid;
}

// Unwrapped lines are laid out in a width no text reaches.
constexpr double kUnbounded = 1.0e7;

} // namespace

struct SlipTextCache::Store {
    struct Key {
        QString text;
        QFont font;
        int dpiX;
        int dpiY;
        double lineWidth;
        bool wrap;
        SlipAlign align;
        SlipAmpersand ampersand;
        bool operator==(const Key&) const = default;
        // A font's own hash leaves out its point size.
        friend size_t qHash(const Key& k, size_t seed) {
            return qHashMulti(seed, k.text, k.font, k.font.pointSizeF(), k.dpiX, k.dpiY,
                              k.lineWidth, int(k.wrap), int(k.align), int(k.ampersand));
        }
    };
    QCache<Key, Laid> laid{kMaxEntries};
};

SlipTextCache::SlipTextCache() : mStore(std::make_unique<Store>()) {}
SlipTextCache::~SlipTextCache() = default;

qsizetype SlipTextCache::size() const {
    return mStore->laid.size();
}

void SlipTextCache::clear() {
    mStore->laid.clear();
}

namespace {

// The text laid out, from the cache or into it; without a cache into `own`.
// What is returned stays valid until the cache takes another text.
const Laid& laidOut(SlipTextCache* cache, std::unique_ptr<Laid>& own, const QFont& font,
                    const QPaintDevice* device, const QString& text, SlipAlign align,
                    double lineWidth, bool wrap, SlipAmpersand ampersand) {
    if (!cache) {
        own = layOut(font, device, text, align, lineWidth, wrap, ampersand);
        return *own;
    }
    QCache<SlipTextCache::Store::Key, Laid>& kept = cache->store().laid;
    const SlipTextCache::Store::Key key{.text = text,
                                        .font = font,
                                        .dpiX = device->logicalDpiX(),
                                        .dpiY = device->logicalDpiY(),
                                        .lineWidth = lineWidth,
                                        .wrap = wrap,
                                        .align = align,
                                        .ampersand = ampersand};
    if (const Laid* hit = kept.object(key))
        return *hit;
    Laid* laid = layOut(font, device, text, align, lineWidth, wrap, ampersand).release();
    kept.insert(key, laid);
    return *laid;
}

} // namespace

QSizeF slipTextSize(const QFont& font, const QPaintDevice* device, const QString& text,
                    SlipAlign align, double wrapWidth, SlipAmpersand ampersand,
                    SlipTextCache* cache) {
    const bool wrap = wrapWidth >= 0;
    std::unique_ptr<Laid> own;
    return laidOut(cache, own, font, device, text, align, wrap ? wrapWidth : kUnbounded, wrap,
                   ampersand)
        .size;
}

void drawSlipText(QPainter& painter, const QRectF& rect, const QString& text, SlipAlign align,
                  bool wrap, SlipAmpersand ampersand, SlipTextCache* cache) {
    std::unique_ptr<Laid> own;
    const Laid& laid = laidOut(cache, own, painter.font(), painter.device(), text, align,
                               std::max(0.0, rect.width()), wrap, ampersand);
    if (!laid.layout.text().isEmpty())
        laid.layout.draw(&painter, rect.topLeft());
}

QRectF slipTextInk(const QFont& font, const QPaintDevice* device, const QRectF& rect,
                   const QString& text, SlipAlign align, bool wrap, SlipAmpersand ampersand) {
    const std::unique_ptr<Laid> laid =
        layOut(font, device, text, align, std::max(0.0, rect.width()), wrap, ampersand);
    QRectF ink;
    for (int i = 0; i < laid->layout.lineCount(); ++i)
        ink |= lineInk(laid->layout.lineAt(i));
    return ink.translated(rect.topLeft());
}

} // namespace lumaris
