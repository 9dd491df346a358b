#include "core/slipdoc.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <climits>
#include <cmath>
#include <sys/stat.h>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "core/profile.h"
#include "testutil.h"

// GCC 12 warns about members a designated initializer leaves at their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace lumaris;
using test::writeFile;

namespace {

auto fields(const CtlRecord& c) {
    return std::tie(c.Id, c.Type, c.Text, c.Field, c.Alignment, c.VAlignment, c.FontName,
                    c.FontSize, c.FontItalic, c.FontBold, c.FontUnderline, c.Left, c.Top, c.Width,
                    c.Height, c.Border, c.Order, c.BackColor, c.ForeColor, c.IgnorePrint,
                    c.BackStyle, c.FilePath, c.Wordwrap);
}

// clang-format off
CtlRecord control(int n, int type, std::string text) {
    return {.Id = n, .Type = type, .Text = std::move(text), .FontName = "Arial (Arabic)",
            .FontSize = 12, .Left = 100, .Top = 200, .Width = 3000, .Height = 400, .Order = n,
            .BackColor = 16777215, .ForeColor = -2147483640};
}
// clang-format on

} // namespace

TEST(SlipDoc, WriteReadBackAndFailures) {
    // Every field away from its default; shortest fixed notation reads back exactly.
    resetSlip();
    std::tie(gFormNum, gCtlCount, gPage.Size, gPage.Orientation) = std::tuple(7, 6, 50, 2);
    // clang-format off
    gCtl[1] = {.Id = 1, .Type = 1, .Text = "مرحبا\r\nبالعالم\r\n", .Field = 62, .Alignment = 2,
               .VAlignment = 1, .FontName = "MICR QUILLMARO", .FontSize = 9, .FontItalic = true,
               .FontBold = true, .FontUnderline = true, .Left = -175.75f, .Top = 5102.5f,
               .Width = 2993.25f, .Height = 0.1f, .Border = true, .Order = 1,
               .BackColor = INT_MIN, .ForeColor = 255, .IgnorePrint = true, .BackStyle = true,
               .FilePath = "/home/user/شعار.bmp", .Wordwrap = false};
    // clang-format on
    gCtl[3] = control(3, 2, "\"quoted\"");
    std::tie(gCtl[3].Left, gCtl[3].Top, gCtl[3].Width, gCtl[3].Height) =
        std::tuple(FLT_MAX, -FLT_MIN, std::nextafter(1.0f, 2.0f), 0x1.fffffep-20f);
    gCtl[4] = control(4, 3, "a\nb\rc");
    gCtl[4].Left = 1234567.9f;
    gCtl[4].FontName = "Arial\r\n[Main]\nCTL_Count=0"; // cannot start a line of its own
    auto written = gCtl;
    std::tie(written[4].Text, written[4].FontName) =
        std::tuple("a\r\nb\r\nc", "Arial[Main]CTL_Count=0");
    test::ScratchDir dir;
    const std::string path = dir.file("slip.slp"), link = dir.file("link.slp");
    writeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteSlipFile(path));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    resetSlip();
    ASSERT_TRUE(OpenSlipFile(path));
    EXPECT_EQ(std::tuple(gFormNum, gCtlCount, gPage.Size, gPage.Orientation),
              std::tuple(7, 6, 50, 2));
    for (int i = 0; i <= kMaxControls; ++i)
        EXPECT_TRUE(fields(gCtl[i]) == fields(written[i])) << "control " << i;

    // A failed open leaves the open slip as it was.
    const std::string fifo = dir.file("fifo.slp");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    gModified = true;
    for (const std::string& bad : {dir.file("missing.slp"), dir.path.string(), fifo}) {
        EXPECT_FALSE(OpenSlipFile(bad)) << bad;
        EXPECT_TRUE(gFileName == path && gModified && fields(gCtl[1]) == fields(written[1]));
    }
    std::filesystem::create_symlink(path, link); // written through, the link kept
    gFormNum = 3;
    EXPECT_TRUE(WriteSlipFile(link) && std::filesystem::is_symlink(link));
    EXPECT_EQ(readProfileString(path, "Main", "FormNum"), "3");
    // Targets that cannot be written leave nothing behind.
    std::filesystem::create_directory(dir.file("folder.slp"));
    EXPECT_FALSE(WriteSlipFile(dir.file("folder.slp")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 4);
}

TEST(SlipDoc, WriterNumbersControlsByStacking) {
    // Position, Order, caption; the captions read back at CTL_001... ("" = none), CTL_Count many.
    using Controls = std::vector<std::tuple<int, int, std::string>>;
    // clang-format off
    using Captions = std::vector<std::string>;
    std::vector<std::tuple<const char*, Controls, Captions>> cases = {
        {"front-most first; the deleted control's place stays free",
         {{1, 4, "back"}, {2, 1, "front"}, {4, 2, "middle"}}, {"front", "middle", "", "back"}},
        {"a place past the array's last position",
         {{1, 2, "b"}, {2, 6, "f"}}, {"", "b", "", "", "", "f"}},
        {"repeated stacking keeps the array order",
         {{1, 2, "x"}, {3, 2, "y"}, {4, 1, "z"}}, {"x", "", "y", "z"}},
        {"unset stacking keeps the array order",
         {{2, 0, "x"}, {3, 1, "y"}}, {"", "x", "y"}},
        {"stacking beyond the last number keeps the array order",
         {{1, kMaxControls + 1, "x"}, {2, 1, "y"}}, {"x", "y"}},
        {"a deleted control's old place is free for another",
         {{2, 2, "b"}, {3, 1, "a"}}, {"a", "b", ""}},
    };
    // clang-format on
    Captions last(kMaxControls);
    last.back() = "last";
    cases.emplace_back("the last place there is", Controls{{1, kMaxControls, "last"}}, last);
    test::ScratchDir dir;
    const std::string path = dir.file("stacked.slp");
    for (const auto& [why, controls, expected] : cases) {
        resetSlip();
        for (const auto& [position, order, text] : controls) {
            gCtl[position] = control(position, 1, text);
            gCtl[position].Order = order;
            gCtlCount = std::max(gCtlCount, position);
        }
        for (int i = 1; i <= gCtlCount; ++i) // deleted controls keep their old place
            if (gCtl[i].Type == 0)
                gCtl[i] = control(i, 0, "deleted");
        ASSERT_TRUE(WriteSlipFile(path) && OpenSlipFile(path));
        EXPECT_EQ(size_t(gCtlCount), expected.size()) << why;
        for (size_t n = 1; n <= expected.size(); ++n)
            EXPECT_TRUE(gCtl[n].Text == expected[n - 1] && (!gCtl[n].Type || gCtl[n].Id == int(n)))
                << why << ", CTL_" << n << ": " << gCtl[n].Text;
    }
}

TEST(SlipDoc, ReadingRulesControlNumbersAndFixtures) {
    // Missing keys: all zero, empty or false but wrapping (version 1); the number is
    // the stacking key. Text is trimmed after the reader's cut and quote removal.
    std::string ini =
        "[main]\r\nctl_count=10\r\n[ctl_001]\r\ntype=2\r\n[CTL_002]\r\nType=7\r\n"
        "[CTL_003]\r\nType=1\r\nText=  a||b\\nc  \r\nField=12.5\r\nFontSize=13.5\r\n"
        "[CTL_009]\r\nType=1\r\nText=\"  quoted  \"\r\n[CTL_010]\r\nType=1\r\nText=ab" +
        std::string(252, ' ') + "cd\r\n";
    const std::pair<const char*, bool> rows[] = {
        {" fALSe ", false}, {"0", true}, {"\"False\"", false}};
    for (size_t i = 0; i < std::size(rows); ++i)
        ini +=
            "[CTL_00" + std::to_string(i + 4) + "]\r\nType=1\r\nWordwrap=" + rows[i].first + "\r\n";
    test::ScratchDir dir;
    writeFile(dir.file("rules.slp"), ini);
    ASSERT_TRUE(OpenSlipFile(dir.file("rules.slp")));
    EXPECT_TRUE(fields(gCtl[1]) == fields(CtlRecord{.Type = 2, .Order = 1}));
    EXPECT_EQ(gCtl[2].Type, 0);
    EXPECT_EQ(std::tuple(gCtl[3].Text, gCtl[9].Text, gCtl[10].Text),
              std::tuple("a\r\nb\r\nc", "quoted", "ab"));
    EXPECT_EQ(std::tuple(gCtl[3].Field, gCtl[3].FontSize), std::tuple(12, 14)); // halves to even
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(gCtl[i + 4].Wordwrap, rows[i].second) << rows[i].first;

    // Names in any case; CTL_0002 and CTL_5 are not 2 and 5; a count's fraction goes.
    // clang-format off
    const std::vector<std::string> names = {"Main", "Page", "CTL_001", "ctl_003", "CTL_0002",
        "CTL_5", "CTL_010", "CTL_abc", "CTL_012", "CTL_", "CTL_003", "CTL_-04", "CTL_99999999999999999999",
        "CTL_9999999999999999999"};
    const std::pair<double, std::vector<long long>> counts[] = {{10, {1, 3, 10}},
        {2147483647, {1, 3, 10, 12}}, {11.9, {1, 3, 10}}, {0, {}}, {-5, {}}, {NAN, {}}};
    for (const auto& [count, numbers] : counts)
        EXPECT_EQ(controlNumbers(names, count), numbers) << count;

    // Fixtures: file, CTL_Count read, records that are not free slots; "1e400" counts as 1.
    const std::tuple<const char*, int, int> fixtures[] = {
        {"empty.slp", 0, 0}, {"binary.slp", 0, 0}, {"nul-bytes.slp", 2, 2}, {"cr-only.slp", 2, 2},
        {"ctlcount-negative.slp", 0, 0}, {"ctlcount-abc.slp", 0, 0}, {"numbers.slp", 1, 1},
        {"ctlcount-huge.slp", kMaxControls, 1}, {"ver1-no-wordwrap.slp", 3, 2},
        {"utf8-pagecode.slp", 1, 1}};
    // clang-format on
    const auto open = [](const std::string& f) { return OpenSlipFile(LUMARIS_TEST_DATA "/" + f); };
    for (const auto& [file, count, controls] : fixtures) {
        ASSERT_TRUE(open(file)) << file;
        EXPECT_EQ(gCtlCount, count) << file;
        EXPECT_EQ(std::count_if(gCtl.begin(), gCtl.end(), [](auto& c) { return c.Type; }),
                  controls);
    }
    open("numbers.slp"); // "-0", no exponent, saturated, "12.5xyz", 1e400, 99999999999
    const CtlRecord& c = gCtl[1];
    EXPECT_EQ(std::tuple(c.Left, c.Top, c.Width, c.Height, c.FontSize, c.BackColor),
              std::tuple(0.0f, 1.0f, FLT_MAX, 12.5f, 1, INT_MAX));
    open("utf8-pagecode.slp");
    EXPECT_EQ(gCtl[1].Text, "نص\r\nسطر\xEF\xBF\xBD"); // the stray byte is replaced
    EXPECT_EQ(gCtl[1].FontName, "عربي");              // names stay in 1256
}

TEST(SlipDoc, OpenWhileReplacedGivesOneWholeFile) {
    // Another thread swaps two designs by rename: each open gets one of them, whole.
    test::ScratchDir dir;
    const std::string path = dir.file("slip.slp"), next = dir.file("next.slp");
    std::string files[2];
    for (int v = 0; v < 2; ++v) {
        resetSlip();
        std::tie(gFormNum, gCtlCount, gPage.Size) = std::tuple(v + 1, 20 + 10 * v, v);
        for (int i = 1; i <= gCtlCount; ++i)
            gCtl[i] = control(i, 1 + v, std::to_string(v) + "/" + std::to_string(i));
        files[v] = slipText();
    }
    writeFile(path, files[0]);
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        for (int n = 0; !stop; ++n) {
            writeFile(next, files[n % 2]);
            std::rename(next.c_str(), path.c_str());
        }
    });
    int torn = 0;
    for (int i = 0; i < 1000 && torn == 0; ++i)
        torn += !OpenSlipFile(path) || (slipText() != files[0] && slipText() != files[1]);
    stop = true;
    writer.join();
    EXPECT_EQ(torn, 0);
}
