#include "preview/filedialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace lumaris {

QString qtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (patterns.isEmpty())
            continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (name.isEmpty() ? QString() : name + QLatin1Char(' ')) + QLatin1Char('(') +
                       patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString runFileDialog(FileDialogKind kind, QWidget* owner, const QString& pipeFilter,
                      const QString& title, const QString& initDir) {
    const QString filter = qtFileFilter(pipeFilter);
    if (gFileDialogOverride)
        return gFileDialogOverride(kind, owner, filter, title, initDir);
    if (kind == FileDialogKind::Save)
        return QFileDialog::getSaveFileName(owner, title, initDir, filter);
    return QFileDialog::getOpenFileName(owner, title, initDir, filter);
}

} // namespace lumaris
