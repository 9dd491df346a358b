// Picking preview labels and copying their texts.

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "core/fieldvalues.h"
#include "preview/frmGeneralSlip.h"
#include "preview/frmGeneralSlip_copy.h"
#include "preview/previewitems.h"
#include "preview/previewstyle.h"
#include "slipfiles.h"

using lumaris::frmGeneralSlip;
using lumaris::PreviewLabel;

namespace {

// Cells are (left, top, width, caption). Lines are 60-twip bands of tops from
// 0; within a line cells run by 60-twip bands of right edges (left + width).
TEST(CopyTable, RowsAndCells) {
    struct Row {
        const char* why;
        std::vector<lumaris::CopyCell> cells;
        const char* expected;
    } rows[] = {
        {"no labels", {}, ""},
        {"tops 0 and 59 share a band", {{0, 0, 100, "a"}, {500, 59, 100, "b"}}, "a\tb"},
        {"top 60 starts the next", {{0, 59, 100, "a"}, {500, 60, 100, "b"}}, "a\r\nb"},
        {"lines top down, cells by right edge",
         {{0, 300, 100, "low"}, {2000, 10, 500, "far"}, {0, 20, 500, "near"}},
         "near\tfar\r\nlow"},
        {"blanks add nothing",
         {{0, 0, 100, ""},
          {200, 0, 100, "a"},
          {400, 0, 100, " "},
          {0, 99, 1, " "},
          {0, 240, 9, "b"}},
         "a\r\nb"},
        {"only blank labels", {{0, 0, 100, ""}, {0, 90, 100, "  "}}, ""},
        {"trimmed, a break kept", {{0, 0, 100, " x "}, {200, 0, 100, "a\r\nb"}}, "x\ta\r\nb"},
        // The exchange sort swaps row 1 with the later, smaller C, so B then
        // comes before A though A was first.
        {"equal keys", {{0, 0, 100, "A"}, {0, 10, 110, "B"}, {0, 0, 30, "C"}}, "C\tB\tA"},
        {"right edge past 10000 bands", {{700000, 0, 1, "far"}, {0, 60, 1, "next"}}, "far\r\nnext"},
        {"a top above 0 is band -1", {{0, 0, 100, "page"}, {0, -1, 100, "up"}}, "up\r\npage"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(lumaris::copyAllTable(row.cells).toStdString(), row.expected) << row.why;
}

class LabelCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        frmGeneralSlip::mSelectedItem.reset();
        // Records what the menu offers instead of showing it.
        lumaris::popupCopyMenu = [this](QMenu& menu, const QPoint&) {
            ++popups;
            offered = {menu.actions().value(0)->isVisible(), menu.actions().value(1)->isVisible()};
        };
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        lumaris::popupCopyMenu = [](QMenu& menu, const QPoint& pos) { menu.popup(pos); };
        lumaris::fillSampleFieldValues();
    }
    static PreviewLabel* label(size_t n) { return frmGeneralSlip::instance().labMaster.at(n); }
    static std::string clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }
    static void clickLabel(size_t n, Qt::MouseButton button) {
        QTest::mouseClick(label(n), button, {}, label(n)->rect().center());
    }
    // Beside label 1, inside its box: boxes let the mouse through to the page.
    static void clickPage(Qt::MouseButton button) {
        frmGeneralSlip& w = frmGeneralSlip::instance();
        const QPoint beside(label(1)->geometry().right() + 2, label(1)->geometry().center().y());
        ASSERT_EQ(w.picPrinter->childAt(beside), nullptr);
        QTest::mouseClick(w.picPrinter, button, {}, beside);
    }

    lumaris::test::SlipDir dir;
    int popups = 0;
    std::pair<bool, bool> offered; // Copy, Copy All
};

// Over a label the right button offers Copy and Copy All, over the page only
// Copy All; other buttons select or clear without a menu. One label at a time
// is highlighted, and each gets its own colour back, a system colour included.
// Copy gives the caption as shown (a transparent item's leading blank, a line
// break), Copy All the trimmed texts.
TEST_F(LabelCopy, MenuHighlightAndCopy) {
    lumaris::gFieldValues[21] = "سطر\r\nثان";
    const std::string box = "\nWidth=2000\nHeight=400\nFontName=Arial (Arabic)\nFontSize=10\n";
    frmGeneralSlip& w = frmGeneralSlip::instance();
    w.ShowSlip(dir.write("c.slp", lumaris::test::slipHead("2", 3) +
                                      "[CTL_001]\nType=1\nText=يمين\nForeColor=-2147483635\n"
                                      "Left=1175\nTop=1185" +
                                      box +
                                      "[CTL_002]\nType=1\nText=شفاف\nBackStyle=True\n"
                                      "Left=4175\nTop=1185" +
                                      box + "[CTL_003]\nType=2\nField=21\nLeft=1175\nTop=3185" +
                                      box),
               false, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QColor system13 = lumaris::systemColor(13);
    ASSERT_NE(system13, QColor(Qt::black));
    struct Row {
        size_t label; // 0: the page beside label 1
        Qt::MouseButton button;
        std::pair<bool, bool> offered;
        const char* copied = "";
    } rows[] = {{1, Qt::RightButton, {true, true}, "يمين"},
                {0, Qt::RightButton, {false, true}},
                {2, Qt::LeftButton, {}},
                {1, Qt::MiddleButton, {}},
                {0, Qt::LeftButton, {}},
                {2, Qt::RightButton, {true, true}, " شفاف"},
                {3, Qt::RightButton, {true, true}, "سطر\r\nثان"}};
    for (const Row& row : rows) {
        popups = 0;
        offered = {};
        row.label ? clickLabel(row.label, row.button) : clickPage(row.button);
        EXPECT_EQ(offered, row.offered) << row.label << " " << row.button;
        EXPECT_EQ(popups, row.offered.second ? 1 : 0);
        EXPECT_EQ(frmGeneralSlip::mSelectedItem.value_or(0), int(row.label));
        for (size_t n : {1, 2, 3})
            EXPECT_EQ(label(n)->backColor() == QColor(153, 193, 218) && label(n)->backOpaque(),
                      n == row.label);
        EXPECT_EQ(label(1)->foreColor(), row.label == 1 ? QColor(Qt::black) : system13);
        if (row.offered.first) {
            w.mCopy->trigger();
            EXPECT_EQ(clipboard(), row.copied);
        }
    }
    w.mCopyAll->trigger();
    EXPECT_EQ(clipboard(), "يمين\tشفاف\r\nسطر\r\nثان");
}

} // namespace
