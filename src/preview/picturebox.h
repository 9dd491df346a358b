#pragma once

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

} // namespace lumaris
