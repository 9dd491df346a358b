#pragma once
// The window's save and open dialogs, behind a function that tests replace so
// that no dialog ever blocks them.

#include <QString>
#include <functional>

class QWidget;

namespace lumaris {

enum class FileDialogKind { Save, Open };

// What the dialog is asked: the filter already in Qt's "Name (*.x);;..." form.
using FileDialogFunction =
    std::function<QString(FileDialogKind kind, QWidget* owner, const QString& filter,
                          const QString& title, const QString& initDir)>;

// When set, called instead of the real dialog.
inline FileDialogFunction gFileDialogOverride;

// "Name|*.a;*.b|All files|*.*" -> "Name (*.a *.b);;All files (*.*)". A name
// without a pattern is dropped.
QString qtFileFilter(const QString& pipeFilter);

// The chosen path, or "" when cancelled. The save dialog asks before
// overwriting; the open dialog accepts only existing files.
QString runFileDialog(FileDialogKind kind, QWidget* owner, const QString& pipeFilter,
                      const QString& title, const QString& initDir);

} // namespace lumaris
