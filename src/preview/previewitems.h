#pragma once
// The items of the preview page: labels, their boxes, and logo images.

#include <QWidget>

namespace lumaris {

class PreviewLabel : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
};

class PreviewShape : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
};

class PreviewImage : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
};

} // namespace lumaris
