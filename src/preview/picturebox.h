#pragma once

#include <QFrame>
#include <QImage>
#include <QWidget>

namespace lumaris {

// A picture box: holds one picture. With autoSize it takes the size of the
// picture put into it (at one picture pixel per logical pixel); otherwise it
// keeps its own size and draws the picture at its top-left corner.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr, bool autoSize = false);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return mPicture; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage mPicture;
    bool mAutoSize;
};

// A picture box with the sunken border a desktop picture box has by default.
// Its children go into client(), which fills the inside of the border: they are
// placed from the inner edge and nothing of them shows on or past the border.
class SunkenBox : public QFrame {
    Q_OBJECT
  public:
    explicit SunkenBox(QWidget* parent = nullptr);

    QWidget* client() const { return mClient; }
    // Fits the client to the inside of the border at once, also while hidden
    // (a hidden widget gets its resize event only when shown).
    void fitClient();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* mClient;
};

} // namespace lumaris
