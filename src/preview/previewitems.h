#pragma once
// The items of the preview page: labels, their boxes, and logo images. Each
// keeps its geometry in twips (platform/twips.h); item 0 of each control array
// is a hidden template that new items copy.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>
#include <QWidget>

namespace lumaris {

enum class SlipAlign;
enum class SlipAmpersand;
class SlipTextCache;

// A caption drawn as the printer draws it: "&" hides and underlines the next
// letter ("&&" shows one "&") unless mnemonics are off, right-to-left reading,
// alignment in absolute terms whatever the script.
class PreviewLabel : public QWidget {
    Q_OBJECT
  public:
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

    explicit PreviewLabel(QWidget* parent = nullptr);

    // Takes every property of another item of the array but its visibility and index.
    void copyFrom(const PreviewLabel& other);

    // Where the caption's layouts are kept (none: laid out at every use). The
    // cache must outlive the label.
    void setTextCache(SlipTextCache* cache) { mTextCache = cache; }

    int index() const { return mIndex; }
    void setIndex(int index) { mIndex = index; }

    QString caption() const { return mCaption; }
    void setCaption(const QString& caption);

    // Off for data, whose "&" shows as it stands.
    bool useMnemonic() const { return mUseMnemonic; }
    void setUseMnemonic(bool on);

    int alignment() const { return mAlignment; }
    // False, and no change, for a value other than 0, 1 or 2.
    bool setAlignment(int alignment);

    // The face without a " (...)" charset suffix; an empty name keeps the face.
    void setFontName(const QString& name);
    double fontSize() const { return mPoints; }
    // Points at 20 twips each. False, and no change, for a size the label
    // cannot show (not above 0, or absurdly large).
    bool setFontSize(double points);
    void setFontBold(bool on);
    void setFontItalic(bool on);
    void setFontUnderline(bool on);
    // The font as drawn on this label's screen (point size adjusted for its dpi).
    QFont drawFont() const;

    QColor foreColor() const { return mForeColor; }
    void setForeColor(const QColor& colour);
    bool backOpaque() const { return mBackOpaque; }
    void setBackOpaque(bool opaque);
    QColor backColor() const { return mBackColor; }
    void setBackColor(const QColor& colour);

    QString tag() const { return mTag; }
    void setTag(const QString& tag) { mTag = tag; }

    // Wraps at word boundaries within its width when painting and sizing.
    bool wordWrap() const { return mWordWrap; }
    void setWordWrap(bool on);

    // The caption's extent in twips: unwrapped (widest line by all lines) when
    // wrapWidth is negative, else its height wrapped within wrapWidth twips.
    QSizeF captionExtent(double wrapWidth = -1) const;
    // Width and height to the caption without wrapping.
    void autoSize();
    // Height to the caption wrapped within the current width.
    void autoSizeWrapped();

  signals:
    // A mouse button released over the label: 1 left, 2 right, 4 middle.
    void mouseUp(int index, int button);
    // A left click, after its mouseUp.
    void clicked(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    SlipAlign slipAlign() const;
    SlipAmpersand ampersand() const;
    void applyFont();

    int mIndex = 0;
    QString mCaption;
    int mAlignment = AlignLeft;
    QFont mFont;
    double mPoints = 8.25;
    QColor mForeColor = Qt::black;
    bool mBackOpaque = false;
    QColor mBackColor = Qt::white;
    QString mTag;
    bool mWordWrap = false;
    bool mUseMnemonic = true;
    SlipTextCache* mTextCache = nullptr;
};

// A rectangle behind a label: solid fill or none, thin solid outline or none.
// Mouse events pass through it to what lies behind.
class PreviewShape : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewShape(QWidget* parent = nullptr);
    void copyFrom(const PreviewShape& other);

    int index() const { return mIndex; }
    void setIndex(int index) { mIndex = index; }

    bool filled() const { return mFilled; }
    void setFilled(bool on);
    QColor fillColor() const { return mFillColor; }
    void setFillColor(const QColor& colour);
    bool outlined() const { return mOutlined; }
    void setOutlined(bool on);
    QColor outlineColor() const { return mOutlineColor; }
    void setOutlineColor(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int mIndex = 0;
    bool mFilled = false;
    QColor mFillColor = Qt::white;
    bool mOutlined = true;
    QColor mOutlineColor = Qt::black;
};

// A logo: the picture stretched to the image's rectangle, with an optional
// single-line border. It takes mouse presses so that they do not reach the page.
class PreviewImage : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewImage(QWidget* parent = nullptr);
    void copyFrom(const PreviewImage& other);

    int index() const { return mIndex; }
    void setIndex(int index) { mIndex = index; }

    const QImage& picture() const { return mPicture; }
    void setPicture(const QImage& picture);
    bool bordered() const { return mBordered; }
    void setBordered(bool on);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int mIndex = 0;
    QImage mPicture;
    bool mBordered = false;
};

} // namespace lumaris
