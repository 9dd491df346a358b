// The browse panel: which fields get a row and with which caption, where the
// panel opens, dragging it by its title bar, and the two lists moving as one.

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "core/catalogues.h"
#include "core/fieldvalues.h"
#include "platform/twips.h"
#include "preview/browsecaptions.h"
#include "preview/frmGeneralSlip.h"
#include "preview/frmGeneralSlip_browse.h"

using lumaris::frmGeneralSlip;
using lumaris::gFieldValues;
using namespace lumaris::platform;

namespace {

class BrowsePanel : public ::testing::Test {
  protected:
    void SetUp() override {
        lumaris::fillSampleFieldValues();
        frmGeneralSlip::mDragging = 0;
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        lumaris::fillSampleFieldValues();
    }
    static frmGeneralSlip& window() { return frmGeneralSlip::instance(); }

    // A mouse event as the title bar receives it; positions in pixels of the
    // title bar, which is where it stands at the moment of the event.
    static void mouse(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                      Qt::MouseButtons held) {
        QMouseEvent event(type, pos, target->mapToGlobal(pos), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }

    static QStringList rows(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
    static int selectedRow(const QListWidget* list) {
        const auto items = list->selectedItems();
        return items.isEmpty() ? -1 : list->row(items.first());
    }
    // Where labBrowse_Click puts the panel: centred in the window's outer size.
    static QPointF centre(frmGeneralSlip& w) {
        return {(w.frameGeometry().width() * 15.0 - 7950) / 2,
                (w.frameGeometry().height() * 15.0 - 6735) / 2};
    }
};

// With every value filled, as the preview command leaves them, all 200 field
// numbers are listed in order. The panel's captions are its own: where they
// differ from the field catalogue the panel's win, and numbers above 132 have
// none even where the catalogue has one.
TEST_F(BrowsePanel, ListsEveryFilledFieldWithItsOwnCaption) {
    frmGeneralSlip& w = window();
    w.labBrowse_Click();
    ASSERT_EQ(w.List1->count(), 200);
    ASSERT_EQ(w.List2->count(), 200);

    int captioned = 0;
    for (int n = 1; n <= 200; ++n) {
        EXPECT_EQ(w.List1->item(n - 1)->text(), lumaris::browseCaption(n)) << n;
        EXPECT_EQ(w.List2->item(n - 1)->data(Qt::UserRole).toString().toStdString(),
                  gFieldValues[size_t(n)])
            << n;
        captioned += !w.List1->item(n - 1)->text().isEmpty();
    }
    EXPECT_EQ(captioned, 95);

    struct Row {
        int field;
        const char* caption;
    } rows[] = {
        {1, "اسم القسيمة"},
        {12, "مقابل صك/قيد"},       // no caption in the catalogue
        {13, "رقم امر الدفع MICR"}, // no caption in the catalogue
        {63, "لأمر"},
        {90, "رقم الحساب الخارجي"},
        {94, "المدينة"},
        {128, "نوع التعرف"},
        {129, "رقم التعريف"}, // the catalogue says "رقم البطاقة"
        {132, "الفاكس"},
        {16, ""},
        {17, ""},
        {133, ""}, // the catalogue has a caption, the panel none
        {140, ""}, // likewise "IBAN"
        {200, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(w.List1->item(row.field - 1)->text(), QString::fromUtf8(row.caption))
            << row.field;
    EXPECT_NE(QString::fromStdString(lumaris::gFieldNames[129]), QString::fromUtf8("رقم التعريف"));
}

// Only an empty value and exactly "[[]]" are left out; field 0 never shows.
// Everything else is listed as it is, blanks included. A value of several
// lines keeps to one row, each line break shown as the mark; the row keeps
// the value itself.
TEST_F(BrowsePanel, WhichValuesGetARow) {
    for (std::string& value : gFieldValues)
        value.clear();
    gFieldValues[0] = "zero";
    gFieldValues[2] = "[[]]";
    gFieldValues[3] = "[]";
    gFieldValues[4] = "   ";
    gFieldValues[5] = " [[]]";
    gFieldValues[6] = "a\r\nb\nc\rd\r\n";
    gFieldValues[150] = "[[ ]]";

    frmGeneralSlip& w = window();
    w.labBrowse_Click();
    const QString mark = lumaris::kBrowseLineBreak;
    EXPECT_EQ(rows(w.List2),
              (QStringList{"[]", "   ", " [[]]", "a" + mark + "b" + mark + "c" + mark + "d" + mark,
                           "[[ ]]"}));
    EXPECT_EQ(rows(w.List1),
              (QStringList{lumaris::browseCaption(3), lumaris::browseCaption(4),
                           lumaris::browseCaption(5), lumaris::browseCaption(6), QString()}));
    EXPECT_EQ(w.List2->item(3)->data(Qt::UserRole).toString(), "a\r\nb\nc\rd\r\n");
}

// The panel opens centred in the window's outer size, shown, with no row
// selected and both lists at their first row; opening it again rebuilds it
// from the current values and brings it back to the centre.
TEST_F(BrowsePanel, OpensCentredAndFresh) {
    frmGeneralSlip& w = window();
    w.resize(900, 700);
    w.show();
    w.labBrowse_Click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.picBrowse->isVisible());
    EXPECT_FLOAT_EQ(twipsLeft(w.picBrowse), float(centre(w).x()));
    EXPECT_FLOAT_EQ(twipsTop(w.picBrowse), float(centre(w).y()));
    EXPECT_EQ(selectedRow(w.List1), -1);
    EXPECT_EQ(selectedRow(w.List2), -1);

    // Drag it away, scroll, select, close; then open again.
    w.Label1_MouseDown(100, 100);
    w.Label1_MouseMove(-5000, 9000);
    w.Label1_MouseUp();
    w.List1->verticalScrollBar()->setValue(40);
    w.List1->setCurrentRow(42);
    w.Command1_Click();
    EXPECT_FALSE(w.picBrowse->isVisible());
    EXPECT_EQ(w.List1->count(), 200) << "closing keeps the rows";

    gFieldValues[7].clear();
    w.labBrowse_Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.List1->count(), 199);
    EXPECT_EQ(w.List2->count(), 199);
    EXPECT_FLOAT_EQ(twipsLeft(w.picBrowse), float(centre(w).x()));
    EXPECT_FLOAT_EQ(twipsTop(w.picBrowse), float(centre(w).y()));
    EXPECT_EQ(selectedRow(w.List1), -1);
    EXPECT_EQ(selectedRow(w.List2), -1);
    EXPECT_EQ(w.List1->verticalScrollBar()->value(), 0);
    EXPECT_EQ(w.List2->verticalScrollBar()->value(), 0);
}

// Any button drags. The grabbed point stays under the mouse: after the first
// move the title bar has moved along, so the next position is measured from
// its new corner. A move with no button pressed moves nothing.
TEST_F(BrowsePanel, DraggingByTheTitleBar) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        frmGeneralSlip& w = window();
        w.labBrowse_Click();
        const QPointF start(twipsLeft(w.picBrowse), twipsTop(w.picBrowse));

        mouse(w.Label1, QEvent::MouseButtonPress, {20, 10}, button, button);
        EXPECT_EQ(frmGeneralSlip::mDragging, 1);
        EXPECT_FLOAT_EQ(frmGeneralSlip::mDragStartX, 300);
        EXPECT_FLOAT_EQ(frmGeneralSlip::mDragStartY, 150);
        // 10 px right and 15 px down: 150 and 225 twips.
        mouse(w.Label1, QEvent::MouseMove, {30, 25}, Qt::NoButton, button);
        EXPECT_FLOAT_EQ(twipsLeft(w.picBrowse), float(start.x() + 150));
        EXPECT_FLOAT_EQ(twipsTop(w.picBrowse), float(start.y() + 225));
        // Far out of the window: there are no limits.
        mouse(w.Label1, QEvent::MouseMove, {-2000, -1000}, Qt::NoButton, button);
        EXPECT_FLOAT_EQ(twipsLeft(w.picBrowse), float(start.x() + 150 - 30300));
        EXPECT_FLOAT_EQ(twipsTop(w.picBrowse), float(start.y() + 225 - 15150));
        mouse(w.Label1, QEvent::MouseButtonRelease, {20, 10}, button, Qt::NoButton);
        EXPECT_EQ(frmGeneralSlip::mDragging, 0);

        const QPointF dropped(twipsLeft(w.picBrowse), twipsTop(w.picBrowse));
        mouse(w.Label1, QEvent::MouseMove, {200, 12}, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(QPointF(twipsLeft(w.picBrowse), twipsTop(w.picBrowse)), dropped);

        // Opening again brings it back to the middle.
        w.labBrowse_Click();
        EXPECT_FLOAT_EQ(twipsLeft(w.picBrowse), float(centre(w).x()));
        TearDown();
    }
}

// A release that never arrived (the window unloaded in the middle of a drag;
// the flag outlives it) must not turn a later hover into a drag.
TEST_F(BrowsePanel, LostReleaseDoesNotDragOnHover) {
    window().labBrowse_Click();
    mouse(window().Label1, QEvent::MouseButtonPress, {20, 10}, Qt::LeftButton, Qt::LeftButton);
    TearDown();
    ASSERT_EQ(frmGeneralSlip::mDragging, 1);

    frmGeneralSlip& w = window();
    w.labBrowse_Click();
    const QPointF opened(twipsLeft(w.picBrowse), twipsTop(w.picBrowse));
    mouse(w.Label1, QEvent::MouseMove, {300, 5}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(QPointF(twipsLeft(w.picBrowse), twipsTop(w.picBrowse)), opened);
    EXPECT_EQ(frmGeneralSlip::mDragging, 0);
}

// Selecting or scrolling one list moves the other to the same row, once: the
// mirrored change finds the first list already there and stops.
TEST_F(BrowsePanel, ListsMoveAsOne) {
    frmGeneralSlip& w = window();
    w.show();
    w.labBrowse_Click();
    QCoreApplication::processEvents();
    ASSERT_GT(w.List1->verticalScrollBar()->maximum(), 30);

    w.List1->setCurrentRow(5);
    EXPECT_EQ(selectedRow(w.List2), 5);
    w.List2->setCurrentRow(120);
    EXPECT_EQ(selectedRow(w.List1), 120);
    w.List1->clearSelection();
    EXPECT_EQ(selectedRow(w.List2), -1);

    QSignalSpy moved1(w.List1->verticalScrollBar(), &QScrollBar::valueChanged);
    QSignalSpy moved2(w.List2->verticalScrollBar(), &QScrollBar::valueChanged);
    w.List1->verticalScrollBar()->setValue(17);
    EXPECT_EQ(w.List2->verticalScrollBar()->value(), 17);
    EXPECT_EQ(moved1.count(), 1);
    EXPECT_EQ(moved2.count(), 1);
    w.List2->verticalScrollBar()->setValue(30);
    EXPECT_EQ(w.List1->verticalScrollBar()->value(), 30);
    // The top rows agree, not only the bars.
    EXPECT_EQ(w.List1->indexAt(QPoint(2, 2)).row(), w.List2->indexAt(QPoint(2, 2)).row());
    EXPECT_EQ(moved1.count(), 2);
    EXPECT_EQ(moved2.count(), 2);
}

// The same through the window system: a press on a label that takes no
// presses must still bring its release and the moves of the drag back to it.
TEST_F(BrowsePanel, MouseThroughTheWindowSystem) {
    frmGeneralSlip& w = window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.labBrowse, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(w.picBrowse->isVisible()) << "only the left button clicks";
    QTest::mouseClick(w.labBrowse, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(w.picBrowse->isVisible());

    const QPointF start(twipsLeft(w.picBrowse), twipsTop(w.picBrowse));
    QTest::mousePress(w.Label1, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(frmGeneralSlip::mDragging, 1);
    QTest::mouseMove(w.Label1, QPoint(30, 14));
    EXPECT_FLOAT_EQ(twipsLeft(w.picBrowse), float(start.x() + 150));
    EXPECT_FLOAT_EQ(twipsTop(w.picBrowse), float(start.y() + 60));
    QTest::mouseRelease(w.Label1, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(frmGeneralSlip::mDragging, 0);
}

} // namespace
