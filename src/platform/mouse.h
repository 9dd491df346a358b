#pragma once
// Mouse events routed to a window's handlers.

#include <QMouseEvent>
#include <functional>

class QWidget;

namespace lumaris::platform {

// Buttons as the handlers number them: 1 left, 2 right, 4 middle, 0 any other.
int buttonCode(Qt::MouseButton button);

// Calls onMouse with every press, move and release that reaches target,
// before the target sees it.
void watchMouse(QWidget* target, std::function<void(QMouseEvent*)> onMouse);

// Calls onClick when the left button is released over target.
void onClick(QWidget* target, std::function<void()> onClick);

} // namespace lumaris::platform
