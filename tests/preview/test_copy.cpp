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
using namespace lumaris::test;

namespace {

// Cells are (left, top, width, caption). Lines are 60-twip bands of tops from
// 0; within a line cells run by 60-twip bands of right edges (left + width).
TEST(CopyTable, RowsAndCells) {
    const std::tuple<const char*, std::vector<lumaris::CopyCell>, const char*> rows[] = {
        // clang-format off
        {"no labels", {}, ""},
        {"tops 0 and 59 share a band", {{0, 0, 100, "a"}, {500, 59, 100, "b"}}, "a\tb"},
        {"top 60 starts the next", {{0, 59, 100, "a"}, {500, 60, 100, "b"}}, "a\r\nb"},
        {"lines top down, cells by right edge",
         {{0, 300, 100, "low"}, {2000, 10, 500, "far"}, {0, 20, 500, "near"}}, "near\tfar\r\nlow"},
        {"blanks add nothing", {{0, 0, 100, ""}, {200, 0, 100, "a"}, {400, 0, 100, " "},
                                {0, 99, 1, " "}, {0, 240, 9, "b"}}, "a\r\nb"},
        {"trimmed, a break kept", {{0, 0, 100, " x "}, {200, 0, 100, "a\r\nb"}}, "x\ta\r\nb"},
        // The exchange sort swaps row 1 with the later, smaller C: B before A.
        {"equal keys", {{0, 0, 100, "A"}, {0, 10, 110, "B"}, {0, 0, 30, "C"}}, "C\tB\tA"},
        {"right edge past 10000 bands", {{700000, 0, 1, "far"}, {0, 60, 1, "next"}}, "far\r\nnext"},
        {"a top above 0 is band -1", {{0, 0, 100, "page"}, {0, -1, 100, "up"}}, "up\r\npage"},
        // clang-format on
    };
    for (const auto& [why, cells, expected] : rows)
        EXPECT_EQ(lumaris::copyAllTable(cells).toStdString(), expected) << why;
}

class LabelCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        frmGeneralSlip::mSelectedItem.reset();
        // Records what the menu offers instead of showing it.
        lumaris::popupCopyMenu = [this](QMenu& menu, const QPoint&) {
            offered = {menu.actions().value(0)->isVisible(), menu.actions().value(1)->isVisible()};
        };
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        flushDeletes();
        lumaris::popupCopyMenu = [](QMenu& menu, const QPoint& pos) { menu.popup(pos); };
        lumaris::fillSampleFieldValues();
    }
    static PreviewLabel* label(size_t n) { return frmGeneralSlip::instance().labMaster.at(n); }
    static std::string clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }

    SlipDir dir;
    std::pair<bool, bool> offered; // Copy, Copy All
};

// Over a label the right button offers Copy and Copy All, over the page (beside
// label 1, inside its box: boxes let the mouse through) only Copy All; other
// buttons select or clear without a menu. One label at a time is highlighted,
// each gets its own colour back, a system colour included. Copy gives the
// caption as shown, Copy All the trimmed texts.
TEST_F(LabelCopy, MenuHighlightAndCopy) {
    lumaris::gFieldValues[21] = "سطر\r\nثان";
    frmGeneralSlip& w = frmGeneralSlip::instance();
    auto text = [](Str left, Str top, Str keys) {
        return textBox(left, top, "2000", "400", kv(keys));
    };
    w.ShowSlip(
        dir.write("c.slp",
                  slipHead("2", 3) +
                      section("CTL_001", text("1175", "1185", "Text=يمين|ForeColor=-2147483635")) +
                      section("CTL_002", text("4175", "1185", "Text=شفاف|BackStyle=True")) +
                      section("CTL_003", text("1175", "3185", "Type=2|Field=21"))),
        false, true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QColor system13 = lumaris::systemColor(13);
    ASSERT_NE(system13, QColor(Qt::black));
    const QPoint beside(label(1)->geometry().right() + 2, label(1)->geometry().center().y());
    ASSERT_EQ(w.picPrinter->childAt(beside), nullptr);
    const std::tuple<size_t, Qt::MouseButton, std::pair<bool, bool>, const char*> rows[] = {
        {1, Qt::RightButton, {true, true}, "يمين"},
        {0, Qt::RightButton, {false, true}, ""},
        {2, Qt::LeftButton, {}, ""},
        {1, Qt::MiddleButton, {}, ""},
        {0, Qt::LeftButton, {}, ""},
        {2, Qt::RightButton, {true, true}, " شفاف"},
        {3, Qt::RightButton, {true, true}, "سطر\r\nثان"}}; // label 0: the page
    for (const auto& [n, button, menu, copied] : rows) {
        offered = {};
        n ? QTest::mouseClick(label(n), button, {}, label(n)->rect().center())
          : QTest::mouseClick(w.picPrinter, button, {}, beside);
        EXPECT_EQ(offered, menu) << n << " " << button;
        EXPECT_EQ(frmGeneralSlip::mSelectedItem.value_or(0), int(n));
        for (size_t k : {1, 2, 3})
            EXPECT_EQ(label(k)->backColor() == QColor(153, 193, 218) && label(k)->backOpaque(),
                      k == n);
        EXPECT_EQ(label(1)->foreColor(), n == 1 ? QColor(Qt::black) : system13);
        if (menu.first) {
            w.mCopy->trigger();
            EXPECT_EQ(clipboard(), copied);
        }
    }
    w.mCopyAll->trigger();
    EXPECT_EQ(clipboard(), "يمين\tشفاف\r\nسطر\r\nثان");
}

} // namespace
