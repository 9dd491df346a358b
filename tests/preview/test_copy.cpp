#include "slipfiles.h"

namespace {

struct LabelCopy : WindowTest {};

// Cells (left, top, width, caption) line up by 60-twip bands of tops, then of right edges.
// Right button: Copy and Copy All over a label, Copy All over the page (boxes let it through).
TEST_F(LabelCopy, TableMenuHighlightAndCopy) {
    const std::tuple<const char*, std::vector<CopyCell>, const char*> tables[] = {
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
    for (const auto& [why, cells, expected] : tables)
        EXPECT_EQ(copyAllTable(cells).toStdString(), expected) << why;
    std::pair<bool, bool> offered; // Copy, Copy All; recorded instead of showing the menu
    const auto restore = qScopeGuard([saved = popupCopyMenu] { popupCopyMenu = saved; });
    popupCopyMenu = [&](QMenu& menu, const QPoint&) {
        offered = {menu.actions().value(0)->isVisible(), menu.actions().value(1)->isVisible()};
    };
    gFieldValues[21] = "سطر\r\nثان";
    auto text = [](Str left, Str top, Str keys) { return textBox(left, top, "2000", "400", keys); };
    frmGeneralSlip& w =
        open(slipHead("2", "3") +
             section("CTL_001", text("1175", "1185", "Text=يمين;ForeColor=-2147483635")) +
             section("CTL_002", text("4175", "1185", "Text=شفاف;BackStyle=True")) +
             section("CTL_003", text("1175", "3185", "Type=2;Field=21")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QColor system13 = systemColor(13);
    ASSERT_NE(system13, QColor(Qt::black));
    const QPoint beside(label(1)->geometry().right() + 2, label(1)->geometry().center().y());
    ASSERT_EQ(w.picPrinter->childAt(beside), nullptr);
    const std::tuple<size_t, Qt::MouseButton, std::pair<bool, bool>, const char*> rows[] = {
        {1, Qt::RightButton, {true, true}, "يمين"},
        {0, Qt::RightButton, {false, true}, ""},
        {2, Qt::LeftButton, {}, ""},
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
            EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), copied);
        }
    }
    w.mCopyAll->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "يمين\tشفاف\r\nسطر\r\nثان");
}

} // namespace
