#include "preview/sliptext.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace lumaris {

namespace {

// The text with its line breaks as Qt's line separator and its mnemonics
// resolved into underlined letters.
struct Prepared {
    QString text;
    QList<QTextLayout::FormatRange> underlines;
};

Prepared prepare(const QString& raw) {
    Prepared p;
    p.text.reserve(raw.size());
    bool underlineNext = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == QLatin1Char('&') && !underlineNext) {
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
            QTextLayout::FormatRange range;
            range.start = int(p.text.size());
            range.length = 1;
            range.format.setFontUnderline(true);
            p.underlines.append(range);
            underlineNext = false;
        }
        p.text += c;
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

// Lays the text out in lines of lineWidth, each baseline one line of the
// item's face below the last. Returns the number of lines (at least one).
int layOut(QTextLayout& layout, const QFont& font, const QPaintDevice* device, const Prepared& p,
           SlipAlign align, double lineWidth, bool wrap) {
    QTextOption option;
    option.setAlignment(horizontal(align));
    option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    option.setTextDirection(Qt::RightToLeft);
    layout.setTextOption(option);
    layout.setFormats(p.underlines);

    const QFontMetricsF metrics(font, device);
    int lines = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lineWidth);
        const double top = lines * metrics.height();
        line.setPosition(QPointF(0, top + metrics.ascent() - line.ascent()));
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

} // namespace

QSizeF slipTextSize(const QFont& font, const QPaintDevice* device, const QString& text,
                    SlipAlign align, double wrapWidth) {
    const Prepared p = prepare(text);
    const bool wrap = wrapWidth >= 0;
    QTextLayout layout(p.text, font, const_cast<QPaintDevice*>(device));
    const int lines = layOut(layout, font, device, p, align, wrap ? wrapWidth : 1.0e7, wrap);
    double width = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        width = std::max(width, layout.lineAt(i).naturalTextWidth());
    return QSizeF(width, lines * QFontMetricsF(font, device).height());
}

void drawSlipText(QPainter& painter, const QRectF& rect, const QString& text, SlipAlign align,
                  bool wrap) {
    const Prepared p = prepare(text);
    if (p.text.isEmpty())
        return;
    QTextLayout layout(p.text, painter.font(), painter.device());
    layOut(layout, painter.font(), painter.device(), p, align, std::max(0.0, rect.width()), wrap);
    layout.draw(&painter, rect.topLeft());
}

} // namespace lumaris
