// The browse panel: the field values beside their captions, opened from the
// toolbar, dragged by its title bar, its two lists moving as one table.

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>

#include "core/fieldvalues.h"
#include "platform/mouse.h"
#include "platform/twips.h"
#include "preview/browsecaptions.h"
#include "preview/frmGeneralSlip.h"
#include "preview/frmGeneralSlip_browse.h"

namespace lumaris {

using namespace platform;

namespace {

// The selected row, -1 for none.
int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

void setSelectedRow(QListWidget* list, int row) {
    if (selectedRow(list) == row)
        return;
    if (row < 0 || row >= list->count()) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return;
    }
    list->setCurrentRow(row);
}

} // namespace

QString browseRowText(const std::string& value) {
    QString text = QString::fromStdString(value);
    text.replace(QLatin1String("\r\n"), kBrowseLineBreak);
    text.replace(QLatin1Char('\r'), kBrowseLineBreak);
    text.replace(QLatin1Char('\n'), kBrowseLineBreak);
    return text;
}

void frmGeneralSlip::connectBrowsePanel() {
    onClick(labBrowse, [this] { labBrowse_Click(); });
    watchMouse(Label1, [this](QMouseEvent* mouse) {
        const float x = float(mouse->position().x() * kTwipsPerPixel);
        const float y = float(mouse->position().y() * kTwipsPerPixel);
        switch (mouse->type()) {
        case QEvent::MouseButtonPress:
            Label1_MouseDown(x, y);
            break;
        case QEvent::MouseMove:
            // A drag whose release never came (the panel hidden or the window
            // unloaded under the mouse) must not move the panel on hover.
            if (mDragging == 1 && mouse->buttons() == Qt::NoButton)
                Label1_MouseUp();
            Label1_MouseMove(x, y);
            break;
        default:
            Label1_MouseUp();
            break;
        }
    });
    // The title bar sees the mouse without a button, as the drag rules expect.
    Label1->setMouseTracking(true);

    for (QListWidget* list : {List1, List2}) {
        list->setSortingEnabled(false);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // One scroll step is one row, so the bar's value is the top row.
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        list->setUniformItemSizes(true);
        list->setWordWrap(false);
    }
    connect(List1, &QListWidget::itemSelectionChanged, this, &frmGeneralSlip::List1_Click);
    connect(List2, &QListWidget::itemSelectionChanged, this, &frmGeneralSlip::List2_Click);
    connect(List1->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &frmGeneralSlip::List1_Scroll);
    connect(List2->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &frmGeneralSlip::List2_Scroll);
}

void frmGeneralSlip::labBrowse_Click() {
    List1->clear();
    List2->clear();
    for (int n = 1; n <= kMaxField; ++n) {
        const std::string& value = gFieldValues[size_t(n)];
        if (value.empty() || value == "[[]]")
            continue;
        List1->addItem(browseCaption(n));
        auto* row = new QListWidgetItem(browseRowText(value));
        // The row shows the value on one line; the value itself stays whole.
        row->setData(Qt::UserRole, QString::fromStdString(value));
        row->setToolTip(QString::fromStdString(value));
        List2->addItem(row);
    }

    // Centred in the window's outer size, frame and caption included.
    const float width = float(frameGeometry().width() * kTwipsPerPixel);
    const float height = float(frameGeometry().height() * kTwipsPerPixel);
    setTwipsLeft(picBrowse, (width - twipsWidth(picBrowse)) / 2);
    setTwipsTop(picBrowse, (height - twipsHeight(picBrowse)) / 2);

    picBrowse->raise();
    picBrowse->show();
    for (QListWidget* list : {List1, List2}) {
        setSelectedRow(list, -1);
        list->verticalScrollBar()->setValue(0);
        list->scrollToTop();
    }
}

void frmGeneralSlip::Label1_MouseDown(float X, float Y) {
    mDragStartX = X;
    mDragStartY = Y;
    mDragging = 1;
}

void frmGeneralSlip::Label1_MouseMove(float X, float Y) {
    if (mDragging != 1)
        return;
    // No limits: the panel may leave the visible area altogether.
    setTwipsLeft(picBrowse, twipsLeft(picBrowse) + (X - mDragStartX));
    setTwipsTop(picBrowse, twipsTop(picBrowse) + (Y - mDragStartY));
}

void frmGeneralSlip::Label1_MouseUp() {
    mDragging = 0;
}

// Setting the row a list already has raises nothing, so each mirror runs once.
void frmGeneralSlip::List1_Click() {
    setSelectedRow(List2, selectedRow(List1));
}

void frmGeneralSlip::List2_Click() {
    setSelectedRow(List1, selectedRow(List2));
}

void frmGeneralSlip::List1_Scroll() {
    List2->verticalScrollBar()->setValue(List1->verticalScrollBar()->value());
}

void frmGeneralSlip::List2_Scroll() {
    List1->verticalScrollBar()->setValue(List2->verticalScrollBar()->value());
}

} // namespace lumaris
