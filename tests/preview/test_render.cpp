// The on-screen page: items built from the slip file, their geometry in twips
// and their widgets following it.

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "core/fieldvalues.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "test_render_slips.h"

using lumaris::frmGeneralSlip;
using lumaris::PreviewImage;
using lumaris::PreviewLabel;
using lumaris::PreviewShape;
using namespace lumaris::platform;
namespace rt = lumaris::rendertest;

namespace {

constexpr int k50 = 0;
constexpr int k100 = 2;

class Page : public ::testing::Test {
  protected:
    // Shows the slip and zooms to the given item of the list.
    frmGeneralSlip& open(const std::string& text, int zoomItem = k100) {
        // A new name each time: a rewrite of the same size within the clock's
        // granularity could look unchanged to the reader's cache.
        file = dir.write(QStringLiteral("page%1.slp").arg(++files), text);
        frmGeneralSlip& w = frmGeneralSlip::instance();
        w.ShowSlip(file, false, true);
        w.cmbZoom->setCurrentIndex(zoomItem);
        return w;
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        rt::flushDeletes();
    }
    // Screen twips per slip twip, as the renderer works it out.
    static double scale() {
        return twipsWidth(frmGeneralSlip::instance().picPrinter) / Printer::current().width();
    }
    static PreviewLabel* label(size_t n) { return frmGeneralSlip::instance().labMaster.at(n); }
    static PreviewShape* box(size_t n) { return frmGeneralSlip::instance().ShapeMaster.at(n); }
    static PreviewImage* image(size_t n) { return frmGeneralSlip::instance().imgMaster.at(n); }

    // The field values are program-wide: other tests find them as they were.
    ~Page() override { lumaris::gFieldValues = savedValues; }

    rt::Dir dir;
    QString file;
    int files = 0;
    const decltype(lumaris::gFieldValues) savedValues = lumaris::gFieldValues;
};

// At "100%" the scale is 1.575 (6.3 x 500 / 2000). A text item stored at
// (1175, 1185) stands at (1000, 1000) before scaling; its box spans
// 1.575 x its size from (1575, 1590); the label starts 15 twips inside the box
// and ends 45 short of its right edge. A logo covers exactly its scaled
// rectangle, and being the first section changes nothing about its scale.
TEST_F(Page, GeometryInTwipsAt100Percent) {
    frmGeneralSlip& w =
        open(rt::head("2") + rt::section("CTL_001", rt::logo("375", "385", "1000", "600", "True")) +
             rt::section("CTL_002", rt::textBox("1175", "1185", "2000", "400")));
    ASSERT_NEAR(scale(), 1.575, 1e-6);

    ASSERT_EQ(w.imgMaster.size(), 2u);
    const QRectF logo = twipsRect(image(1));
    EXPECT_NEAR(logo.left(), 315, 0.01);
    EXPECT_NEAR(logo.top(), 315, 0.01);
    EXPECT_NEAR(logo.width(), 1575, 0.01);
    EXPECT_NEAR(logo.height(), 945, 0.01);
    EXPECT_TRUE(image(1)->bordered());
    EXPECT_TRUE(image(1)->isVisible());

    ASSERT_EQ(w.labMaster.size(), 2u);
    ASSERT_EQ(w.ShapeMaster.size(), 2u);
    const QRectF b = twipsRect(box(1));
    const QRectF l = twipsRect(label(1));
    EXPECT_NEAR(b.left(), 1575, 0.01);
    EXPECT_NEAR(b.top(), 1590, 0.01);
    EXPECT_NEAR(b.width(), 3150, 0.01);
    EXPECT_NEAR(b.height(), 630, 0.01);
    EXPECT_NEAR(l.left(), 1590, 0.01);
    EXPECT_NEAR(l.top(), 1590, 0.01);
    EXPECT_NEAR(l.width(), 3090, 0.01);
    EXPECT_NEAR(b.right() - l.right(), 45, 0.01);

    for (QWidget* item : {static_cast<QWidget*>(image(1)), static_cast<QWidget*>(label(1)),
                          static_cast<QWidget*>(box(1))}) {
        EXPECT_TRUE(rt::followsTwips(item)) << item->metaObject()->className();
        EXPECT_EQ(item->parentWidget(), w.picPrinter);
    }
    // The templates never show.
    EXPECT_FALSE(label(0)->isVisible());
    EXPECT_FALSE(box(0)->isVisible());
    EXPECT_FALSE(image(0)->isVisible());
}

// The label sits in its box as VAlignment says, also when it is taller than
// the box: then it rises above the box's top, by half the difference for 1
// and all of it for 2. Any other value is top.
TEST_F(Page, VerticalAlignmentInTheBox) {
    const std::string threeLines = "one||two||three";
    struct Row {
        std::string vAlignment;
        std::string height;
        double share; // of (box height - label height) added to the box's top
    } rows[] = {{"0", "1000", 0.0}, {"1", "1000", 0.5}, {"2", "1000", 1.0}, {"1", "100", 0.5},
                {"2", "100", 1.0},  {"3", "1000", 0.0}, {"-1", "100", 0.0}};
    for (const Row& row : rows) {
        open(rt::head("1") + rt::section("CTL_001", rt::textBox("1175", "1185", "2000", row.height,
                                                                {{"VAlignment", row.vAlignment},
                                                                 {"Text", threeLines}})));
        const QRectF b = twipsRect(box(1));
        const QRectF l = twipsRect(label(1));
        EXPECT_NEAR(b.top(), 1590, 0.01);
        EXPECT_NEAR(l.top(), b.top() + row.share * (b.height() - l.height()), 0.01)
            << "VAlignment " << row.vAlignment << " Height " << row.height;
        if (row.height == "100" && row.share > 0)
            EXPECT_LT(l.top(), b.top()) << "a label taller than its box rises above it";
        EXPECT_TRUE(rt::followsTwips(label(1)));
        TearDown();
    }
}

// Captions: a text box's Text goes through the text rules, a data field shows
// its value untouched, a field number outside 0..200 falls back to Text, and
// a transparent item gets one leading blank. The tag is ForeColor as written,
// then " >>>>".
TEST_F(Page, CaptionsAndTags) {
    lumaris::gFieldValues[4] = "four";
    lumaris::gFieldValues[5] = " :x||y\r\nz ";
    struct Row {
        rt::Keys keys;
        QString caption;
        QString tag;
    } rows[] = {
        {{{"Text", ":  كلمة  "}}, QStringLiteral("كلمة:"), QStringLiteral("0 >>>>")},
        {{{"Text", "a||b"}, {"ForeColor", "255"}},
         QStringLiteral("a\r\nb"),
         QStringLiteral("255 >>>>")},
        {{{"Text", "a\\nb"}, {"ForeColor", "-2147483640"}},
         QStringLiteral("a\r\nb"),
         QStringLiteral("-2147483640 >>>>")},
        {{{"Text", "ends||"}}, QStringLiteral("ends\r\n"), QStringLiteral("0 >>>>")},
        // Data fields: the value as it is, blanks, "||" and leading ":" included.
        {{{"Type", "2"}, {"Field", "5"}, {"Text", "x"}},
         QString::fromUtf8(" :x||y\r\nz "),
         QStringLiteral("0 >>>>")},
        // 4.5 goes to the even 4.
        {{{"Type", "2"}, {"Field", "4.5"}}, QStringLiteral("four"), QStringLiteral("0 >>>>")},
        {{{"Type", "2"}, {"Field", "201"}, {"Text", ": name"}},
         QStringLiteral("name:"),
         QStringLiteral("0 >>>>")},
        {{{"Type", "2"}, {"Field", "-1"}, {"Text", "t"}},
         QStringLiteral("t"),
         QStringLiteral("0 >>>>")},
        {{{"Text", "شفاف"}, {"BackStyle", "true"}},
         QStringLiteral(" شفاف"),
         QStringLiteral("0 >>>>")},
        {{{"Text", ""}, {"ForeColor", ""}}, QString(), QStringLiteral("0 >>>>")},
        {{{"Text", "x"}, {"IgnorePrint", "True"}, {"ForeColor", "12.5"}},
         QStringLiteral("x"),
         QStringLiteral("12.5 >>>>")},
    };
    for (const Row& row : rows) {
        open(rt::head("1") +
             rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400", row.keys)));
        ASSERT_EQ(frmGeneralSlip::instance().labMaster.size(), 2u);
        EXPECT_EQ(label(1)->caption(), row.caption) << row.caption.toStdString();
        EXPECT_EQ(label(1)->tag(), row.tag);
        EXPECT_TRUE(box(1)->isVisible()) << "an empty caption still has its box";
        TearDown();
    }
}

// Labels and boxes are numbered 1, 2, ... in section order without gaps:
// missing sections, Type 0, unknown types, sections past CTL_Count and names
// the reader would not find as "CTL_00n" make nothing. Images count apart.
TEST_F(Page, NumberingSkipsWhatMakesNoItem) {
    lumaris::gFieldValues[7] = "seven";
    frmGeneralSlip& w = open(
        rt::head("9") +
        rt::section("CTL_005",
                    rt::textBox("1000", "2000", "900", "300", {{"Type", "2"}, {"Field", "7"}})) +
        rt::section("CTL_001", rt::textBox("1000", "1000", "900", "300", {{"Text", "first"}})) +
        rt::section("CTL_003", rt::textBox("1000", "1500", "900", "300", {{"Type", "0"}})) +
        rt::section("ctl_004", rt::logo("3000", "1000", "500", "500")) +
        rt::section("CTL_0006", rt::textBox("1000", "2500", "900", "300")) +
        rt::section("CTL_007", rt::textBox("1000", "3000", "900", "300", {{"Type", "4"}})) +
        rt::section("CTL_008", rt::logo("4000", "1000", "500", "500")) +
        rt::section("CTL_009", rt::textBox("1000", "3500", "900", "300", {{"Text", "last"}})) +
        rt::section("CTL_010", rt::textBox("1000", "4000", "900", "300", {{"Text", "past"}})));
    ASSERT_EQ(w.labMaster.size(), 4u);
    ASSERT_EQ(w.ShapeMaster.size(), 4u);
    EXPECT_EQ(label(1)->caption(), QStringLiteral("first"));
    EXPECT_EQ(label(2)->caption(), QStringLiteral("seven"));
    EXPECT_EQ(label(3)->caption(), QStringLiteral("last"));
    for (size_t n = 1; n < 4; ++n) {
        EXPECT_EQ(label(n)->index(), int(n));
        EXPECT_EQ(box(n)->index(), int(n));
    }
    ASSERT_EQ(w.imgMaster.size(), 3u);
    EXPECT_NEAR(twipsLeft(image(1)), (3000 - 175) * scale(), 0.01);
    EXPECT_NEAR(twipsLeft(image(2)), (4000 - 175) * scale(), 0.01);
}

// Without a usable CTL_Count the page stays empty, whatever sections follow.
TEST_F(Page, NoCountNoItems) {
    for (const std::string count : {"-", "", "0", "-3", "abc", "0.5"}) {
        frmGeneralSlip& w = open(rt::head(count) +
                                 rt::section("CTL_001", rt::textBox("1000", "1000", "900", "300")) +
                                 rt::section("CTL_002", rt::logo("3000", "1000", "500", "500")));
        EXPECT_EQ(w.labMaster.size(), 1u) << "CTL_Count=" << count;
        EXPECT_EQ(w.imgMaster.size(), 1u) << "CTL_Count=" << count;
        TearDown();
    }
    // A count of 2.5 still takes controls 1 and 2; a huge one takes those that exist.
    for (const std::string count : {"2.5", "2147483647", "99999999999999999999999"}) {
        frmGeneralSlip& w = open(
            rt::head(count) + rt::section("CTL_001", rt::textBox("1000", "1000", "900", "300")) +
            rt::section("CTL_002", rt::logo("3000", "1000", "500", "500")) +
            rt::section("CTL_99999999999999999999", rt::textBox("1000", "1000", "900", "300")));
        EXPECT_EQ(w.labMaster.size(), 2u) << "CTL_Count=" << count;
        EXPECT_EQ(w.imgMaster.size(), 2u) << "CTL_Count=" << count;
        TearDown();
    }
}

// Another zoom builds the labels and boxes again from 1 and destroys the old
// ones, while the images stay the same widgets, moved and resized.
TEST_F(Page, SecondRenderRenumbersLabelsAndKeepsImages) {
    frmGeneralSlip& w =
        open(rt::head("3") + rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400")) +
             rt::section("CTL_002", rt::logo("375", "385", "1000", "600")) +
             rt::section("CTL_003", rt::textBox("1175", "2185", "2000", "400")));
    QPointer<PreviewLabel> oldLabel = label(1);
    QPointer<PreviewShape> oldBox = box(2);
    PreviewImage* logo = image(1);
    EXPECT_NEAR(twipsWidth(logo), 1575, 0.01);

    w.cmbZoom->setCurrentIndex(k50);
    EXPECT_TRUE(oldLabel.isNull());
    EXPECT_TRUE(oldBox.isNull());
    ASSERT_EQ(w.labMaster.size(), 3u);
    EXPECT_EQ(label(1)->index(), 1);
    EXPECT_EQ(label(2)->index(), 2);
    ASSERT_EQ(w.imgMaster.size(), 2u);
    EXPECT_EQ(image(1), logo);
    // "50%": 0.7875 slip twips per screen twip.
    EXPECT_NEAR(twipsWidth(logo), 787.5, 0.01);
    EXPECT_NEAR(twipsLeft(logo), 157.5, 0.01);
    EXPECT_TRUE(rt::followsTwips(logo));
    EXPECT_TRUE(logo->isVisible());
    // Only the templates and the current items remain on the page.
    EXPECT_EQ(w.picPrinter->findChildren<PreviewLabel*>().size(), 3);
    EXPECT_EQ(w.picPrinter->findChildren<PreviewShape*>().size(), 3);
}

// Fill, outline and colours: BackStyle "True" leaves the box unfilled (its
// outline stays with Border); colours are RGB with red in the low byte, and
// a negative number is a system colour (-2147483640: window text).
TEST_F(Page, ColoursFillAndOutline) {
    open(rt::head("3") +
         rt::section(
             "CTL_001",
             rt::textBox("1000", "1000", "900", "300",
                         {{"BackColor", "255"}, {"ForeColor", "65280"}, {"Border", "True"}})) +
         rt::section("CTL_002", rt::textBox("1000", "2000", "900", "300",
                                            {{"BackStyle", " TRUE "},
                                             {"Border", "true"},
                                             {"ForeColor", "-2147483640"}})) +
         rt::section("CTL_003", rt::textBox("1000", "3000", "900", "300",
                                            {{"BackColor", "16711680"}, {"Border", "yes"}})));
    EXPECT_TRUE(box(1)->filled());
    EXPECT_EQ(box(1)->fillColor(), QColor(255, 0, 0));
    EXPECT_TRUE(box(1)->outlined());
    EXPECT_EQ(label(1)->foreColor(), QColor(0, 255, 0));
    EXPECT_FALSE(label(1)->backOpaque());

    EXPECT_FALSE(box(2)->filled());
    EXPECT_TRUE(box(2)->outlined());
    EXPECT_EQ(label(2)->foreColor(), QColor(0, 0, 0));

    EXPECT_TRUE(box(3)->filled());
    EXPECT_EQ(box(3)->fillColor(), QColor(0, 0, 255));
    EXPECT_FALSE(box(3)->outlined());
}

// The font: the face without its charset suffix, FontSize times the scale in
// points, bold, italic and underline from their flags.
TEST_F(Page, FontFollowsTheZoom) {
    open(rt::head("1") + rt::section("CTL_001", rt::textBox("1000", "1000", "900", "300",
                                                            {{"FontName", " Arial (Arabic) "},
                                                             {"FontSize", "10"},
                                                             {"FontBold", "True"},
                                                             {"FontUnderline", "TRUE"}})));
    EXPECT_EQ(label(1)->font().family(), QStringLiteral("Arial"));
    EXPECT_NEAR(label(1)->fontSize(), 15.75, 1e-4);
    EXPECT_TRUE(label(1)->font().bold());
    EXPECT_FALSE(label(1)->font().italic());
    EXPECT_TRUE(label(1)->font().underline());
    // 1 pt is 20 twips whatever the screen's dpi: 15.75 pt is 21 px.
    EXPECT_NEAR(label(1)->drawFont().pointSizeF() * label(1)->logicalDpiY() / 72.0, 21.0, 1e-3);
}

// Wrapping: without Wordwrap the label keeps the height of its unwrapped
// caption however narrow it becomes; with it, the caption wraps within the
// label's width and the label grows.
TEST_F(Page, WordwrapDecidesTheHeight) {
    const std::string text = "كلمة كلمة كلمة كلمة كلمة كلمة كلمة كلمة";
    open(rt::head("2") +
         rt::section("CTL_001", rt::textBox("1000", "1000", "600", "300",
                                            {{"Text", text}, {"Wordwrap", "False"}})) +
         rt::section("CTL_002", rt::textBox("1000", "3000", "600", "300",
                                            {{"Text", text}, {"Wordwrap", "True"}})));
    const float oneLine = twipsHeight(label(1));
    EXPECT_NEAR(twipsWidth(label(1)), 600 * 1.575 - 60, 0.01);
    EXPECT_NEAR(twipsWidth(label(2)), 600 * 1.575 - 60, 0.01);
    EXPECT_GT(twipsHeight(label(2)), 2.5 * oneLine);
    EXPECT_FALSE(label(1)->wordWrap());
    EXPECT_TRUE(label(2)->wordWrap());
}

// On paper a lower section lies in front; on screen too, each label in front
// of its own box and every item of section 1 in front of those of section 2.
TEST_F(Page, LowerSectionInFront) {
    frmGeneralSlip& w =
        open(rt::head("3") + rt::section("CTL_001", rt::textBox("1000", "1000", "3000", "1000")) +
             rt::section("CTL_002", rt::logo("1000", "1000", "3000", "1000")) +
             rt::section("CTL_003", rt::textBox("1000", "1000", "3000", "1000")));
    const QObjectList order = w.picPrinter->children(); // back to front
    auto at = [&](QObject* o) { return order.indexOf(o); };
    EXPECT_LT(at(box(1)), at(label(1)));
    EXPECT_LT(at(image(1)), at(box(1)));
    EXPECT_LT(at(label(2)), at(image(1)));
    EXPECT_LT(at(box(2)), at(label(2)));
    // The item in front at a point where all overlap is label 1.
    const QPoint inside = label(1)->geometry().topLeft() + QPoint(2, 2);
    EXPECT_EQ(w.picPrinter->childAt(inside), label(1));
}

// The labels report mouse-ups (button 1 left, 2 right, 4 middle) and left
// clicks with their index through the template; a box lets the mouse through
// to the page, a logo keeps it.
TEST_F(Page, LabelsReportTheMouse) {
    frmGeneralSlip& w =
        open(rt::head("2") + rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400")) +
             rt::section("CTL_002", rt::textBox("1175", "3185", "2000", "1400")));
    QSignalSpy ups(label(0), &PreviewLabel::mouseUp);
    QSignalSpy clicks(label(0), &PreviewLabel::clicked);
    QTest::mouseClick(label(2), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(label(2), Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseClick(label(1), Qt::MiddleButton, {}, QPoint(3, 3));
    ASSERT_EQ(ups.size(), 3);
    EXPECT_EQ(ups[0], (QVariantList{2, 1}));
    EXPECT_EQ(ups[1], (QVariantList{2, 2}));
    EXPECT_EQ(ups[2], (QVariantList{1, 4}));
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0], QVariantList{2});

    // Below label 2 inside its box: the page is what is under the mouse.
    const QRect b = box(2)->geometry();
    const QRect l = label(2)->geometry();
    ASSERT_GT(b.bottom(), l.bottom() + 4);
    EXPECT_EQ(w.picPrinter->childAt(QPoint(b.left() + 3, b.bottom() - 2)), nullptr);
}

// Nonsense numbers neither crash nor hang; the refused property keeps what
// the template gave.
TEST_F(Page, RefusedValuesKeepTheTemplates) {
    const std::string huge(400, '9'); // beyond double: the reader's largest number
    const std::string big(60, '9');   // beyond single precision once scaled
    frmGeneralSlip& w = open(
        rt::head("4") +
        rt::section("CTL_001", rt::textBox(huge, "-99999999999999999999", "-500", "-7",
                                           {{"Alignment", "7"},
                                            {"FontSize", "99999999999"},
                                            {"ForeColor", "99999999999"},
                                            {"BackColor", "-1"},
                                            {"Wordwrap", "True"}})) +
        rt::section("CTL_002", rt::textBox(big, "0", "0", "0", {{"FontSize", "0"}, {"Text", ""}})) +
        rt::section("CTL_003", rt::logo("-" + big, big, "-5", huge)) +
        rt::section("CTL_004", rt::textBox("1175", "1185", "2000", "400", {{"Alignment", "2"}})));
    ASSERT_EQ(w.labMaster.size(), 4u);
    EXPECT_EQ(label(1)->alignment(), PreviewLabel::AlignLeft);
    EXPECT_EQ(label(3)->alignment(), PreviewLabel::AlignCenter);
    EXPECT_EQ(label(1)->fontSize(), label(0)->fontSize());
    EXPECT_GE(twipsWidth(label(1)), 0);
    EXPECT_GE(twipsHeight(box(1)), 0);
    EXPECT_NEAR(twipsLeft(label(3)), 1590, 0.01);
    w.grab(); // paints every item
}

// Closing takes labels and boxes 1 to 200; the templates and images stay for
// the window to take.
TEST_F(Page, UnloadTakesLabelsAndBoxes) {
    frmGeneralSlip& w =
        open(rt::head("2") + rt::section("CTL_001", rt::textBox("1175", "1185", "2000", "400")) +
             rt::section("CTL_002", rt::logo("375", "385", "1000", "600")));
    QPointer<PreviewLabel> l = label(1);
    QPointer<PreviewShape> b = box(1);
    w.UnloadPreviewControls();
    EXPECT_TRUE(l.isNull());
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(w.labMaster.size(), 1u);
    EXPECT_NE(w.labMaster[0], nullptr);
    EXPECT_EQ(w.imgMaster.size(), 2u);
    EXPECT_NE(w.imgMaster[1], nullptr);
}

} // namespace
