#include "slipfiles.h"

#include "preview/frmGeneralSlip_browse.h"

namespace {

// The panel's captions and the catalogue, typed apart, agree where both name a field.
TEST(CaptionTables, AgreeWhereBothNameAField) {
    // clang-format off
    const QMap<int, QString> catalogueOnly = {{0, "رقم القسيمة"}, {129, "رقم البطاقة"},
        {133, "إيدعات فروع أخرى"}, {134, "سحوبات فروع أخرى"}, {135, "رقم الجواز"}, {140, "IBAN"}};
    const QMap<int, QString> panelOnly = {{12, "مقابل صك/قيد"}, {13, "رقم امر الدفع MICR"},
        {63, "لأمر"}, {90, "رقم الحساب الخارجي"}, {91, "اسم الزبون الخارجي"},
        {92, "اسم المصرف الخارجي"}, {93, "اسم الفرع الخارجي"}, {94, "المدينة"}, {128, "نوع التعرف"},
        {129, "رقم التعريف"}};
    // clang-format on
    int shared = 0;
    for (int f = 0; f <= 200; ++f) {
        const QString panel = browseCaption(f), catalogue = QString::fromStdString(gFieldNames[f]);
        const bool own = catalogueOnly.contains(f) || panelOnly.contains(f);
        EXPECT_EQ(catalogue, own ? catalogueOnly.value(f) : panel) << f;
        EXPECT_EQ(panel, own ? panelOnly.value(f) : catalogue) << f;
        shared += !own && !panel.isEmpty();
    }
    EXPECT_EQ(shared, 85); // 95 captions of the panel less its 10 own
}

class BrowsePanel : public WindowTest {
  protected:
    static QPointF at(const QWidget* w) { return {twipsLeft(w), twipsTop(w)}; }
    static void send(QWidget* target, QEvent::Type type, QPointF pos, Qt::MouseButton button) {
        QMouseEvent event(type, pos, target->mapToGlobal(pos), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
    // Centred in the window's outer size, the panel being 7950 x 6735 twips.
    static QPointF centre(frmGeneralSlip& w) {
        return {(w.frameGeometry().width() * 15.0 - 7950) / 2,
                (w.frameGeometry().height() * 15.0 - 6735) / 2};
    }
};

// Empty, "[[]]" and field 0 get no row; the lists move as one, reopen unselected at the top.
TEST_F(BrowsePanel, RowsCaptionsAndDragging) {
    frmGeneralSlip& w = open(slipHead("2", "0"));
    w.labBrowse_Click();
    ASSERT_EQ(w.List1->count(), 200);
    for (int field : {12, 129, 133})
        EXPECT_EQ(w.List1->item(field - 1)->text(), browseCaption(field)) << field;
    w.List1->setCurrentRow(42);
    w.List1->verticalScrollBar()->setValue(40);
    EXPECT_EQ(w.List2->verticalScrollBar()->value(), 40);
    EXPECT_EQ(w.List2->currentRow(), 42);
    w.Command1_Click();
    EXPECT_FALSE(w.picBrowse->isVisible());

    for (auto [field, value] : {std::pair{0, "zero"},
                                {1, "a\r\nb\rc\nd"},
                                {2, "[[]]"},
                                {3, "[]"},
                                {4, "   "},
                                {5, ""},
                                {150, "[[ ]]"}})
        gFieldValues[field] = value;
    w.labBrowse_Click();
    EXPECT_EQ(w.List2->count(), 198);
    const QString k = kBrowseLineBreak; // each line break, CR LF too, one mark
    const QStringList first = {"a" + k + "b" + k + "c" + k + "d", "[]", "   "};
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(w.List2->item(row)->text(), first[row]);
    EXPECT_EQ(w.List1->item(1)->text(), browseCaption(3));
    // Reopened after Close, or while open with a value picked: unselected, at the top.
    auto unselectedAtTop = [&] {
        for (QListWidget* list : {w.List1, w.List2})
            EXPECT_TRUE(list->selectedItems().isEmpty() && list->currentRow() == -1 &&
                        list->verticalScrollBar()->value() == 0)
                << (list == w.List1 ? "List1" : "List2");
    };
    unselectedAtTop();
    w.List2->setCurrentRow(42);
    w.List2->verticalScrollBar()->setValue(40);
    EXPECT_EQ(w.List1->verticalScrollBar()->value(), 40);
    EXPECT_EQ(w.List1->currentRow(), 42);
    w.labBrowse_Click();
    unselectedAtTop();

    // A left click opens it centred; any button drags it without limits, a bare move not.
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        frmGeneralSlip& w = open(slipHead("2", "0"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.labBrowse, button, {}, QPoint(5, 5));
        EXPECT_EQ(w.picBrowse->isVisible(), button == Qt::LeftButton);
        w.labBrowse_Click();
        EXPECT_EQ(at(w.picBrowse), centre(w));
        QTest::mousePress(w.Label1, button, {}, QPoint(20, 10));
        QTest::mouseMove(w.Label1, QPoint(30, 25)); // 10 and 15 px: 150 and 225 twips
        EXPECT_EQ(at(w.picBrowse), centre(w) + QPointF(150, 225)) << button;
        // The title bar moved along, so this is measured from its new corner.
        QTest::mouseMove(w.Label1, QPoint(-2000, -1000));
        QTest::mouseRelease(w.Label1, button, {}, QPoint(20, 10));
        send(w.Label1, QEvent::MouseMove, {200, 12}, Qt::NoButton);
        EXPECT_EQ(at(w.picBrowse), centre(w) + QPointF(150 - 30300, 225 - 15150)) << button;
        w.labBrowse_Click();
        EXPECT_EQ(at(w.picBrowse), centre(w));
    }
    // A release lost to an unload mid-drag must not make a later hover a drag.
    frmGeneralSlip::instance().labBrowse_Click();
    send(frmGeneralSlip::instance().Label1, QEvent::MouseButtonPress, {20, 10}, Qt::LeftButton);
    closeWindow();
    ASSERT_EQ(frmGeneralSlip::mDragging, 1);
    frmGeneralSlip& again = frmGeneralSlip::instance();
    again.labBrowse_Click();
    send(again.Label1, QEvent::MouseMove, {300, 5}, Qt::NoButton);
    EXPECT_EQ(at(again.picBrowse), centre(again));
}

} // namespace
