#pragma once
// A slip's text as the printer's text call lays it out: lines broken at line
// breaks (and, with wrapping, at word boundaries within the width), "&" hiding
// itself and underlining the next letter ("&&" shows one "&") unless the text is
// data, right-to-left reading, alignment in absolute terms.
//
// Lines advance by the line height of the item's own face. Qt would take the
// tallest face on the line instead, and the faces that supply Arabic letters
// here are much taller than the Windows face the slip was designed with: a
// 12 pt Arabic line would take 34 px where the slip planned about 19. Each line
// sits as high or low in its line as its ink needs; ink that no placement fits
// (a mark above an alef and a hamza below one on the same line) adds to the
// text's height, so that nothing of it is cut.
//
// Where the item's face is missing, its Arabic is set in the platform's Arabic
// stand-in, condensed to the width the slip was designed for; Latin keeps the
// substitute of the face itself.

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

class QPainter;
class QPaintDevice;

namespace lumaris {

enum class SlipAlign { Left, Right, Center };

// A caption shows "&" as a mnemonic mark; data shows every "&" as it stands.
enum class SlipAmpersand { Mnemonic, Literal };

// Texts laid out for one window, so that a zoom back or a repaint reuses them
// instead of shaping again. Each is kept for its text, face, width, wrapping,
// alignment, ampersands and the device's dpi; the least recently used go first
// beyond kMaxEntries. The printer's renderer keeps none: it draws each text
// once a copy, and its layouts would only push out the screen's.
class SlipTextCache {
  public:
    // A full slip takes about 120 a zoom; at some 3 KB each, 3 MB at most.
    static constexpr int kMaxEntries = 1000;
    SlipTextCache();
    ~SlipTextCache();
    SlipTextCache(const SlipTextCache&) = delete;
    SlipTextCache& operator=(const SlipTextCache&) = delete;
    qsizetype size() const;
    void clear();

    struct Store; // known to sliptext.cpp alone
    Store& store() { return *mStore; }

  private:
    std::unique_ptr<Store> mStore;
};

// The text's extent in device pixels: the widest line by all lines. With
// wrapWidth >= 0 the lines wrap within that width. An empty text takes one line.
// With a cache the layout is taken from it or kept in it.
QSizeF slipTextSize(const QFont& font, const QPaintDevice* device, const QString& text,
                    SlipAlign align, double wrapWidth = -1,
                    SlipAmpersand ampersand = SlipAmpersand::Mnemonic,
                    SlipTextCache* cache = nullptr);

// Draws the text from the top of the rectangle with the painter's font and pen,
// aligned within the rectangle's width and wrapped there when wrap is set.
void drawSlipText(QPainter& painter, const QRectF& rect, const QString& text, SlipAlign align,
                  bool wrap, SlipAmpersand ampersand = SlipAmpersand::Mnemonic,
                  SlipTextCache* cache = nullptr);

// Where drawSlipText would put ink, in device pixels: the bounds of the glyphs.
QRectF slipTextInk(const QFont& font, const QPaintDevice* device, const QRectF& rect,
                   const QString& text, SlipAlign align, bool wrap,
                   SlipAmpersand ampersand = SlipAmpersand::Mnemonic);

} // namespace lumaris
