#include "core/slipdoc.h"

#include <cfloat>
#include <climits>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <tuple>

#include <gtest/gtest.h>

#include "core/cp1256.h"
#include "core/profile.h"
#include "testutil.h"

namespace lumaris {
namespace {

using test::ScratchDir;
using test::writeFile;

auto fields(const CtlRecord& c) {
    return std::tie(c.Id, c.Type, c.Text, c.Field, c.Alignment, c.VAlignment, c.FontName,
                    c.FontSize, c.FontItalic, c.FontBold, c.FontUnderline, c.Left, c.Top, c.Width,
                    c.Height, c.Border, c.Order, c.BackColor, c.ForeColor, c.IgnorePrint,
                    c.BackStyle, c.FilePath, c.Wordwrap);
}

CtlRecord control(int number, int type, std::string text) {
    CtlRecord c;
    c.Id = number;
    c.Order = number;
    c.Type = type;
    c.Text = std::move(text);
    c.FontName = "Arial (Arabic)";
    c.FontSize = 12;
    c.Left = 100;
    c.Top = 200;
    c.Width = 3000;
    c.Height = 400;
    c.BackColor = 16777215;
    c.ForeColor = -2147483640;
    return c;
}

// A design that touches every rule of the writer: Arabic with line breaks, a
// gap, a trailing gap, fractions, negative colours, Wordwrap off, quotes.
void buildSampleDesign() {
    resetSlip();
    gFormNum = 7;
    gCtlCount = 6;
    gPage.Size = 50;
    gPage.Orientation = 2;

    gCtl[1] = control(1, 1, "مرحبا\r\nبالعالم\r\n");
    gCtl[1].Alignment = 2;
    gCtl[1].VAlignment = 1;
    gCtl[1].FontBold = gCtl[1].Border = gCtl[1].IgnorePrint = gCtl[1].BackStyle = true;
    gCtl[1].Left = 12472;
    gCtl[1].Top = 5102.5f;
    gCtl[1].Width = 2993.25f;
    gCtl[1].Height = 0.1f;
    gCtl[1].BackColor = INT_MIN;
    gCtl[1].ForeColor = 255;
    gCtl[1].Wordwrap = false;

    gCtl[3] = control(3, 2, "اسم المستفيد");
    gCtl[3].Field = 62;
    gCtl[3].FontName = "MICR QUILLMARO";
    gCtl[3].FontItalic = gCtl[3].FontUnderline = true;
    gCtl[3].Left = -175.75f;

    gCtl[4] = control(4, 3, "شعار");
    gCtl[4].FilePath = "/home/user/شعار.bmp";

    gCtl[5] = control(5, 1, "\"quoted\"");
    gCtl[5].Text = "\"quoted\"";
}

TEST(SlipDoc, RoundTripKeepsEveryRecord) {
    ScratchDir dir;
    const std::string first = dir.file("first.slp");
    const std::string second = dir.file("second.slp");
    buildSampleDesign();
    const auto written = gCtl;
    const std::string text = slipText();
    ASSERT_TRUE(WriteSlipFile(first));
    EXPECT_EQ(test::readFile(first), text);

    resetSlip();
    ASSERT_TRUE(OpenSlipFile(first));
    EXPECT_EQ(gFormNum, 7);
    EXPECT_EQ(gCtlCount, 6);
    EXPECT_EQ(gPage.Size, 50);
    EXPECT_EQ(gPage.Orientation, 2);
    for (int i = 0; i <= kMaxControls; ++i)
        EXPECT_TRUE(fields(gCtl[i]) == fields(written[i])) << "control " << i;

    // The second generation is byte for byte the first.
    EXPECT_EQ(slipText(), text);
    ASSERT_TRUE(WriteSlipFile(second));
    ASSERT_TRUE(OpenSlipFile(second));
    EXPECT_EQ(slipText(), text);
}

TEST(SlipDoc, GeometryReadsBackExactly) {
    // Shortest fixed notation; an exponent would be cut by the number reader.
    std::mt19937 random(1256);
    std::uniform_real_distribution<float> small(-20000, 20000);
    std::uniform_int_distribution<int> exponent(-30, 38);
    ScratchDir dir;
    const std::string path = dir.file("geometry.slp");
    for (int round = 0; round < 20; ++round) {
        resetSlip();
        gCtlCount = kMaxControls;
        for (int i = 1; i <= kMaxControls; ++i) {
            gCtl[i] = control(i, 1, "");
            gCtl[i].Left = small(random);
            gCtl[i].Top = std::round(small(random));
            gCtl[i].Width = std::ldexp(small(random), exponent(random));
            gCtl[i].Height = i == 1 ? FLT_MAX : i == 2 ? -FLT_MIN : std::nextafter(1.0f, 2.0f);
        }
        const auto written = gCtl;
        ASSERT_TRUE(WriteSlipFile(path));
        ASSERT_TRUE(OpenSlipFile(path));
        for (int i = 1; i <= kMaxControls; ++i) {
            ASSERT_EQ(gCtl[i].Left, written[i].Left);
            ASSERT_EQ(gCtl[i].Top, written[i].Top);
            ASSERT_EQ(gCtl[i].Width, written[i].Width);
            ASSERT_EQ(gCtl[i].Height, written[i].Height);
        }
    }
}

TEST(SlipDoc, TextLayout) {
    resetSlip();
    gFormNum = 9;
    gCtlCount = 2;
    gCtl[2] = control(2, 3, "شعار");
    gCtl[2].Wordwrap = false;
    const std::string expected = "[Main]\r\n  Ver=2\r\n  FormNum=9\r\n  CTL_Count=2\r\n"
                                 "[Page]\r\n  Size=9\r\n  Width=210\r\n  Height=297\r\n"
                                 "  Orientation=1\r\n"
                                 "[CTL_002]\r\n  Id=2\r\n  Text=\xD4\xDA\xC7\xD1\r\n  Field=0\r\n"
                                 "  Type=3\r\n  Alignment=0\r\n  VAlignment=0\r\n  Border=False\r\n"
                                 "  FontBold=False\r\n  FontItalic=False\r\n"
                                 "  FontName=Arial (Arabic)\r\n  FontUnderline=False\r\n"
                                 "  FontSize=12\r\n  Left=100\r\n  Top=200\r\n  Width=3000\r\n"
                                 "  Height=400\r\n  BackStyle=False\r\n  BackColor=16777215\r\n"
                                 "  ForeColor=-2147483640\r\n  IgnorePrint=False\r\n  FilePath=\r\n"
                                 "  Wordwrap=False\r\n";
    EXPECT_EQ(slipText(), expected);

    // A break or a planted section inside a one-line value cannot start a line.
    gCtl[2].FontName = "Arial\r\n[Main]\nCTL_Count=0";
    gCtl[2].Text = "a\nb\rc\r\n";
    const std::string text = slipText();
    EXPECT_NE(text.find("  FontName=Arial[Main]CTL_Count=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("  Text=a||b||c||\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\r\n[Main]", 1), std::string::npos);
}

TEST(SlipDoc, ReadingRules) {
    ScratchDir dir;
    const std::string path = dir.file("rules.slp");
    // One control per row; the expected value of the field being checked.
    struct Row {
        const char* keys;
        bool wordwrap;
        const char* why;
    };
    const Row rows[] = {
        {"Wordwrap=True", true, "plain"},
        {"Wordwrap=False", false, "plain"},
        {"Wordwrap= fALSe ", false, "trimmed and in any case"},
        {"Wordwrap=0", true, "only the word False turns wrapping off"},
        {"Wordwrap=", true, "empty is not False"},
        {"Wordwrap=\"False\"", false, "quotes are the reader's"},
        {"", true, "a missing key wraps (format version 1)"},
    };
    std::string ini = "[Main]\r\nCTL_Count=" + std::to_string(std::size(rows)) + "\r\n";
    for (size_t i = 0; i < std::size(rows); ++i)
        ini += "[CTL_" + std::string(i + 1 < 10 ? "00" : "0") + std::to_string(i + 1) +
               "]\r\nType=1\r\n" + rows[i].keys + "\r\n";
    writeFile(path, ini);
    ASSERT_TRUE(OpenSlipFile(path));
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(gCtl[i + 1].Wordwrap, rows[i].wordwrap) << rows[i].keys << ": " << rows[i].why;

    // Missing keys leave everything else zero, empty or false; the number is
    // the stacking key; types this program does not know are free slots.
    writeFile(path, "[main]\r\nctl_count=3\r\n[ctl_001]\r\ntype=2\r\n[CTL_002]\r\nType=7\r\n"
                    "[CTL_003]\r\nType=1\r\nText=  a||b\\nc  \r\nField=12.5\r\nFontSize=13.5\r\n");
    ASSERT_TRUE(OpenSlipFile(path));
    const CtlRecord& c = gCtl[1];
    EXPECT_EQ(c.Type, 2);
    EXPECT_EQ(c.Order, 1);
    EXPECT_EQ(c.Id, 0);
    EXPECT_TRUE(c.Text.empty() && c.FontName.empty() && c.FilePath.empty());
    EXPECT_FALSE(c.Border || c.FontBold || c.FontItalic || c.FontUnderline || c.BackStyle ||
                 c.IgnorePrint);
    EXPECT_EQ(c.Left + c.Top + c.Width + c.Height, 0.0f);
    EXPECT_EQ(gCtl[2].Type, 0);
    EXPECT_EQ(gCtl[3].Text, "a\r\nb\r\nc");
    EXPECT_EQ(gCtl[3].Field, 12); // halves to the even neighbour
    EXPECT_EQ(gCtl[3].FontSize, 14);
    EXPECT_EQ(gCtl[3].Order, 3);
}

TEST(SlipDoc, FailedOpenLeavesTheOpenSlip) {
    ScratchDir dir;
    buildSampleDesign();
    ASSERT_TRUE(WriteSlipFile(dir.file("good.slp")));
    ASSERT_TRUE(OpenSlipFile(dir.file("good.slp")));
    gModified = true;
    const auto before = gCtl;

    ASSERT_EQ(::mkfifo(dir.file("fifo.slp").c_str(), 0600), 0);
    for (const std::string& bad :
         {dir.file("missing.slp"), dir.path().string(), dir.file("fifo.slp"), std::string()}) {
        EXPECT_FALSE(OpenSlipFile(bad)) << bad;
        EXPECT_EQ(gFileName, dir.file("good.slp"));
        EXPECT_TRUE(gSlipOpen);
        EXPECT_TRUE(gModified);
        EXPECT_EQ(gCtlCount, 6);
        EXPECT_TRUE(fields(gCtl[1]) == fields(before[1]));
    }
}

// Every fixture opens without crashing; what it gives is stated per row.
TEST(SlipDoc, RobustnessFixtures) {
    struct Row {
        const char* file;
        int ctlCount;
        int controls; // records that are not free slots
    };
    const Row rows[] = {
        {"empty.slp", 0, 0},
        {"binary.slp", 0, 0},
        {"nul-bytes.slp", 2, 2},
        {"cr-only.slp", 2, 2},
        {"ctlcount-negative.slp", 0, 0},
        {"ctlcount-huge.slp", kMaxControls, 1}, // control 150 is past the design's room
        {"ctlcount-abc.slp", 0, 0},
        {"numbers.slp", 1, 1}, // "1e400" counts as 1
        {"ver1-no-wordwrap.slp", 3, 2},
        {"utf8-pagecode.slp", 1, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const std::string path = std::string(LUMARIS_TEST_DATA) + "/" + row.file;
        ASSERT_TRUE(OpenSlipFile(path));
        EXPECT_EQ(gCtlCount, row.ctlCount);
        EXPECT_EQ(std::count_if(gCtl.begin(), gCtl.end(), [](auto& c) { return c.Type != 0; }),
                  row.controls);
        EXPECT_EQ(gCtl[0].Type, 0);
    }

    OpenSlipFile(std::string(LUMARIS_TEST_DATA) + "/nul-bytes.slp");
    EXPECT_EQ(gCtl[1].Text, "ab");
    EXPECT_EQ(gCtl[2].Text, "");
    OpenSlipFile(std::string(LUMARIS_TEST_DATA) + "/cr-only.slp");
    EXPECT_EQ(gCtl[1].Text, "شعار");
    OpenSlipFile(std::string(LUMARIS_TEST_DATA) + "/numbers.slp");
    EXPECT_EQ(gCtl[1].Left, 0.0f); // "-0"
    EXPECT_EQ(gCtl[1].Top, 1.0f);  // no exponent
    EXPECT_EQ(gCtl[1].Width, FLT_MAX);
    EXPECT_EQ(gCtl[1].Height, 12.5f);
    EXPECT_EQ(gCtl[1].FontSize, 1);
    EXPECT_EQ(gCtl[1].BackColor, INT_MAX);
    OpenSlipFile(std::string(LUMARIS_TEST_DATA) + "/ver1-no-wordwrap.slp");
    EXPECT_TRUE(gCtl[1].Wordwrap && gCtl[3].Wordwrap);
    EXPECT_EQ(gCtl[2].Type, 0);
    OpenSlipFile(std::string(LUMARIS_TEST_DATA) + "/utf8-pagecode.slp");
    EXPECT_EQ(gCtl[1].Text, "نص\r\nسطر\xEF\xBF\xBD"); // the stray byte is replaced
    EXPECT_EQ(gCtl[1].FontName, "عربي");              // names stay in 1256
}

TEST(SlipDoc, HugeFilesAndLines) {
    ScratchDir dir;
    buildSampleDesign();
    gCtl[3].Text = std::string(1 << 20, 'w');
    const std::string slip = slipText();

    // A 1 MB value comes back as its first 254 bytes.
    const std::string longLine = dir.file("long-line.slp");
    writeFile(longLine, slip);
    ASSERT_TRUE(OpenSlipFile(longLine));
    EXPECT_EQ(gCtl[3].Text, std::string(254, 'w'));

    // 100 MB of picture-block lines after the sections.
    const std::string big = dir.file("big.slp");
    {
        std::ofstream out(big, std::ios::binary);
        out << slip;
        std::string block;
        for (int i = 0; i < 16384; ++i)
            block += std::string(62, 'Q') + "\r\n";
        for (size_t written = 0; written < (100u << 20); written += block.size())
            out << block;
    }
    ASSERT_TRUE(OpenSlipFile(big));
    EXPECT_EQ(gCtlCount, 6);
    EXPECT_EQ(gCtl[4].Text, "شعار");
    EXPECT_EQ(profileSectionNames(big).size(), 2u + 4u);
}

TEST(SlipDoc, WriteReplacesWholeFilesOnly) {
    ScratchDir dir;
    buildSampleDesign();
    const std::string path = dir.file("slip.slp");

    // An existing file keeps its permissions.
    writeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteSlipFile(path));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(test::readFile(path), slipText());

    // Saving through a link writes the file it names and keeps the link.
    const std::string link = dir.file("link.slp");
    std::filesystem::create_symlink(path, link);
    gFormNum = 3;
    ASSERT_TRUE(WriteSlipFile(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readProfileString(path, "Main", "FormNum"), "3");

    // Targets that cannot be written leave nothing behind.
    const std::string folder = dir.file("folder.slp");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(WriteSlipFile(folder));
    EXPECT_FALSE(WriteSlipFile(dir.file("no/such/folder.slp")));
    EXPECT_FALSE(WriteSlipFile(""));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 3u); // slip.slp, link.slp, folder.slp
}

// Renderers visit only the control sections there are, up to the count.
TEST(SlipDoc, ControlNumbersOfExistingSectionsUpToTheCount) {
    const std::vector<std::string> names = {"Main",
                                            "Page",
                                            "CTL_001",
                                            "ctl_003",
                                            "CTL_0002",
                                            "CTL_5",
                                            "CTL_010",
                                            "CTL_abc",
                                            "CTL_012",
                                            "CTL_",
                                            "CTL_003",
                                            "CTL_-04",
                                            "CTL_99999999999999999999"};
    struct Row {
        double count;
        std::vector<long long> numbers;
        const char* why;
    };
    const std::vector<Row> rows = {
        {10, {1, 3, 10}, "names match in any case; CTL_0002 and CTL_5 are not controls 2 and 5"},
        {2147483647, {1, 3, 10, 12}, "a huge count visits only the sections there are"},
        {11.9, {1, 3, 10}, "the whole part of a fractional count: 12 is above it"},
        {0, {}, "a count of 0 draws nothing"},
        {-5, {}, "nor does a negative one"},
        {std::numeric_limits<double>::quiet_NaN(), {}, "nor a count that is no number"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(controlNumbers(names, row.count), row.numbers) << row.why;
}

} // namespace
} // namespace lumaris
