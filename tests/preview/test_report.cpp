#include "slipfiles.h"

#include <sys/wait.h>

namespace {

std::string ctl(int n, Str changes) {
    return section("CTL_00" + std::to_string(n),
                   textBox("600", "700", "2400", "400", "Id=1;IgnorePrint=False;" + changes));
}

// A data field becomes a text box of its value as it is, lines joined by "||"
// (out of range: its Text); Type 0 and missing sections go, other types are logos.
// Only a path without any "." gets the extension, a folder's "." included.
TEST(ReportText, WholeTextAndName) {
    FieldValueArray values;
    values[6] = ":x ", values[0] = "a\r\nb\nc\rd";
    SlipDir dir;
    const std::string slip = slipHead("2", "7") + ctl(1, "Text=:  التاريخ  ") +
                             ctl(2, "Type=2;Field=6.5") + ctl(3, "Type=0") +
                             ctl(5, "Type=2;Field=201;Text=:t") + ctl(6, "Type=2;Field=0") +
                             ctl(7, "Type=4");
    const std::string box = "  Id= 1\r\n  Border= False\r\n  Left= 600\r\n  Top= 700\r\n"
                            "  Width= 2400\r\n  Height= 400\r\n  IgnorePrint= False\r\n";
    auto text = [&](int n, Str caption) {
        return "\r\n[CTL_00" + std::to_string(n) + "]\r\n" + box + "  Type= 1\r\n  Field= 0\r\n" +
               utf8ToCp1256("  Text=" + caption) +
               "\r\n  Alignment= 1\r\n  VAlignment= 0\r\n  FontName= Arial (Arabic)\r\n"
               "  FontSize= 10\r\n  FontBold= False\r\n  FontItalic= False\r\n"
               "  FontUnderline= False\r\n  BackColor= 16777215\r\n  ForeColor= 0\r\n"
               "  Wordwrap= False\r\n  BackStyle= False\r\n";
    };
    EXPECT_EQ(buildReportText(dir.write("s.slp", slip).toStdString(), values).text,
              "[Main]\r\n  Ver= 2\r\n  FormNum= 1\r\n  CTL_Count= 7\r\n\r\n"
              "[Page]\r\n  Size= 9\r\n  Width= 210\r\n  Height= 297\r\n  Orientation= 1\r\n" +
                  text(1, "التاريخ:") + text(2, ":x ") + text(5, "t:") + text(6, "a||b||c||d") +
                  "\r\n[CTL_007]\r\n" + box + "  Type= 3\r\n  Field= LOGO\r\n\r\n");
    EXPECT_EQ(withReportExtension("  /home/u/report  "), "/home/u/report.Dqmx");
    EXPECT_EQ(withReportExtension("/home/u.v/report"), "/home/u.v/report");
    EXPECT_EQ(withReportExtension("report."), "report.");
}

// 64 bytes a line, appended; read back even when a CR LF straddles two 64 KiB reads; blocks by
// hand or other tools read too. A failed save leaves the old file whole and nothing beside it.
TEST(ReportFile, HexBlocksAndWrite) {
    QTemporaryDir dir;
    const QString source = dir.filePath("s"), target = source + ".txt";
    const std::string s = source.toStdString(), t = target.toStdString();
    auto write = [](Str path, Str bytes) { std::ofstream(path, std::ios::binary) << bytes; };
    const std::string line64 = "F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF000102030405060708090A0B0C0D0E0F"
                               "101112131415161718191A1B1C1D1E1F202122232425262728292A2B2C2D2E2F";
    const std::pair<size_t, std::string> rows[] = {
        {0, ""}, {64, line64 + "\r\n"}, {65, line64 + "\r\n30\r\n"}};
    for (const auto& [count, digitLines] : rows) {
        std::string bytes; // from 0xF0 up, wrapping: capitals and leading zeros show
        for (size_t i = 0; i < count; ++i)
            bytes.push_back(char(0xF0 + i));
        write(s, bytes);
        const std::string before = std::string(65519, 'x') + "\r\n";
        write(t, before);
        ASSERT_TRUE(appendFileAsHexBlock(s, t, "Logo"));
        EXPECT_TRUE(readAll(target) ==
                    before + ">--> Logo >-->\r\n" + digitLines + "<--< Logo <--<\r\n")
            << count;
        write(s, "stale");
        ASSERT_TRUE(extractHexBlock(t, s, "logo"));
        EXPECT_EQ(readAll(source), bytes) << count;
    }
    // A full disk met only by the flush at close (the block still in the stream's buffer)
    // fails too. The child's status: 1 the append, 2 the extract said it was done.
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit tiny{8, 8};
        ::setrlimit(RLIMIT_FSIZE, &tiny);
        ::_exit(appendFileAsHexBlock(s, s + "a", "L") + 2 * extractHexBlock(t, s + "e", "Logo"));
    }
    int status = -1;
    EXPECT_TRUE(::waitpid(pid, &status, 0) == pid && status == 0) << WEXITSTATUS(status);
    const std::tuple<const char*, std::string, std::string> tolerated[] = {
        {"any case", ">--> LOGO >-->\r\nab0f\r\n<--< logo <--<\r\n", "\xAB\x0F"},
        {"an odd line ends with a one-digit byte", ">--> Logo >-->\r\nABC\r\n", "\xAB\x0C"},
        {"blanks around lines are dropped", "  >--> Logo >-->  \r\n   4142   \r\n", "AB"},
        // Trimmed, "<--< Logo <--<" is seven pairs of no hex digit: seven zero bytes.
        {"an end line with a blank after it is data",
         ">--> Logo >-->\r\n41\r\n<--< Logo <--< \r\n42\r\n<--< Logo <--<\r\n44\r\n",
         std::string("A") + std::string(7, '\0') + "B"},
        {"a missing end line runs to the end", ">--> Logo >-->\r\n41\r\n42", "AB"},
        {"another block's name does not start it", ">--> Other >-->\r\n41\r\n", ""},
        {"LF and CR alone end lines too", ">--> Logo >-->\n41\r42\n<--< Logo <--<\n43", "AB"},
    };
    for (const auto& [why, text, bytes] : tolerated) { // in memory and from a file
        write(t, text);
        EXPECT_TRUE(decodeHexBlock(text, "Logo") == bytes && extractHexBlock(t, s, "Logo") &&
                    readAll(source) == bytes)
            << why;
    }
    SlipDir out;
    const std::string dqmx = out.path("r.Dqmx").toStdString();
    const std::string written = "new\r\n>--> Logo >-->\r\n0102\r\n<--< Logo <--<\r\n";
    ASSERT_TRUE(writeReportFile(dqmx, "new\r\n", out.write("logo.bin", "\x01\x02").toStdString()));
    EXPECT_EQ(readAll(out.path("r.Dqmx")), written);
    // Unreadable from its start: the logo fails after the text is written.
    if (appendFileAsHexBlock("/proc/self/mem", out.path("probe").toStdString(), "L"))
        GTEST_SKIP() << "/proc/self/mem readable here";
    EXPECT_FALSE(writeReportFile(dqmx, "half\r\n", "/proc/self/mem"));
    EXPECT_EQ(readAll(out.path("r.Dqmx")), written);
    EXPECT_EQ(out.files(), "logo.bin r.Dqmx");
}

struct ReportWindow : WindowTest {};

// Failed saves say which file and why; a link at the logo's fixed name is replaced, not
// followed. Shown again, a report has its values and logo; saved over itself, keeps both.
TEST_F(ReportWindow, RoundTripFailuresAndLinks) {
    QStringList said;
    const auto restore = qScopeGuard([saved = gMessageOverride] { gMessageOverride = saved; });
    gMessageOverride = [&](QWidget*, const QString& title, const QString& text) {
        said << title + ": " + text;
    };
    gFieldValues[7] = "123", gFieldValues[2] = "first\r\nsecond", gFieldValues[61] = "محمد علي";
    QImage logo(9, 6, QImage::Format_RGB32); // a colour at every pixel, which BMP keeps
    for (int i = 0; i < 54; ++i)
        logo.setPixel(i % 9, i / 9, qRgb(i * 4, i * 3, 255 - i));
    frmGeneralSlip* w =
        &open(slipHead("2", "5") + ctl(1, "Text=:  التاريخ") + ctl(2, "Type=2;Field=7") +
                  ctl(3, "Type=2;Field=2") + ctl(4, "Type=2;Field=61") + ctl(5, "Type=3"),
              -1, logo);
    const QString outside = dir.write("outside.txt", "not a logo");
    const QString bmp = QFile::decodeName(tempFolder()->c_str()) + "/picLogo.bmp";
    ASSERT_TRUE(QFile::link(outside, bmp));
    w->picBrowse->show();
    QString answer; // cancelled first
    gFileDialogOverride = [&](auto...) { return answer; };
    QTest::mouseClick(w->labSave, Qt::LeftButton);
    EXPECT_FALSE(w->picBrowse->isVisible());
    answer = dir.path("outside.txt/r"); // its folder is a file
    QTest::mouseClick(w->labSave, Qt::LeftButton);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{64, old.rlim_max}; // the logo's bitmap does not fit
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
    w->SaveReportFile(dir.path("full.Dqmx"));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    answer = dir.path("r"); // without a ".", so the extension is added
    QTest::mouseClick(w->labSave, Qt::LeftButton);
    auto reason = [](int e) { return QString::fromLocal8Bit(std::strerror(e)); };
    EXPECT_EQ(said, QStringList(
                        {"Save: Cannot save " + dir.path("outside.txt/r") + ": " + reason(ENOTDIR),
                         "Save: Cannot save " + bmp + ": " + reason(EFBIG)}));
    EXPECT_TRUE(readAll(outside) == "not a logo" && !QFileInfo(bmp).isSymLink());
    EXPECT_EQ(dir.files(), "outside.txt r.Dqmx w1.slp");
    closeWindow();

    gFieldValues.fill("changed");
    // The bitmaps the save left behind go too: the logo must come from the report.
    QDir(QString::fromStdString(tempFolder()->string())).removeRecursively();
    const QString report = dir.path("r.Dqmx");
    w = &frmGeneralSlip::instance();
    w->ShowVyrRep(report, true);
    QStringList captions;
    for (size_t i = 1; i < w->labMaster.size(); ++i)
        captions << w->labMaster[i]->caption();
    EXPECT_EQ(captions, QStringList({"التاريخ:", "123", "first\r\nsecond", "محمد علي"}));
    EXPECT_EQ(w->imgMaster.at(1)->picture().convertToFormat(logo.format()), logo);
    const std::string first = readAll(report);
    w->SaveReportFile(report);
    const std::string second = readAll(report);
    const size_t block = first.find(">--> Logo >-->"); // a missing logo fails below
    EXPECT_EQ(second.substr(0, block), first.substr(0, block));
    const QByteArray saved = QByteArray::fromStdString(decodeHexBlock(second, "Logo"));
    EXPECT_EQ(QImage::fromData(saved, "BMP").convertToFormat(logo.format()), logo);
    // A window without a logo picture: the bitmap of that save is not this report's logo.
    open(slipHead("2", "1") + ctl(1, "Type=3")).SaveReportFile(dir.path("none.Dqmx"));
    const std::string none = readAll(dir.path("none.Dqmx"));
    EXPECT_TRUE(none.ends_with("  Field= LOGO\r\n\r\n")) << none;
}

} // namespace
