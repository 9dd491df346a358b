#include "slipfiles.h"

namespace {

// At "100%"; rectangles in twips to 0.01, their pixels following them.
class Page : public WindowTest {
  protected:
    frmGeneralSlip& open(const std::string& text) { return WindowTest::open(text, 2); }
    static QRectF twips(const QWidget* w) { // at 15 twips a pixel, edge by edge
        const QRectF r = twipsRect(w);
        auto px = [](double t) { return int(std::nearbyint(t / 15)); };
        EXPECT_EQ(w->geometry(), QRect(QPoint(px(r.left()), px(r.top())),
                                       QPoint(px(r.right()) - 1, px(r.bottom()) - 1)));
        auto c = [](double v) { return std::round(v * 100) / 100; };
        return {c(r.left()), c(r.top()), c(r.width()), c(r.height())};
    }
};

// "100%" is 6.3 x 500 / 2000 = 1.575 screen twips a slip twip, after moving all
// 175 left, 185 up: (1175, 1185) lands at (1575, 1590), the label 15 in, 45 short.
// Red is the low byte, a negative colour a system one. FontSize x 1.575 points at
// 20 twips a point, any dpi: 21 px. Nonsense numbers keep the template's values.
TEST_F(Page, GeometryZoomStackingUnloadAndAppearance) {
    frmGeneralSlip& w =
        open(slipHead("2", "3") + section("CTL_001", textBox("1175", "1185", "2000", "400")) +
             section("CTL_002", textBox("375", "385", "1000", "600", "Type=3;Border=True")) +
             section("CTL_003", textBox("1175", "2185", "2000", "400")));
    ASSERT_NEAR(twipsWidth(w.picPrinter) / Printer::current().width(), 1.575, 1e-6);
    EXPECT_EQ(twips(image(1)), QRectF(315, 315, 1575, 945));
    EXPECT_TRUE(image(1)->bordered() && image(1)->isVisible());
    EXPECT_EQ(twips(box(1)), QRectF(1575, 1590, 3150, 630));
    const QRectF l = twips(label(1));
    EXPECT_EQ(l, QRectF(1590, 1590, 3150 - 60, l.height()));
    EXPECT_FALSE(label(0)->isVisible() || box(0)->isVisible() || image(0)->isVisible());

    QPointer<PreviewLabel> oldLabel = label(1);
    PreviewImage* logo = image(1);
    zoom(w, 0); // "50%": 0.7875; labels anew, images moved
    EXPECT_TRUE(oldLabel.isNull());
    EXPECT_EQ(image(1), logo);
    EXPECT_EQ(twips(logo), QRectF(157.5, 157.5, 787.5, 472.5));
    const QObjectList order = w.picPrinter->children(); // a lower section in front
    const QObject* backToFront[] = {box(2), label(2), image(1), box(1), label(1)};
    for (int n = 1; n < 5; ++n)
        EXPECT_LT(order.indexOf(backToFront[n - 1]), order.indexOf(backToFront[n])) << n;

    oldLabel = label(1); // unloading leaves the templates and images
    w.UnloadPreviewControls();
    EXPECT_TRUE(oldLabel.isNull());
    EXPECT_EQ(std::pair(w.labMaster.size(), w.imgMaster.size()), std::pair(size_t(1), size_t(2)));

    const std::string words = "Text=كلمة كلمة كلمة كلمة كلمة كلمة كلمة كلمة";
    const std::string huge(400, '9'), big(60, '9'); // beyond double; beyond float once scaled
    open(
        slipHead("2", "5") +
        section("CTL_001", textBox("1000", "1000", "900", "300",
                                   "BackColor=16711680;ForeColor=65280;Border=True;"
                                   "FontName= Arial (Arabic) ;FontBold=True;Alignment=2")) +
        section("CTL_002", textBox("1000", "2000", "600", "300",
                                   "BackStyle= TRUE ;Border=true;ForeColor=-2147483640;" + words)) +
        section("CTL_003", textBox("1000", "4000", "600", "300", words + ";Wordwrap=True")) +
        section("CTL_004", textBox(huge, "-" + big, "-500", "-7",
                                   "Alignment=7;BackColor=-1;FontSize=" + big)) +
        section("CTL_005", textBox("-" + big, big, "-5", huge, "Type=3")));
    EXPECT_EQ(box(1)->fillColor(), QColor(0, 0, 255));
    EXPECT_EQ(label(1)->foreColor(), QColor(0, 255, 0));
    EXPECT_TRUE(box(1)->filled() && !box(2)->filled() && box(2)->outlined());
    EXPECT_EQ(label(1)->alignment(), PreviewLabel::AlignCenter);
    EXPECT_EQ(label(2)->foreColor(), QColor(0, 0, 0));
    EXPECT_TRUE(label(1)->font().family() == "Arial" && label(1)->font().bold());
    EXPECT_NEAR(label(1)->fontSize(), 15.75, 1e-4);
    EXPECT_NEAR(label(1)->drawFont().pointSizeF() * label(1)->logicalDpiY() / 72.0, 21.0, 1e-3);
    EXPECT_GT(twipsHeight(label(3)), 2.5 * twipsHeight(label(2)));
    EXPECT_TRUE(label(4)->alignment() == label(0)->alignment() &&
                label(4)->fontSize() == label(0)->fontSize());
    frmGeneralSlip::instance().grab(); // paints every item
}

// A data field shows its value as it is, one outside 0..200 its Text; the tag is ForeColor as
// written. VAlignment 1 and 2 lower the label by half or all of (box - label height), also when the
// label is taller than the box. Labels numbered without gaps; CTL_Count 2.5 is 2, a huge one all. A
// value's "&" is no mnemonic, on screen as in print.
TEST_F(Page, CaptionsTagsAlignmentAndNumbering) {
    gFieldValues[4] = "four", gFieldValues[5] = " :x||y\r\nz ", gFieldValues[200] = "last";
    const std::tuple<std::string, QString, QString, double> rows[] = {
        {"Text=:  كلمة  ", QStringLiteral("كلمة:"), "0", 0},
        {"Text=a||b;ForeColor=255;VAlignment=1;Height=1000", "a\r\nb", "255", 0.5},
        {"Text=a\\nb||;ForeColor=12.5;VAlignment=2;Height=1000", "a\r\nb\r\n", "12.5", 1},
        {"Type=2;Field=5;Text=x;VAlignment=1;Height=100", " :x||y\r\nz ", "0", 0.5},
        {"Type=2;Field=4.5;VAlignment=2;Height=100", "four", "0", 1}, // 4.5 halves to 4
        {"Type=2;Field=201;Text=: name;VAlignment=3", "name:", "0", 0},
        {"Type=2;Field=200;Text=x", "last", "0", 0},
        {"Text=شفاف;BackStyle=true", QStringLiteral(" شفاف"), "0", 0},
        {"Text=;ForeColor=", "", "0", 0}, // an empty caption still has its box
    };
    for (const auto& [keys, caption, colour, share] : rows) {
        open(slipHead("2", "1") + section("CTL_001", textBox("1175", "1185", "2000", "400", keys)));
        SCOPED_TRACE(keys);
        EXPECT_EQ(label(1)->caption(), caption);
        EXPECT_EQ(label(1)->tag(), colour + " >>>>");
        EXPECT_TRUE(box(1)->isVisible());
        const QRectF b = twips(box(1)), l = twips(label(1));
        EXPECT_NEAR(l.top(), 1590 + share * (b.height() - l.height()), 0.01);
    }

    gFieldValues[62] = "SMITH&SONS", gFieldValues[63] = "X&&Y";
    for (auto [keys, shown] : {std::pair{"Type=2;Field=62", "SMITH&SONS"},
                               {"Type=2;Field=63", "X&&Y"},
                               {"Text=P&Q", "PQ"},
                               {"Text=R&&S", "R&S"}}) {
        open(slipHead("2", "1") + section("CTL_001", textBox("1175", "1185", "2000", "400", keys)));
        const double width = QFontMetricsF(label(1)->drawFont(), label(1)).horizontalAdvance(shown);
        EXPECT_EQ(label(1)->captionExtent().width(), std::ceil(width) * 15) << keys;
    }

    gFieldValues[7] = "seven";
    auto text = [](Str keys) { return textBox("1000", "1000", "900", "300", keys); };
    const std::string body =
        section("CTL_005", text("Type=2;Field=7")) + section("CTL_001", text("Text=first")) +
        section("CTL_003", text("Type=0")) + section("ctl_004", text("Type=3")) +
        section("CTL_0006", text("Text=six")) + section("CTL_007", text("Type=4")) +
        section("CTL_008", text("Type=3")) + section("CTL_009", text("Text=last")) +
        section("CTL_010", text("Text=past")) +
        section("CTL_99999999999999999999", text("Text=huge"));
    // clang-format off
    const std::tuple<std::string, QString, size_t> counts[] = { // "-": no CTL_Count
        {"-", "", 0}, {"-3", "", 0}, {"0.5", "", 0}, {"2.5", "first", 0},
        {"9", "first seven last", 2}, {"99999999999999999999999", "first seven last past", 2}};
    // clang-format on
    for (const auto& [count, captions, images] : counts) {
        frmGeneralSlip& w = open(slipHead("2", count) + body);
        QStringList shown;
        for (size_t n = 1; n < w.labMaster.size(); ++n) {
            shown << label(n)->caption();
            EXPECT_TRUE(label(n)->index() == int(n) && box(n)->index() == int(n));
            EXPECT_EQ(label(n)->useMnemonic(), shown.last() != "seven");
        }
        EXPECT_EQ(shown.join(' '), captions) << "CTL_Count=" << count;
        EXPECT_EQ(w.imgMaster.size(), 1 + images) << "CTL_Count=" << count;
    }
}

struct SlipText : WindowTest {};

// CR LF, LF and CR break lines, Arabic ones by the item's face; "&&" is "&"; words stay whole.
TEST_F(SlipText, LinesMnemonicsAndWrapping) {
    QImage device(10, 10, QImage::Format_RGB32);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    const double line = QFontMetricsF(font, &device).height();
    auto size = [&](const char* text, double wrapWidth = -1) {
        return slipTextSize(font, &device, QString::fromUtf8(text), SlipAlign::Right, wrapWidth);
    };
    // clang-format off
    const std::pair<const char*, int> rows[] = {{"", 1}, {"a\r\nb", 2}, {"a\nb", 2}, {"a\rb", 2},
        {"ends\r\n", 2}, {"a\r\n\r\nb", 3}, {"رقم الحساب\r\nالتوقيع", 2}};
    // clang-format on
    for (const auto& [text, lines] : rows)
        EXPECT_DOUBLE_EQ(size(text).height(), lines * line) << text;
    const std::pair<const char*, const char*> sameWidth[] = {
        {"&Copy", "Copy"}, {"Copy&", "Copy"}, {"wide line\r\nw", "wide line"}};
    for (const auto& [text, shown] : sameWidth)
        EXPECT_DOUBLE_EQ(size(text).width(), size(shown).width()) << text;
    EXPECT_GT(size("A&&B").width(), size("AB").width()); // "A&B" shown
    auto drawn = [&](const char* text) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        drawSlipText(painter, image.rect(), QString::fromUtf8(text), SlipAlign::Left, false);
        return image;
    };
    EXPECT_NE(drawn("&C"), drawn("C")) << "the marked letter is underlined";
    const QSizeF one = size("كلمة");
    for (double width : {one.width() + 2, 3.0}) // words stay whole
        EXPECT_EQ(size("كلمة كلمة كلمة كلمة", width), QSizeF(one.width(), 4 * one.height()));
}

// A kept layout serves only its own request: each row changes one thing of the first and, all
// rows kept, measures and draws as laid out afresh. The cache keeps to its bound; the window's
// empties when the window unloads, and a label given another caption paints that one.
TEST_F(SlipText, KeptLayoutsServeOnlyTheirOwnRequest) {
    struct Row {
        QFont font;
        QSize dpi;
        const char* text;
        double width;
        bool wrap;
        SlipAlign align;
        SlipAmpersand ampersand;
    };
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(12);
    QFont bold = font, bigger = font;
    bold.setBold(true);
    bigger.setPointSizeF(15);
    const char* text = "A&B كلمة كلمة كلمة";
    using enum SlipAlign;
    const SlipAmpersand m = SlipAmpersand::Mnemonic;
    // clang-format off
    const Row rows[] = {{font, {96, 96}, text, 60, false, Right, m},
                        {bigger, {96, 96}, text, 60, false, Right, m},
                        {bold, {96, 96}, text, 60, false, Right, m},
                        {font, {192, 192}, text, 60, false, Right, m},
                        {font, {96, 192}, text, 60, false, Right, m},
                        {font, {96, 96}, text, 300, false, Right, m},
                        {font, {96, 96}, text, 60, true, Right, m},
                        {font, {96, 96}, text, 60, false, Left, m},
                        {font, {96, 96}, text, 60, false, Right, SlipAmpersand::Literal},
                        {font, {96, 96}, "A&B كلمة", 60, false, Right, m}};
    // clang-format on
    auto laid = [&](const Row& r, SlipTextCache* cache) { // measured, then drawn
        QImage image(400, 200, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(std::lround(r.dpi.width() / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(r.dpi.height() / 0.0254)));
        image.fill(Qt::white);
        const QString s = QString::fromUtf8(r.text);
        const QSizeF size =
            slipTextSize(r.font, &image, s, r.align, r.wrap ? r.width : -1, r.ampersand, cache);
        QPainter painter(&image);
        painter.setFont(r.font);
        drawSlipText(painter, QRectF(0, 0, r.width, 200), s, r.align, r.wrap, r.ampersand, cache);
        painter.end();
        return std::pair(size, image);
    };
    SlipTextCache cache;
    for (const Row& r : rows)
        laid(r, &cache);
    for (const Row& r : rows) {
        const size_t row = &r - rows;
        EXPECT_TRUE(laid(r, &cache) == laid(r, nullptr)) << row;
        EXPECT_TRUE(row == 0 || laid(r, nullptr) != laid(rows[0], nullptr)) << row << " is alike";
    }
    const QImage screen(1, 1, QImage::Format_RGB32);
    for (int i = 0; i < SlipTextCache::kMaxEntries + 10; ++i)
        slipTextSize(font, &screen, QString::number(i), Left, -1, m, &cache);
    EXPECT_EQ(cache.size(), SlipTextCache::kMaxEntries);

    const std::string keys = "Alignment=0;FontName=Arial;Wordwrap=True;Text=";
    frmGeneralSlip& w =
        open(slipHead("2", "2") +
             section("CTL_001", textBox("1000", "1000", "1800", "400", keys + "Balance")) +
             section("CTL_002", textBox("1000", "2000", "1800", "400", keys + "Account")));
    const QImage before = label(1)->grab().toImage();
    label(1)->setCaption(label(2)->caption());
    const QImage after = label(1)->grab().toImage();
    EXPECT_TRUE(after != before && after == label(2)->grab().toImage());
    EXPECT_GT(w.textCache().size(), 0);
    frmGeneralSlip::unload();
    EXPECT_EQ(w.textCache().size(), 0);
}

// Every fixed caption of the twelve templates shows whole at 100% on screen and paper.
TEST_F(SlipText, TemplateCaptionsShowWhole) {
    installFontSubstitutes();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.path("fit.pdf"));
    const double tx = 1440.0 / printer.resolution();
    int captions = 0;
    for (int form = 1; form <= 12; ++form) {
        modTemplateSlips::SelectTempFile(form);
        const QString file = QString::fromStdString(modTemplateSlips::tmpSlpPath().string());
        frmGeneralSlip& w = show(file, 2); // 100%
        size_t n = 0;
        for (long long id :
             existingControlNumbers(file.toStdString(), w.slipNumber("Main", "CTL_Count"))) {
            const QString sec = QString::fromStdString(controlSection(id));
            auto num = [&](const char* key) { return w.slipNumber(sec, QLatin1String(key)); };
            auto flag = [&](const char* key) { return w.slipFlag(sec, QLatin1String(key)); };
            n += num("Type") == 1 || num("Type") == 2;
            if (num("Type") != 1 || w.labMaster.at(n)->caption().trimmed().isEmpty())
                continue;
            ++captions;
            const PreviewLabel* label = w.labMaster.at(n);
            const SlipAlign align = num("Alignment") == 1   ? SlipAlign::Right
                                    : num("Alignment") == 2 ? SlipAlign::Center
                                                            : SlipAlign::Left;
            SCOPED_TRACE("template " + std::to_string(form) + " " + sec.toStdString());
            auto fits = [&](const QFont& font, const QPaintDevice* device, const QRectF& room,
                            const QString& text) {
                const QRectF ink = slipTextInk(font, device, room, text, align, flag("Wordwrap"));
                return room.adjusted(-0.01, -0.01, 0.01, 0.01).contains(ink);
            };
            EXPECT_TRUE(fits(label->drawFont(), label, label->rect(), label->caption()))
                << "screen";
            EXPECT_LE(twipsHeight(label), twipsHeight(w.ShapeMaster.at(n))) << "past its box";

            QFont font(faceName(w.slipName(sec, "FontName")));
            font.setBold(flag("FontBold"));
            font.setPointSizeF(num("FontSize"));
            QString text =
                QString::fromStdString(captionText(w.GetSlipKey(file, sec, "Text").toStdString()));
            if (flag("Border"))
                text = QLatin1Char(' ') + text + QLatin1Char(' ');
            const TextItemRects rects = textItemRects(
                itemBox(num("Left"), num("Top"), num("Width"), num("Height"), tx, tx), tx, tx);
            const QRect clip = printedTextRect(font, &printer, rects, text, align,
                                               num("VAlignment"), SlipAmpersand::Mnemonic);
            EXPECT_TRUE(fits(font, &printer, clip, text)) << "paper";
        }
    }
    EXPECT_EQ(captions, 117) << "the templates' fixed captions";
}

} // namespace
