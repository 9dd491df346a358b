// The on-screen page: items built from the slip file, in twips and in pixels.

#include <QComboBox>
#include <gtest/gtest.h>

#include "core/fieldvalues.h"
#include "platform/printer.h"
#include "platform/twips.h"
#include "preview/frmGeneralSlip.h"
#include "preview/picturebox.h"
#include "preview/previewitems.h"
#include "slipfiles.h"

using lumaris::frmGeneralSlip;
using lumaris::PreviewLabel;
using lumaris::PreviewShape;
using namespace lumaris::platform;
using namespace lumaris::test;

namespace {

class Page : public ::testing::Test {
  protected:
    // Shows the slip at "100%" (zoom item 2). A new file name each time: a
    // rewrite of the same size could look unchanged to the reader.
    frmGeneralSlip& open(const std::string& text) {
        frmGeneralSlip::unload();
        frmGeneralSlip& w = frmGeneralSlip::instance();
        w.ShowSlip(dir.write(QStringLiteral("page%1.slp").arg(++files), text), false, true);
        w.cmbZoom->setCurrentIndex(2);
        w.cmbZoom_Click();
        return w;
    }
    void TearDown() override {
        frmGeneralSlip::unload();
        flushDeletes();
        lumaris::gFieldValues = savedValues; // program-wide: others find them as they were
    }
    // The rectangle in twips to 0.01, checking that the pixels follow it.
    static QRectF twips(const QWidget* w) {
        EXPECT_TRUE(followsTwips(w)) << w->metaObject()->className();
        const QRectF r = twipsRect(w);
        auto c = [](double v) { return std::round(v * 100) / 100; };
        return {c(r.left()), c(r.top()), c(r.width()), c(r.height())};
    }
    static PreviewLabel* label(int n) { return frmGeneralSlip::instance().labMaster.at(n); }
    static PreviewShape* box(int n) { return frmGeneralSlip::instance().ShapeMaster.at(n); }
    static lumaris::PreviewImage* image(int n) {
        return frmGeneralSlip::instance().imgMaster.at(n);
    }

    SlipDir dir;
    int files = 0;
    const decltype(lumaris::gFieldValues) savedValues = lumaris::gFieldValues;
};

// "100%" is 6.3 x 500 / 2000 = 1.575 screen twips a slip twip, after moving
// everything 175 left and 185 up: a text box at (1175, 1185) spans 1.575 x its
// size from (1575, 1590), its label 15 twips in and 45 short. Another zoom
// builds labels and boxes anew and moves the images; a lower section lies in
// front, each label in front of its box. Closing leaves templates and images.
TEST_F(Page, GeometryZoomStackingAndUnload) {
    frmGeneralSlip& w =
        open(slipHead("2", "3") + section("CTL_001", textBox("1175", "1185", "2000", "400")) +
             section("CTL_002", logo("375", "385", "1000", "600", "True")) +
             section("CTL_003", textBox("1175", "2185", "2000", "400")));
    ASSERT_NEAR(twipsWidth(w.picPrinter) / Printer::current().width(), 1.575, 1e-6);
    EXPECT_EQ(twips(image(1)), QRectF(315, 315, 1575, 945));
    EXPECT_TRUE(image(1)->bordered() && image(1)->isVisible());
    EXPECT_EQ(twips(box(1)), QRectF(1575, 1590, 3150, 630));
    const QRectF l = twips(label(1));
    EXPECT_EQ(l, QRectF(1590, 1590, 3150 - 60, l.height()));
    EXPECT_FALSE(label(0)->isVisible() || box(0)->isVisible() || image(0)->isVisible())
        << "the templates never show";

    QPointer<PreviewLabel> oldLabel = label(1);
    lumaris::PreviewImage* logo = image(1);
    w.cmbZoom->setCurrentIndex(0); // "50%": 0.7875
    w.cmbZoom_Click();
    EXPECT_TRUE(oldLabel.isNull());
    EXPECT_EQ(image(1), logo);
    EXPECT_EQ(twips(logo), QRectF(157.5, 157.5, 787.5, 472.5));
    const QObjectList order = w.picPrinter->children(); // back to front
    const QObject* backToFront[] = {box(2), label(2), image(1), box(1), label(1)};
    for (int n = 1; n < 5; ++n)
        EXPECT_LT(order.indexOf(backToFront[n - 1]), order.indexOf(backToFront[n])) << n;

    oldLabel = label(1);
    w.UnloadPreviewControls();
    EXPECT_TRUE(oldLabel.isNull());
    EXPECT_EQ(std::pair(w.labMaster.size(), w.imgMaster.size()), std::pair(size_t(1), size_t(2)));
}

// One text box a row. Text goes through the text rules, a data field shows its
// value as it is, a field outside 0..200 falls back to Text, a transparent item
// gets a leading blank; the tag is ForeColor as written, then " >>>>".
// VAlignment 1 adds half of (box height - label height) to the box's top, 2
// all of it, also when the label is taller and rises above the box.
TEST_F(Page, CaptionTagAndVerticalAlignment) {
    lumaris::gFieldValues[4] = "four";
    lumaris::gFieldValues[5] = " :x||y\r\nz ";
    // clang-format off
    const std::tuple<Keys, QString, QString, double> rows[] = {
        {{{"Text", ":  كلمة  "}}, QStringLiteral("كلمة:"), "0", 0},
        {{{"Text", "a||b"}, {"ForeColor", "255"}, {"VAlignment", "1"}, {"Height", "1000"}}, "a\r\nb", "255", 0.5},
        {{{"Text", "a\\nb||"}, {"ForeColor", "12.5"}, {"VAlignment", "2"}, {"Height", "1000"}}, "a\r\nb\r\n", "12.5", 1},
        {{{"Type", "2"}, {"Field", "5"}, {"Text", "x"}, {"VAlignment", "1"}, {"Height", "100"}}, " :x||y\r\nz ", "0", 0.5},
        {{{"Type", "2"}, {"Field", "4.5"}, {"VAlignment", "2"}, {"Height", "100"}}, "four", "0", 1}, // 4.5 halves to 4
        {{{"Type", "2"}, {"Field", "201"}, {"Text", ": name"}, {"VAlignment", "3"}}, "name:", "0", 0},
        {{{"Text", "شفاف"}, {"BackStyle", "true"}}, QStringLiteral(" شفاف"), "0", 0},
        {{{"Text", ""}, {"ForeColor", ""}}, "", "0", 0}, // an empty caption still has its box
    };
    // clang-format on
    for (const auto& [keys, caption, colour, share] : rows) {
        open(slipHead("2", "1") + section("CTL_001", textBox("1175", "1185", "2000", "400", keys)));
        SCOPED_TRACE(caption.toStdString());
        EXPECT_EQ(label(1)->caption(), caption);
        EXPECT_EQ(label(1)->tag(), colour + " >>>>");
        EXPECT_TRUE(box(1)->isVisible());
        const QRectF b = twips(box(1)), l = twips(label(1));
        EXPECT_NEAR(l.top(), 1590 + share * (b.height() - l.height()), 0.01);
    }
}

// Labels and boxes are numbered 1, 2, ... in section order without gaps left by
// missing sections, Type 0, unknown types, sections past CTL_Count or names not
// found as "CTL_00n"; images count apart. A count of 2.5 takes controls 1 and
// 2, a huge one those that exist; an unusable one, none.
TEST_F(Page, NumberingAndControlCount) {
    lumaris::gFieldValues[7] = "seven";
    auto text = [](Str keys) { return textBox("1000", "1000", "900", "300", kv(keys)); };
    const std::string body =
        section("CTL_005", text("Type=2|Field=7")) + section("CTL_001", text("Text=first")) +
        section("CTL_003", text("Type=0")) +
        section("ctl_004", logo("3000", "1000", "500", "500")) +
        section("CTL_0006", text("Text=six")) + section("CTL_007", text("Type=4")) +
        section("CTL_008", logo("4000", "1000", "500", "500")) +
        section("CTL_009", text("Text=last")) + section("CTL_010", text("Text=past")) +
        section("CTL_99999999999999999999", text("Text=huge"));
    // clang-format off
    const std::tuple<std::string, QString, size_t> rows[] = {
        {"-", "", 0}, {"", "", 0}, {"0", "", 0}, {"-3", "", 0}, {"abc", "", 0}, {"0.5", "", 0},
        {"2.5", "first", 0}, {"9", "first seven last", 2},
        {"99999999999999999999999", "first seven last past", 2}};
    // clang-format on
    for (const auto& [count, captions, images] : rows) {
        frmGeneralSlip& w = open(slipHead("2", count) + body);
        QStringList shown;
        for (int n = 1; n < int(w.labMaster.size()); ++n) {
            shown << label(n)->caption();
            EXPECT_TRUE(label(n)->index() == n && box(n)->index() == n);
        }
        EXPECT_EQ(shown.join(' '), captions) << "CTL_Count=" << count;
        EXPECT_EQ(w.imgMaster.size(), 1 + images) << "CTL_Count=" << count;
    }
}

// Colours have red in the low byte, a negative one is a system colour (window
// text); BackStyle "True" leaves a box unfilled. FontSize x 1.575 points, 20
// twips a point at any dpi: 21 px. Only Wordwrap lets a narrow label grow.
// Nonsense numbers neither crash nor hang; refused ones keep the template's.
TEST_F(Page, Appearance) {
    const std::string words = "Text=كلمة كلمة كلمة كلمة كلمة كلمة كلمة كلمة";
    const std::string huge(400, '9'), big(60, '9'); // beyond double; beyond float once scaled
    open(slipHead("2", "5") +
         section("CTL_001", textBox("1000", "1000", "900", "300",
                                    kv("BackColor=16711680|ForeColor=65280|Border=True|"
                                       "FontName= Arial (Arabic) |FontBold=True|Alignment=2"))) +
         section("CTL_002",
                 textBox("1000", "2000", "600", "300",
                         kv("BackStyle= TRUE |Border=true|ForeColor=-2147483640|" + words))) +
         section("CTL_003", textBox("1000", "4000", "600", "300", kv(words + "|Wordwrap=True"))) +
         section("CTL_004", textBox(huge, "-" + big, "-500", "-7",
                                    kv("Alignment=7|BackColor=-1|FontSize=" + big))) +
         section("CTL_005", logo("-" + big, big, "-5", huge)));
    EXPECT_EQ(box(1)->fillColor(), QColor(0, 0, 255));
    EXPECT_EQ(label(1)->foreColor(), QColor(0, 255, 0));
    EXPECT_TRUE(box(1)->filled() && box(1)->outlined() && !label(1)->backOpaque());
    EXPECT_EQ(label(1)->alignment(), PreviewLabel::AlignCenter);
    EXPECT_TRUE(!box(2)->filled() && box(2)->outlined());
    EXPECT_EQ(label(2)->foreColor(), QColor(0, 0, 0));
    EXPECT_EQ(label(1)->font().family(), QStringLiteral("Arial"));
    EXPECT_TRUE(label(1)->font().bold() && !label(1)->font().italic());
    EXPECT_NEAR(label(1)->fontSize(), 15.75, 1e-4);
    EXPECT_NEAR(label(1)->drawFont().pointSizeF() * label(1)->logicalDpiY() / 72.0, 21.0, 1e-3);
    EXPECT_GT(twipsHeight(label(3)), 2.5 * twipsHeight(label(2)));
    EXPECT_EQ(label(4)->alignment(), label(0)->alignment());
    EXPECT_EQ(label(4)->fontSize(), label(0)->fontSize());
    frmGeneralSlip::instance().grab(); // paints every item
}

} // namespace
