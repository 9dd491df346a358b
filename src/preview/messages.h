#pragma once
// The window's error messages, behind a function that tests replace so that no
// message box ever blocks them.

#include <QString>
#include <functional>

class QWidget;

namespace lumaris {

using MessageFunction =
    std::function<void(QWidget* owner, const QString& title, const QString& text)>;

// When set, called instead of showing the message box.
inline MessageFunction gMessageOverride;

// Tells the user that an action failed: a warning box with an OK button.
void showError(QWidget* owner, const QString& title, const QString& text);

} // namespace lumaris
