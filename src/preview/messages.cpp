#include "preview/messages.h"

#include <QMessageBox>

namespace lumaris {

void showError(QWidget* owner, const QString& title, const QString& text) {
    if (gMessageOverride) {
        gMessageOverride(owner, title, text);
        return;
    }
    QMessageBox::warning(owner, title, text);
}

} // namespace lumaris
