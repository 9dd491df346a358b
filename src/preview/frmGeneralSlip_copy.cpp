// Picking a preview label, and copying one label's text or all of them as a
// table to the clipboard.

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "core/values.h"
#include "platform/mouse.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/frmGeneralSlip_copy.h"
#include "preview/previewitems.h"
#include "preview/previewstyle.h"

namespace lumaris {

using namespace platform;

std::function<void(QMenu& menu, const QPoint& globalPos)> popupCopyMenu =
    [](QMenu& menu, const QPoint& globalPos) { menu.popup(globalPos); };

namespace {

constexpr double kBand = 60;
const QColor kHighlightBack(153, 193, 218);

// Bands far beyond any page stay ordered without overflowing.
long long band(double twips) {
    const double b = std::floor(twips / kBand);
    if (!(b == b))
        return 0;
    return static_cast<long long>(std::clamp(b, -1.0e15, 1.0e15));
}

// Blanks only: line breaks at the ends stay, as they are part of the text.
QString trimBlanks(const QString& text) {
    return QString::fromStdString(trimmed(text.toStdString()));
}

} // namespace

QString copyAllTable(const std::vector<CopyCell>& cells) {
    struct Row {
        long long rowBand;
        long long rightBand;
        QString text;
    };
    std::vector<Row> rows;
    rows.reserve(cells.size());
    for (const CopyCell& cell : cells)
        rows.push_back({band(cell.top), band(cell.left + cell.width), trimBlanks(cell.caption)});

    // The exchange sort decides the order of equal keys, so it stays as it is.
    // The key compares as (row band, right band): a single number of
    // row x 10000 + right would let a right edge past 10000 bands or below 0
    // slip into a neighbouring line.
    auto less = [](const Row& a, const Row& b) {
        return std::pair(a.rowBand, a.rightBand) < std::pair(b.rowBand, b.rightBand);
    };
    for (size_t i = 0; i + 1 < rows.size(); ++i)
        for (size_t j = i + 1; j < rows.size(); ++j)
            if (less(rows[j], rows[i]))
                std::swap(rows[i], rows[j]);

    QString text;
    bool first = true;
    long long previousBand = 0;
    for (const Row& row : rows) {
        if (row.text.isEmpty())
            continue;
        if (first || row.rowBand != previousBand) {
            if (!text.isEmpty())
                text += QLatin1String("\r\n");
            previousBand = row.rowBand;
            first = false;
        } else {
            text += QLatin1Char('\t');
        }
        text += row.text;
    }
    return text;
}

void putClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    clipboard->clear();
    clipboard->setText(text);
}

void frmGeneralSlip::connectCopyMenu() {
    // Every rendered label passes its events on through the template.
    if (!labMaster.empty() && labMaster[0]) {
        connect(labMaster[0].data(), &PreviewLabel::mouseUp, this,
                [this](int index, int button) { labMaster_MouseUp(index, button, 0, 0, 0); });
        connect(labMaster[0].data(), &PreviewLabel::clicked, this,
                &frmGeneralSlip::labMaster_Click);
    }
    platform::watchMouse(picPrinter, [this](QMouseEvent* mouse) {
        if (mouse->type() == QEvent::MouseButtonRelease)
            picPrinter_MouseUp(platform::buttonCode(mouse->button()), 0,
                               float(mouse->position().x() * platform::kTwipsPerPixel),
                               float(mouse->position().y() * platform::kTwipsPerPixel));
    });
    connect(mCopy, &QAction::triggered, this, &frmGeneralSlip::mCopy_Click);
    connect(mCopyAll, &QAction::triggered, this, &frmGeneralSlip::mCopyAll_Click);
}

void frmGeneralSlip::labMaster_Click(int Index) {
    for (const QPointer<PreviewLabel>& label : labMaster) {
        if (!label || !label->tag().contains(QLatin1String(">>>>")))
            continue;
        // A colour that no label takes leaves the one it has.
        if (auto colour = slipColor(leadingNumber(label->tag().toStdString())))
            label->setForeColor(*colour);
        label->setBackOpaque(false);
    }
    if (Index < 0 || size_t(Index) >= labMaster.size() || !labMaster[size_t(Index)])
        return;
    PreviewLabel* picked = labMaster[size_t(Index)];
    picked->setBackOpaque(true);
    picked->setBackColor(kHighlightBack);
    picked->setForeColor(Qt::black);
}

void frmGeneralSlip::labMaster_MouseUp(int Index, int Button, int, float, float) {
    labMaster_Click(Index);
    mSelectedItem = Index;
    if (Button == 2) {
        mCopy->setVisible(true);
        popupCopyMenu(*mmainCopy, QCursor::pos());
    }
}

void frmGeneralSlip::picPrinter_MouseUp(int Button, int, float, float) {
    // The highlight goes to the hidden template, so no visible label keeps it.
    labMaster_Click(0);
    mSelectedItem.reset();
    if (Button == 2) {
        mCopy->setVisible(false);
        popupCopyMenu(*mmainCopy, QCursor::pos());
    }
}

void frmGeneralSlip::mCopy_Click() {
    QString text;
    if (mSelectedItem && *mSelectedItem >= 0 && size_t(*mSelectedItem) < labMaster.size() &&
        labMaster[size_t(*mSelectedItem)])
        text = labMaster[size_t(*mSelectedItem)]->caption();
    putClipboardText(text);
}

void frmGeneralSlip::mCopyAll_Click() {
    std::vector<CopyCell> cells;
    for (size_t i = 1; i < labMaster.size(); ++i) {
        const PreviewLabel* label = labMaster[i];
        if (!label)
            continue;
        const QRectF r = twipsRect(label);
        cells.push_back({r.left(), r.top(), r.width(), label->caption()});
    }
    putClipboardText(copyAllTable(cells));
}

} // namespace lumaris
