// Picking preview labels and copying their texts: the table rules of "Copy
// All", and the window's labels, menu and clipboard as a user drives them.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "core/fieldvalues.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/frmGeneralSlip_copy.h"
#include "preview/previewitems.h"
#include "preview/previewstyle.h"
#include "test_render_slips.h"

using lumaris::CopyCell;
using lumaris::frmGeneralSlip;
using lumaris::PreviewLabel;
using namespace lumaris::platform;
namespace rt = lumaris::rendertest;

namespace {

// Cells are (left, top, width, caption); the right edge is left + width.
// Lines are 60-twip bands of tops, counted from 0; within a line cells run by
// 60-twip bands of right edges.
TEST(CopyTable, RowsAndCells) {
    struct Row {
        const char* why;
        std::vector<CopyCell> cells;
        QString expected;
    } rows[] = {
        {"no labels", {}, ""},
        {"tops 0 and 59 share the band 0..59", {{0, 0, 100, "a"}, {500, 59, 100, "b"}}, "a\tb"},
        {"top 60 is one twip into the next band",
         {{0, 59, 100, "a"}, {500, 60, 100, "b"}},
         "a\r\nb"},
        {"cells by right edge, left to right, whatever their order",
         {{2000, 10, 500, "far"}, {0, 20, 500, "near"}, {1000, 0, 500, "mid"}},
         "near\tmid\tfar"},
        {"lines top to bottom", {{0, 300, 100, "low"}, {0, 0, 100, "high"}}, "high\r\nlow"},
        {"empty and blank captions add no cell, no TAB and no line",
         {{0, 0, 100, ""},
          {200, 0, 100, "a"},
          {400, 0, 100, "   "},
          {0, 120, 100, " "},
          {0, 240, 100, "b"}},
         "a\r\nb"},
        {"only empty labels give an empty text", {{0, 0, 100, ""}, {0, 90, 100, "  "}}, ""},
        {"blanks at the ends go, a line break inside stays",
         {{0, 0, 100, "  x  "}, {200, 0, 100, "a\r\nb"}},
         "x\ta\r\nb"},
        // The exchange sort swaps row 1 with the later, smaller C, so B then
        // comes before A though A was first: equal keys keep this order.
        {"equal keys in the exchange sort's order",
         {{0, 0, 100, "A"}, {0, 10, 110, "B"}, {0, 0, 30, "C"}},
         "C\tB\tA"},
        {"a right edge past 10000 bands stays on its own line",
         {{700000, 0, 100, "far"}, {0, 60, 100, "next"}},
         "far\r\nnext"},
        {"a top above the page is a band before 0",
         {{0, 0, 100, "page"}, {0, -1, 100, "above"}},
         "above\r\npage"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(lumaris::copyAllTable(row.cells).toStdString(), row.expected.toStdString())
            << row.why;
}

// Records what the copy menu would offer instead of showing it.
struct MenuSeen {
    int popups = 0;
    bool copy = false;
    bool copyAll = false;
};

class LabelCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        lumaris::fillSampleFieldValues();
        frmGeneralSlip::mSelectedItem.reset();
        lumaris::popupCopyMenu = [this](QMenu& menu, const QPoint&) {
            ++seen.popups;
            const QList<QAction*> actions = menu.actions();
            seen.copy = actions.value(0) && actions.value(0)->isVisible();
            seen.copyAll = actions.value(1) && actions.value(1)->isVisible();
        };
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        rt::flushDeletes();
        lumaris::popupCopyMenu = [](QMenu& menu, const QPoint& pos) { menu.popup(pos); };
        lumaris::fillSampleFieldValues();
    }

    frmGeneralSlip& open(const std::string& text, int zoomItem = 0) {
        file = dir.write(QStringLiteral("copy%1.slp").arg(++files), text);
        frmGeneralSlip& w = frmGeneralSlip::instance();
        w.ShowSlip(file, false, true);
        w.cmbZoom->setCurrentIndex(zoomItem);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        return w;
    }
    static PreviewLabel* label(size_t n) { return frmGeneralSlip::instance().labMaster.at(n); }
    // As UTF-8, so that a failure prints readable text.
    static std::string clipboard() { return QGuiApplication::clipboard()->text().toStdString(); }

    // A click through the window system, which finds the widget under the
    // mouse: the label's middle, or the page beside label 1's end, inside its
    // box (boxes let the mouse through). Needs a page that fits the viewport.
    static void clickLabel(size_t n, Qt::MouseButton button) {
        QTest::mouseClick(label(n), button, {}, label(n)->rect().center());
    }
    static void clickPage(Qt::MouseButton button) {
        frmGeneralSlip& w = frmGeneralSlip::instance();
        const QPoint beside(label(1)->geometry().right() + 2, label(1)->geometry().center().y());
        ASSERT_TRUE(w.ShapeMaster.at(1)->geometry().contains(beside));
        ASSERT_EQ(w.picPrinter->childAt(beside), nullptr);
        QTest::mouseClick(w.picPrinter, button, {}, beside);
    }
    static bool highlighted(const PreviewLabel* l) {
        return l->backOpaque() && l->backColor() == QColor(153, 193, 218) &&
               l->foreColor() == QColor(Qt::black);
    }
    static int highlightedCount() {
        const auto& labels = frmGeneralSlip::instance().labMaster;
        int count = 0;
        for (size_t i = 1; i < labels.size(); ++i)
            count += labels[i]->backOpaque();
        return count;
    }

    rt::Dir dir;
    QString file;
    int files = 0;
    MenuSeen seen;
};

// Two items on one line of the design and one below; a transparent item, an
// empty one, a blank data field and a data field of two lines.
std::string sampleSlip() {
    lumaris::gFieldValues[20] = "   ";
    lumaris::gFieldValues[21] = "سطر\r\nثان";
    return rt::head("6") +
           rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400", {{"Text", "يمين"}})) +
           rt::section("CTL_002", rt::textBox("4175", "1185", "2000", "400",
                                              {{"Text", "شفاف"}, {"BackStyle", "True"}})) +
           rt::section("CTL_003", rt::textBox("1175", "3185", "2000", "400", {{"Text", ""}})) +
           rt::section("CTL_004", rt::textBox("4175", "3185", "2000", "400",
                                              {{"Type", "2"}, {"Field", "20"}})) +
           rt::section("CTL_005", rt::textBox("1175", "4185", "2000", "400",
                                              {{"Type", "2"}, {"Field", "21"}})) +
           rt::section("CTL_006", rt::logo("7000", "1185", "500", "500"));
}

// "Copy" gives the caption as shown, leading blank and line break included;
// "Copy All" the trimmed texts as a table with the blank ones left out.
TEST_F(LabelCopy, CopyAndCopyAllOfARenderedSlip) {
    frmGeneralSlip& w = open(sampleSlip());
    ASSERT_EQ(w.labMaster.size(), 6u);
    ASSERT_EQ(label(2)->caption(), QString::fromUtf8(" شفاف"));

    clickLabel(2, Qt::RightButton);
    w.mCopy->trigger();
    EXPECT_EQ(clipboard(), " شفاف");

    clickLabel(5, Qt::RightButton);
    w.mCopy->trigger();
    EXPECT_EQ(clipboard(), "سطر\r\nثان");

    w.mCopyAll->trigger();
    EXPECT_EQ(clipboard(), "يمين\tشفاف\r\nسطر\r\nثان");

    // A selection that no longer names a label copies nothing.
    frmGeneralSlip::mSelectedItem = 99;
    w.mCopy_Click();
    EXPECT_EQ(clipboard(), "");
}

// The lines follow the labels at the current zoom: at "100%" the two items
// stored 40 twips apart stand 63 twips apart in different bands (1590 and
// 1653), at "50%" 31.5 twips apart in one band (802.5 and 834).
TEST_F(LabelCopy, LinesDependOnTheZoom) {
    const std::string slip =
        rt::head("2") +
        rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400", {{"Text", "a"}})) +
        rt::section("CTL_002", rt::textBox("4175", "1225", "2000", "400", {{"Text", "b"}}));
    frmGeneralSlip& w = open(slip, 2);
    ASSERT_NEAR(twipsTop(label(1)), 1590, 0.01);
    ASSERT_NEAR(twipsTop(label(2)), 1653, 0.01);
    w.mCopyAll_Click();
    EXPECT_EQ(clipboard(), "a\r\nb");

    w.cmbZoom->setCurrentIndex(0);
    ASSERT_NEAR(twipsTop(label(1)), 802.5, 0.01);
    ASSERT_NEAR(twipsTop(label(2)), 834, 0.01);
    w.mCopyAll_Click();
    EXPECT_EQ(clipboard(), "a\tb");
}

// A slip without text labels (a logo only) puts an empty text, replacing what
// the clipboard held.
TEST_F(LabelCopy, NoLabelsGiveAnEmptyText) {
    frmGeneralSlip& w =
        open(rt::head("1") + rt::section("CTL_001", rt::logo("1175", "1185", "500", "500")));
    ASSERT_EQ(w.labMaster.size(), 1u);
    w.mCopyAll->trigger();
    EXPECT_EQ(clipboard(), "");
}

// One label at a time carries the highlight; a release on the empty page takes
// it away from all of them. Each label gets its own colour back, a system
// colour included.
TEST_F(LabelCopy, OneHighlightAtATime) {
    constexpr const char* kSystemHighlight = "-2147483635"; // system colour 13
    frmGeneralSlip& w = open(
        rt::head("3") +
        rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400",
                                           {{"Text", "one"}, {"ForeColor", kSystemHighlight}})) +
        rt::section("CTL_002", rt::textBox("1175", "2185", "2000", "400",
                                           {{"Text", "two"}, {"ForeColor", "255"}})) +
        rt::section("CTL_003", rt::textBox("1175", "3185", "2000", "400", {{"Text", "three"}})));
    ASSERT_EQ(w.labMaster.size(), 4u);
    const QColor systemColour = lumaris::systemColor(13);
    ASSERT_NE(systemColour, QColor(Qt::black));
    ASSERT_EQ(label(1)->foreColor(), systemColour);

    clickLabel(1, Qt::LeftButton);
    EXPECT_TRUE(highlighted(label(1)));
    EXPECT_EQ(highlightedCount(), 1);
    EXPECT_EQ(frmGeneralSlip::mSelectedItem, 1);

    clickLabel(2, Qt::LeftButton);
    EXPECT_TRUE(highlighted(label(2)));
    EXPECT_EQ(highlightedCount(), 1);
    EXPECT_EQ(label(1)->foreColor(), systemColour);
    EXPECT_FALSE(label(1)->backOpaque());
    EXPECT_EQ(frmGeneralSlip::mSelectedItem, 2);

    clickPage(Qt::LeftButton);
    EXPECT_EQ(highlightedCount(), 0);
    EXPECT_EQ(label(2)->foreColor(), QColor(255, 0, 0));
    EXPECT_EQ(label(3)->foreColor(), QColor(Qt::black));
    EXPECT_FALSE(frmGeneralSlip::mSelectedItem.has_value());
    EXPECT_EQ(seen.popups, 0) << "the left button opens no menu";

    // A new render brings new labels in their normal look.
    clickLabel(3, Qt::LeftButton);
    w.cmbZoom->setCurrentIndex(2);
    EXPECT_EQ(highlightedCount(), 0);
}

// The right button offers "Copy" and "Copy All" over a label, "Copy All" only
// over the empty page (a label's box counts as the page); the other buttons
// select or clear without a menu.
TEST_F(LabelCopy, MenuOffersWhatTheMouseIsOver) {
    open(sampleSlip());
    struct Row {
        bool overLabel;
        Qt::MouseButton button;
        int popups;
        bool copy;
    } rows[] = {
        {true, Qt::RightButton, 1, true},    {false, Qt::RightButton, 1, false},
        {true, Qt::RightButton, 1, true},    {true, Qt::MiddleButton, 0, false},
        {false, Qt::MiddleButton, 0, false}, {true, Qt::LeftButton, 0, false},
    };
    for (const Row& row : rows) {
        seen = MenuSeen();
        if (row.overLabel)
            clickLabel(1, row.button);
        else
            clickPage(row.button);
        EXPECT_EQ(seen.popups, row.popups) << row.overLabel << " " << row.button;
        if (row.popups) {
            EXPECT_EQ(seen.copy, row.copy) << row.overLabel;
            EXPECT_TRUE(seen.copyAll);
        }
        EXPECT_EQ(frmGeneralSlip::mSelectedItem.has_value(), row.overLabel);
        EXPECT_EQ(highlightedCount(), row.overLabel ? 1 : 0);
    }
}

} // namespace
