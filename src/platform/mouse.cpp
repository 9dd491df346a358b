#include "platform/mouse.h"

#include <QWidget>

namespace lumaris::platform {

namespace {

class MouseWatcher : public QObject {
  public:
    MouseWatcher(QWidget* target, std::function<void(QMouseEvent*)> onMouse)
        : QObject(target), mOnMouse(std::move(onMouse)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
            type == QEvent::MouseButtonRelease)
            mOnMouse(static_cast<QMouseEvent*>(event));
        return false;
    }

  private:
    std::function<void(QMouseEvent*)> mOnMouse;
};

} // namespace

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

void watchMouse(QWidget* target, std::function<void(QMouseEvent*)> onMouse) {
    target->installEventFilter(new MouseWatcher(target, std::move(onMouse)));
}

void onClick(QWidget* target, std::function<void()> onClick) {
    watchMouse(target, [target, onClick = std::move(onClick)](QMouseEvent* mouse) {
        if (mouse->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
            target->rect().contains(mouse->position().toPoint()))
            onClick();
    });
}

} // namespace lumaris::platform
