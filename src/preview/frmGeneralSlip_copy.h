#pragma once
// Copying the preview's texts: the table that "Copy All" builds, and the seam
// through which the copy menu pops up.

#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

class QMenu;

namespace lumaris {

// One preview label as the table sees it: twips on the page surface at the
// current zoom, and its caption as shown.
struct CopyCell {
    double left = 0;
    double top = 0;
    double width = 0;
    QString caption;
};

// The labels as a table: one line per 60-twip band of tops, cells ordered by
// 60-twip bands of their right edges, TAB between cells, CR LF between lines.
QString copyAllTable(const std::vector<CopyCell>& cells);

// Puts text on the clipboard as plain Unicode text, nothing else.
void putClipboardText(const QString& text);

// Pops up the copy menu at a screen position without waiting for a choice.
// Tests replace it to see what the menu would offer.
extern std::function<void(QMenu& menu, const QPoint& globalPos)> popupCopyMenu;

} // namespace lumaris
